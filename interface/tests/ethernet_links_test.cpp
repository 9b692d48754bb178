// The Ethernet link table the servers keep in the shared segment, the link
// record's byte layout, and the route texts of the library settings.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "library_settings.h"
#include "platform/profile.h"
#include "shared_segment.h"
#include "tavinter/ethernet_link_record.h"
#include "tavinter/ethernet_links.h"
#include "tavinter/tavinter.h"

using namespace tavinter;

namespace {

constexpr int kPort = 12;   // Ethernet port 8
constexpr int kOther = 13;  // Ethernet port 9

EthernetLinkRecord Link(int handle, int kind = 5) {
  EthernetLinkRecord r;
  r.kind = kind;
  r.handle = handle;
  r.transportPort = 8;
  r.source = "192.168.3.10";
  r.sourcePort = 65535;
  r.sourceStation = 2;
  r.destination = "plc-line-4.example";
  r.destinationPort = 5001;
  r.destinationStation = 7;
  r.header = true;
  r.timeoutSec = 3;
  r.connectLimitSec = 20;
  return r;
}

int Register(int port, const EthernetLinkRecord& r) { return TavRegisterEthernetLink(port, r.Write().data()); }

class LinkTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(MappedSegment(), nullptr);
    for (int p : {kPort, kOther}) {
      ASSERT_EQ(TavAttachPort(p, TAV_ROLE_SERVER), 0);
      ASSERT_EQ(TavAnnounceEthernetPort(p), 0);
    }
  }
  void TearDown() override {
    for (int p : {kPort, kOther}) TavReleasePortFinal(p);
  }
};

}  // namespace

TEST(EthernetLinkRecord, FieldsSitWhereTheLayoutSaysAndSurviveARoundTrip) {
  const EthernetLinkRecord r = Link(300, 9);
  const auto b = r.Write();
  EXPECT_EQ(b.size(), 104u);
  EXPECT_EQ(b[0], 9);
  EXPECT_EQ(b[2] | (b[3] << 8), 300);
  EXPECT_STREQ(reinterpret_cast<const char*>(&b[6]), "192.168.3.10");
  EXPECT_EQ(b[46] | (b[47] << 8), 65535);  // ports are unsigned
  EXPECT_STREQ(reinterpret_cast<const char*>(&b[50]), "plc-line-4.example");
  EXPECT_EQ(b[90] | (b[91] << 8), 5001);
  EXPECT_EQ(b[94], 1);
  EXPECT_EQ(b[100], 20);
  const EthernetLinkRecord back = EthernetLinkRecord::Read(b.data(), b.size());
  EXPECT_EQ(back.Write(), b);
  EXPECT_EQ(back.sourcePort, 65535);
  EXPECT_EQ(back.destination, "plc-line-4.example");
  // A text filling its whole field is cut, never read past its end.
  EthernetLinkRecord longName = r;
  longName.destination = std::string(60, 'x');
  const auto cut = longName.Write();
  EXPECT_EQ(EthernetLinkRecord::Read(cut.data(), cut.size()).destination, std::string(39, 'x'));
  // A field another writer left without its NUL reads as what a record can hold.
  auto unterminated = b;
  std::fill(unterminated.begin() + 6, unterminated.begin() + 46, 'y');
  const EthernetLinkRecord read = EthernetLinkRecord::Read(unterminated.data(), unterminated.size());
  EXPECT_EQ(read.source, std::string(39, 'y'));
  EXPECT_EQ(EthernetLinkRecord::Read(read.Write().data(), 104).source, read.source);
  EXPECT_FALSE(Link(1, 1).Sound());
  EXPECT_FALSE(Link(0).Sound());
}

TEST_F(LinkTableTest, ALinkIsRegisteredUpdatedReadAndRemoved) {
  ASSERT_EQ(Register(kPort, Link(41)), 1);
  ASSERT_EQ(TavSetEthernetLinkState(kPort, 41, TAV_LINK_OPENED_BY_PLC, 10001, "192.168.3.20", 40001), 0);
  // Registering again updates the record and keeps the state.
  EthernetLinkRecord changed = Link(41);
  changed.timeoutSec = 9;
  EXPECT_EQ(Register(kPort, changed), 0);
  EXPECT_EQ(TavEthernetLinkCount(kPort), 1);

  unsigned char bytes[TAV_LINK_RECORD_SIZE];
  TavEthernetLinkState state{};
  ASSERT_EQ(TavReadEthernetLink(kPort, 41, bytes, &state), 0);
  EXPECT_EQ(EthernetLinkRecord::Read(bytes, sizeof bytes).timeoutSec, 9);
  EXPECT_EQ(state.state, TAV_LINK_OPENED_BY_PLC);
  EXPECT_EQ(state.status, 10001);
  EXPECT_EQ(state.peerPort, 40001);
  EXPECT_STREQ(state.peerAddress, "192.168.3.20");
  // The viewer finds it by the client handle alone.
  int port = 0;
  ASSERT_EQ(TavGetClientEthernetLink(41, &port, bytes, nullptr), 0);
  EXPECT_EQ(port, kPort);

  EXPECT_EQ(TavRemoveEthernetLink(kPort, 41), 0);
  EXPECT_EQ(TavRemoveEthernetLink(kPort, 41), TAV_E_NOT_OPEN);
  EXPECT_EQ(TavReadEthernetLink(kPort, 41, bytes, &state), TAV_E_NOT_OPEN);
  EXPECT_EQ(TavGetClientEthernetLink(41, &port, bytes, &state), TAV_E_NOT_OPEN);
  EXPECT_EQ(TavEthernetLinkCount(kPort), 0);
}

