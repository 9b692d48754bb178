// Upload from the start dialog: the real start dialog offers Upload only when
// the document has a link, and its Upload runs the whole upload command
// (confirmation, progress window, the comment question) into the new
// document.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include "axcfg_data/axcfg_doc.h"
#include "axiscfg_app.h"
#include "message_box_recorder.h"
#include "start_dialog.h"
#include "transfer_dialogs.h"
#include "transfer_unit.h"

using namespace axcfgui;

namespace {

// Answers the modal windows as a user would: the start dialog's Upload (when
// it can be pressed) and Yes in the connection confirmation.
struct Clicker {
  bool uploadOffered = false;
  bool startSeen = false;
  QTimer timer;
  Clicker() {
    QObject::connect(&timer, &QTimer::timeout, [this] {
      QWidget* front = QApplication::activeModalWidget();
      if (auto* start = qobject_cast<CStartDialog*>(front)) {
        startSeen = true;
        auto* upload = start->findChild<QPushButton*>(QStringLiteral("Upload"));
        uploadOffered = upload && upload->isEnabled();
        if (uploadOffered) upload->click();
        else start->findChild<QPushButton*>(QStringLiteral("Exit"))->click();
      } else if (auto* confirm = qobject_cast<CConnectConfirmDialog*>(front)) {
        confirm->accept();
      }
    });
    timer.start(20);
  }
};

}  // namespace

TEST(StartDialog, UploadFillsTheNewDocumentFromTheUnit) {
  axcfg_test::TransferUnit unit;
  unit.SetLayout({0x03, 0, 0, 0, 0x0C});  // axes 1 and 2 in group A, axes 3 and 4 alone
  unit.Set(0x1000 + 0x5000 * 2 + 0, 0);   // parameter records stay as the unit holds them
  const uint32_t table4axis3 = (4 + 0x85) * 0x20 + 0x5000 * 2;
  unit.Set(table4axis3 + 16, 0x5678);  // movement amount, low word
  unit.Set(table4axis3 + 18, 0x0001);
  keldtest::MessageBoxRecorder boxes;
  boxes.answers = {platform::IDNO};  // the comments are not kept

  CAxisCfgApp app;
  app.SetLinkLibrary(&unit, &unit);
  Clicker clicker;
  ASSERT_TRUE(app.InitInstance({"AxisCfg", "--no-splash"}));
  EXPECT_TRUE(clicker.startSeen);
  ASSERT_TRUE(clicker.uploadOffered);

  axcfg::CAxisCfgDoc* doc = app.Document();
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(doc->GetTotalAxisCount(), 4);
  EXPECT_EQ(doc->GetPosData(4)->GetMoveAmount(2), 0x15678);
  EXPECT_TRUE(doc->IsModified());
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_NE(boxes.boxes[0].text.find("Do you leave the comment"), std::string::npos);
  EXPECT_EQ(boxes.boxes[1].text, "The upload from the unit completed successfully.");
  app.ExitInstance();
}

TEST(StartDialog, UploadIsNotOfferedWithoutALink) {
  CAxisCfgApp app;
  Clicker clicker;
  EXPECT_FALSE(app.InitInstance({"AxisCfg", "--no-splash"}));  // Exit was pressed
  EXPECT_TRUE(clicker.startSeen);
  EXPECT_FALSE(clicker.uploadOffered);
  app.ExitInstance();
}
