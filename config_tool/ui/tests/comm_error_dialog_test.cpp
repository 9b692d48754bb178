// The "Communication error" dialog offscreen: its answers, and the link's
// dialog reports going through the message-box function to the window in
// front, never to a window the link remembered and that has gone since.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <memory>

#include "axcfg_unit/unit_link.h"
#include "comm_error_dialog.h"
#include "fake_unit.h"
#include "message_box_recorder.h"
#include "ui_strings.h"

using namespace axcfgui;

namespace {

struct LinkWithWidgetUi : ::testing::Test {
  void SetUp() override {
    RegisterAxisCfgUiStrings();
    unit.failAddress = 0x10;
  }
  int FailingRead() {
    uint16_t word = 0;
    return link.Read(0x20, 1, &word, axcfg::kReportDialog);
  }
  axcfg_test::FakeUnit unit;
  CWidgetLinkUi ui{"Axis Configurator"};
  axcfg::CUnitLink link{"Axis Configurator", unit, ui};
};

}  // namespace

TEST(CommErrorDialog, ContinueEndEscapeAndEnter) {
  RegisterAxisCfgUiStrings();
  struct Case {
    std::function<void(CCommErrorDialog&)> act;
    int answer;
  } cases[] = {
      {[](CCommErrorDialog& d) { d.ContinueButton()->click(); }, CCommErrorDialog::kContinue},
      {[](CCommErrorDialog& d) { d.EndButton()->click(); }, CCommErrorDialog::kEnd},
      {[](CCommErrorDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }, CCommErrorDialog::kEnd},
      {[](CCommErrorDialog& d) { QTest::keyClick(d.ContinueButton(), Qt::Key_Return); }, CCommErrorDialog::kContinue},
      {[](CCommErrorDialog& d) { d.close(); }, CCommErrorDialog::kEnd},
  };
  for (const Case& c : cases) {
    CCommErrorDialog dialog("No answer from the PLC", nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Communication error");
    EXPECT_EQ(dialog.Text()->text(), "No answer from the PLC");
    EXPECT_EQ(dialog.ContinueButton()->text(), "Continue");
    EXPECT_EQ(dialog.EndButton()->text(), "End");
    QTimer::singleShot(0, &dialog, [&] { c.act(dialog); });
    EXPECT_EQ(dialog.exec(), c.answer);
  }
}

TEST_F(LinkWithWidgetUi, ReportGoesToTheWindowInFrontAndReturnsTheAnswer) {
  keldtest::MessageBoxRecorder boxes;
  QDialog front;
  front.setModal(true);
  front.show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeModalWidget() == &front; }));

  boxes.answers = {platform::IDOK, platform::IDCANCEL};
  EXPECT_EQ(FailingRead(), 1);  // Continue
  EXPECT_EQ(FailingRead(), 2);  // End
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(boxes.boxes[0].caption, "Communication error");
  EXPECT_EQ(boxes.boxes[0].text, "library error -10012");
  EXPECT_EQ(boxes.boxes[0].type & platform::MB_TYPEMASK, platform::MB_OKCANCEL);
  EXPECT_EQ(boxes.boxes[0].owner, &front);
  EXPECT_TRUE(boxes.boxes[0].window);
  // A message-box report of the same link stays a plain box.
  uint16_t word = 0;
  link.Read(0x20, 1, &word, axcfg::kReportMessageBox);
  ASSERT_EQ(boxes.boxes.size(), 3u);
  EXPECT_FALSE(boxes.boxes[2].window);
}

TEST_F(LinkWithWidgetUi, AnOwnerThatHasGoneIsNeverUsed) {
  keldtest::MessageBoxRecorder boxes;
  QWidget main;
  main.show();
  {
    // The slot dialog opened the link and was closed and destroyed since.
    auto gone = std::make_unique<QDialog>(&main);
    gone->show();
    link.Open(gone.get(), false, false, false);
  }
  FailingRead();
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].owner, &main);

  // The window itself: a dialog over that owner; End answers 2.
  QTimer::singleShot(0, [&] {
    auto* shown = qobject_cast<CCommErrorDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->parentWidget(), &main);
    EXPECT_EQ(shown->Text()->text(), "library error -10012");
    shown->EndButton()->click();
  });
  EXPECT_EQ(boxes.boxes[0].window(boxes.boxes[0].owner), 2);
}

TEST_F(LinkWithWidgetUi, AReportFromAWorkerThreadIsShownOnTheWindowThread) {
  keldtest::MessageBoxRecorder boxes;
  boxes.answers = {platform::IDOK};
  QThread* shownOn = nullptr;
  platform::MessageBoxHandler previous = platform::SetMessageBoxHandler([&](const platform::MessageBoxRequest&) {
    shownOn = QThread::currentThread();
    return platform::IDOK;
  });
  int result = 0;
  std::unique_ptr<QThread> worker(QThread::create([&] { result = FailingRead(); }));
  worker->start();
  ASSERT_TRUE(QTest::qWaitFor([&] { return worker->isFinished(); }, 10000));
  platform::SetMessageBoxHandler(previous);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(shownOn, QApplication::instance()->thread());
}