TEST_F(LinkTableTest, WhatDoesNotBelongIsRefused) {
  EXPECT_EQ(Register(4, Link(42)), TAV_E_BAD_ARGUMENT);   // a board port
  EXPECT_EQ(Register(69, Link(42)), TAV_E_BAD_ARGUMENT);  // a COM port
  EXPECT_EQ(Register(kPort, Link(42, 1)), TAV_E_BAD_ARGUMENT);
  EXPECT_EQ(TavRegisterEthernetLink(kPort, nullptr), TAV_E_BAD_ARGUMENT);
  // A port whose server has not announced it takes no links.
  ASSERT_EQ(TavAttachPort(20, TAV_ROLE_SERVER), 0);
  EXPECT_EQ(Register(20, Link(42)), TAV_E_NOT_OPEN);
  TavReleasePortFinal(20);
  ASSERT_EQ(Register(kPort, Link(42)), 1);
  EXPECT_EQ(TavSetEthernetLinkState(kPort, 42, 3, 0, "", 0), TAV_E_BAD_ARGUMENT);
  EXPECT_EQ(TavSetEthernetLinkState(kPort, 42, TAV_LINK_CONNECTED, 0, "", 70000), TAV_E_BAD_ARGUMENT);
  EXPECT_EQ(TavSetEthernetLinkState(kPort, 43, TAV_LINK_CONNECTED, 0, "", 1), TAV_E_NOT_OPEN);
  // An over-long peer address is cut to its field.
  ASSERT_EQ(TavSetEthernetLinkState(kPort, 42, TAV_LINK_CONNECTED, 0, std::string(80, '9').c_str(), 1), 0);
  TavEthernetLinkState state{};
  ASSERT_EQ(TavReadEthernetLink(kPort, 42, nullptr, &state), 0);
  EXPECT_EQ(std::strlen(state.peerAddress), 39u);
}

TEST_F(LinkTableTest, APortHoldsAtMost512LinksAndLeftoversGoWithTheServer) {
  for (int h = 1000; h < 1000 + TAV_LINKS_PER_PORT; ++h) ASSERT_EQ(Register(kPort, Link(h)), 1) << h;
  EXPECT_EQ(Register(kPort, Link(2000)), TAV_E_TABLE_FULL);
  EXPECT_EQ(Register(kPort, Link(1000)), 0);  // an update needs no room
  // Another port still has room; a client that moves there leaves its old link.
  EXPECT_EQ(Register(kOther, Link(2000)), 1);
  EXPECT_EQ(Register(kOther, Link(1000)), 1);
  EXPECT_EQ(TavEthernetLinkCount(kPort), TAV_LINKS_PER_PORT - 1);
  // The channel going down empties the port's table, not the other's.
  EXPECT_EQ(TavChannelTearDown(kPort), 0);
  EXPECT_EQ(TavEthernetLinkCount(kPort), 0);
  EXPECT_EQ(TavEthernetLinkCount(kOther), 2);
  // A new server copy's announcement drops what an old one left behind.
  EXPECT_EQ(TavAnnounceEthernetPort(kOther), 0);
  EXPECT_EQ(TavEthernetLinkCount(kOther), 0);
  EXPECT_EQ(TavAnnounceEthernetPort(3), TAV_E_BAD_ARGUMENT);
}

TEST_F(LinkTableTest, DamagedEntriesAreMendedAndNeverFollowed) {
  ASSERT_EQ(Register(kPort, Link(44)), 1);
  {
    CSegmentLock lock;
    ASSERT_TRUE(lock.Held());
    SegLink& bad = lock->linkTable.links[kLinkSlots - 1];
    bad.port = 999;
    bad.handle = 44;
    std::memset(bad.peerAddress, 'z', sizeof bad.peerAddress);
    SegLink& odd = lock->linkTable.links[kLinkSlots - 2];
    odd.port = kOther;
    odd.handle = -5;
  }
  SweepSegmentAtNextLock();
  TavEthernetLinkState state{};
  int port = 0;
  ASSERT_EQ(TavGetClientEthernetLink(44, &port, nullptr, &state), 0);
  EXPECT_EQ(port, kPort);
  {
    CSegmentLock lock;
    ASSERT_TRUE(lock.Held());
    EXPECT_TRUE(SegmentIsSound(*lock));
    EXPECT_EQ(lock->linkTable.links[kLinkSlots - 1].port, 0);
    EXPECT_EQ(lock->linkTable.links[kLinkSlots - 2].port, 0);
  }
}

TEST(Routes, RouteTextsComeFromTheSettings) {
  platform::Profile settings(LibrarySettingsPath());
  ASSERT_TRUE(settings.WriteString("ROUTES", "ROUTE3", "\"1.2,3.4;0.5\""));
  ASSERT_TRUE(settings.WriteString("ROUTES", "ROUTE255", " 7.1;2.9 "));
  char text[TAV_ROUTE_TEXT_SIZE];
  EXPECT_EQ(TavGetRoute(3, text, sizeof text), 1);
  EXPECT_STREQ(text, "1.2,3.4;0.5");
  EXPECT_EQ(TavGetRoute(255, text, sizeof text), 1);
  EXPECT_STREQ(text, "7.1;2.9");
  EXPECT_EQ(TavGetRoute(4, text, sizeof text), 0);
  EXPECT_STREQ(text, "");
  EXPECT_EQ(TavGetRoute(0, text, sizeof text), 0);  // the direct link
  EXPECT_EQ(TavGetRoute(256, text, sizeof text), TAV_E_BAD_ARGUMENT);
  EXPECT_EQ(TavGetRoute(3, text, 5), TAV_E_BUFFER_SMALL);
}
