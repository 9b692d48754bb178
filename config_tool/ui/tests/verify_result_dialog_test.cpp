// The verification result window: its lines, colours, disabled lines, the
// note and the help page.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>

#include "help_window.h"
#include "ui_strings.h"
#include "verify_result_dialog.h"

using namespace axcfgui;

namespace {

// The colour most of the line's pixels have, its text aside.
QColor Background(QLabel* line) {
  const QImage image = line->grab().toImage();
  return image.pixelColor(2, image.height() / 2);
}

// The texts before the window that shows them.
struct Texts {
  Texts() { RegisterAxisCfgUiStrings(); }
};

struct ShownResult : Texts {
  CVerifyResultDialog dialog{nullptr};
  explicit ShownResult(const axcfg::VerifyResult& result) {
    dialog.SetResult(result);
    dialog.show();
    QApplication::processEvents();
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (int i = 0; i < 4; ++i) texts.push_back(dialog.Line(i)->text().toStdString());
    return texts;
  }
};

TEST(VerifyResultDialog, AllAgreeIsGreenWithTheTarget) {
  ShownResult s({"/data/unit1.axc", 0, false});
  EXPECT_EQ(s.dialog.windowTitle().toStdString(), "Result of verification");
  EXPECT_EQ(s.dialog.findChild<QLineEdit*>("Target")->text(), "/data/unit1.axc");
  EXPECT_TRUE(s.dialog.findChild<QLineEdit*>("Target")->isReadOnly());
  EXPECT_EQ(s.Texts(), (std::vector<std::string>{"Axis infomation - Agree", "Parameter data - Agree",
                                                 "Positioninng data - Agree", "Result of verification - Agree"}));
  for (int i = 0; i < 4; ++i) {
    EXPECT_TRUE(s.dialog.Line(i)->isEnabled());
    EXPECT_EQ(Background(s.dialog.Line(i)), CVerifyResultDialog::AgreeColor()) << i;
    EXPECT_EQ(s.dialog.Line(i)->alignment(), Qt::AlignCenter);
  }
}

TEST(VerifyResultDialog, ADisagreeingPartIsRedAndLinesNotComparedAreDisabled) {
  ShownResult rows({"unit", axcfg::kDiffRows, true});
  EXPECT_EQ(rows.Texts()[2], "Positioninng data - Disagree");
  EXPECT_EQ(Background(rows.dialog.Line(2)), CVerifyResultDialog::DisagreeColor());
  EXPECT_EQ(Background(rows.dialog.Line(1)), CVerifyResultDialog::AgreeColor());
  EXPECT_EQ(Background(rows.dialog.Line(3)), CVerifyResultDialog::DisagreeColor());

  ShownResult axes({"unit", axcfg::kDiffAxisInfo, false});
  EXPECT_EQ(axes.Texts(), (std::vector<std::string>{"Axis infomation - Disagree", "Parameter data - ",
                                                    "Positioninng data - ", "Result of verification - Disagree"}));
  EXPECT_FALSE(axes.dialog.Line(1)->isEnabled());
  EXPECT_FALSE(axes.dialog.Line(2)->isEnabled());
  EXPECT_NE(Background(axes.dialog.Line(1)), CVerifyResultDialog::AgreeColor());
  EXPECT_NE(Background(axes.dialog.Line(1)), CVerifyResultDialog::DisagreeColor());

  ShownResult params({"unit", axcfg::kDiffParams, false});
  EXPECT_TRUE(params.dialog.Line(1)->isEnabled());
  EXPECT_FALSE(params.dialog.Line(2)->isEnabled());
}

TEST(VerifyResultDialog, HidingTheNoteMovesTheButtonsUp) {
  ShownResult withNote({"unit", 0, true});
  ShownResult without({"unit", 0, false});
  EXPECT_TRUE(withNote.dialog.Note()->isVisible());
  EXPECT_EQ(withNote.dialog.Note()->text().toStdString(), "The comment of positioning data are not verified.");
  EXPECT_FALSE(without.dialog.Note()->isVisible());
  const int shown = withNote.dialog.HelpButton()->y();
  const int hidden = without.dialog.HelpButton()->y();
  EXPECT_GE(shown - hidden, withNote.dialog.Note()->height());
  EXPECT_LT(without.dialog.height(), withNote.dialog.height());
  // The same window changing its mind gives its room back too.
  without.dialog.SetResult({"unit", 0, true});
  QApplication::processEvents();
  EXPECT_EQ(without.dialog.HelpButton()->y(), shown);
}

TEST(VerifyResultDialog, CloseEndsItAndHelpOpensItsPage) {
  ShownResult s({"unit", 0, false});
  auto* close = s.dialog.findChild<QPushButton*>("Close");
  ASSERT_NE(close, nullptr);
  EXPECT_EQ(close->text().toStdString(), "&Close");
  QTest::mouseClick(s.dialog.HelpButton(), Qt::LeftButton);
  QTextBrowser* help = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* b = qobject_cast<QTextBrowser*>(w)) help = b;
  if (!help) help = s.dialog.findChild<QTextBrowser*>();
  ASSERT_NE(help, nullptr) << "help folder: " << HelpFolder(AppHelpFile());
  EXPECT_TRUE(help->source().toString().endsWith("7200.html"));
  help->close();
  QTest::mouseClick(close, Qt::LeftButton);
  EXPECT_FALSE(s.dialog.isVisible());
  EXPECT_EQ(s.dialog.result(), QDialog::Accepted);
}

}  // namespace
