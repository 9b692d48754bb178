// AxisCfg's link over Ethernet to a unit that does not answer: the open
// waits in a started connection server, the connecting window shows over
// it, and its Cancel ends the open long before the connect limit.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <chrono>

#include "axcfg_unit/connect_wait_library.h"
#include "axcfg_unit/fixed_destination_library.h"
#include "axcfg_unit/unit_link.h"
#include "fake_unit.h"
#include "full_backlog_listener.h"
#include "tavinter/connection_record.h"
#include "tavinter/ethernet_link_config.h"
#include "tavtools/connect_wait_dialog.h"

using namespace axcfg;

TEST(ConnectWindow, AnOpenThatHangsShowsTheWindowAndItsCancelEndsTheOpen) {
  keldtest::FullBacklogListener hang;
  ASSERT_GT(hang.port, 0);
  std::array<uint8_t, kLinkContextSize> dest{};
  tavinter::EthernetLinkConfig c;
  c.kind = tavinter::kKindEthernet;
  c.port = 9;
  c.destination = "127.0.0.1";
  c.destinationPort = static_cast<uint16_t>(hang.port);
  c.connectLimitSec = 120;
  c.timeoutSec = 3;
  tavinter::CConnectionRecord r(dest.data());
  tavinter::CChannelConfig config = r.Config();
  c.WriteTo(config);
  r.SetConfig(config);

  CFixedDestinationLibrary fixed(dest);
  CConnectWatchingLibrary watching(fixed);
  axcfg_test::RecordingUi ui;
  CUnitLink link("Axis Configurator", watching, ui);

  QString address;
  QTimer poke;
  QObject::connect(&poke, &QTimer::timeout, [&] {
    auto* window = dynamic_cast<tavtools::CConnectWaitDialog*>(QApplication::activeModalWidget());
    if (!window || !window->CancelButton()->isEnabled()) return;
    address = window->AddressLine()->text();
    QTest::mouseClick(window->CancelButton(), Qt::LeftButton);
  });
  poke.start(50);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(link.Open(nullptr, false, false, false), -10040);
  EXPECT_TRUE(address.contains(QString("127.0.0.1:%1").arg(hang.port))) << address.toStdString();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
  EXPECT_FALSE(link.IsOpen());
}
