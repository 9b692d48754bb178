// The transfer windows offscreen: the confirmation's "Connect to" line, the
// download choice and the progress window's Cancel per mode.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <atomic>

#include "axcfg_unit/transfer_commands.h"
#include "axcfg_unit/unit_link.h"
#include "fake_unit.h"
#include "message_box_recorder.h"
#include "transfer_dialogs.h"

using namespace axcfgui;

TEST(ConnectConfirm, CommunicationSettingsRebuildTheConnectToLine) {
  axcfg_test::FakeUnit unit;
  axcfg_test::RecordingUi ui;
  axcfg::CUnitLink link("Axis Configurator", unit, ui, &unit);
  int changes = 0;
  CConnectConfirmDialog dialog(link, 0, nullptr, [&] { ++changes; });
  const QString before = dialog.ConnectTo()->text();
  unit.settingsResult = 2;  // cancelled: nothing changes
  dialog.SettingsButton()->click();
  EXPECT_EQ(changes, 0);
  unit.settingsResult = 1;
  dialog.SettingsButton()->click();
  EXPECT_EQ(changes, 1);
  EXPECT_NE(dialog.ConnectTo()->text(), before);
  EXPECT_TRUE(dialog.ConnectTo()->text().contains("No.12")) << dialog.ConnectTo()->text().toStdString();
}

TEST(DownloadChoice, RangeControlsFollowTheKindAndABadRangeKeepsTheDialogOpen) {
  keldtest::MessageBoxRecorder boxes;
  CDownloadChoiceDialog dialog({2, 4, 80}, nullptr);
  EXPECT_TRUE(dialog.Range()->isChecked());
  EXPECT_EQ(dialog.RangeText()->text(), "4-80");
  dialog.ParamsOnly()->setChecked(true);
  EXPECT_FALSE(dialog.All()->isEnabled());
  EXPECT_FALSE(dialog.RangeText()->isEnabled());
  dialog.WithTables()->setChecked(true);
  EXPECT_TRUE(dialog.RangeText()->isEnabled());

  dialog.show();
  dialog.RangeText()->setText("5-4");
  dialog.accept();
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "Specify the range of table No. correctly.");
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.Selection(), (axcfg::DownloadSelection{2, 4, 80}));

  dialog.RangeText()->setText(" 10 - 20 ");
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Selection(), (axcfg::DownloadSelection{2, 10, 20}));

  CDownloadChoiceDialog params({2, 4, 80}, nullptr);
  params.ParamsOnly()->setChecked(true);
  params.RangeText()->setText("junk");  // not read for kind 1
  params.accept();
  EXPECT_EQ(params.Selection(), (axcfg::DownloadSelection{1, 4, 80}));
}

TEST(TransferProgress, EscapeCancelsAnUploadButNotADownload) {
  // Upload: the work runs until it sees the cancel request.
  CTransferProgressDialog upload(axcfg::kModeUpload, [](axcfg::ITransferProgress& p) {
    p.SetRange(10);
    while (!p.Cancelled()) QThread::msleep(5);
    return static_cast<int>(axcfg::kTransferAborted);
  }, nullptr);
  QTimer::singleShot(200, &upload, [&] { QTest::keyClick(&upload, Qt::Key_Escape); });
  EXPECT_EQ(upload.exec(), axcfg::kTransferAborted);
  EXPECT_TRUE(upload.CancelButton()->isVisibleTo(&upload));

  // Download: Escape, Enter and the close box do nothing; the work ends it.
  std::atomic<bool> release{false};
  CTransferProgressDialog download(axcfg::kModeDownload, [&](axcfg::ITransferProgress& p) {
    p.SetRange(4);
    while (!release) QThread::msleep(5);
    p.Step(4);
    return 0;
  }, nullptr);
  bool stillOpen = false;
  QTimer::singleShot(200, &download, [&] {
    QTest::keyClick(&download, Qt::Key_Escape);
    QTest::keyClick(&download, Qt::Key_Return);
    download.close();
    QTimer::singleShot(100, &download, [&] {
      stillOpen = download.isVisible();
      release = true;
    });
  });
  EXPECT_EQ(download.exec(), 0);
  EXPECT_TRUE(stillOpen);
  EXPECT_FALSE(download.CancelButton()->isVisibleTo(&download));
  EXPECT_FALSE(download.CancelRequested());
}
