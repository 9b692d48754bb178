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

#include <QClipboard>
#include <QHeaderView>
#include <QTableWidget>

#include "difference_list_dlg.h"
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
  ShownResult s({"/data/unit1.axc", 0, false, {}});
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
  ShownResult rows({"unit", axcfg::kDiffRows, true, {}});
  EXPECT_EQ(rows.Texts()[2], "Positioninng data - Disagree");
  EXPECT_EQ(Background(rows.dialog.Line(2)), CVerifyResultDialog::DisagreeColor());
  EXPECT_EQ(Background(rows.dialog.Line(1)), CVerifyResultDialog::AgreeColor());
  EXPECT_EQ(Background(rows.dialog.Line(3)), CVerifyResultDialog::DisagreeColor());

  ShownResult axes({"unit", axcfg::kDiffAxisInfo, false, {}});
  EXPECT_EQ(axes.Texts(), (std::vector<std::string>{"Axis infomation - Disagree", "Parameter data - ",
                                                    "Positioninng data - ", "Result of verification - Disagree"}));
  EXPECT_FALSE(axes.dialog.Line(1)->isEnabled());
  EXPECT_FALSE(axes.dialog.Line(2)->isEnabled());
  EXPECT_NE(Background(axes.dialog.Line(1)), CVerifyResultDialog::AgreeColor());
  EXPECT_NE(Background(axes.dialog.Line(1)), CVerifyResultDialog::DisagreeColor());

  ShownResult params({"unit", axcfg::kDiffParams, false, {}});
  EXPECT_TRUE(params.dialog.Line(1)->isEnabled());
  EXPECT_FALSE(params.dialog.Line(2)->isEnabled());
}

TEST(VerifyResultDialog, HidingTheNoteMovesTheButtonsUp) {
  ShownResult withNote({"unit", 0, true, {}});
  ShownResult without({"unit", 0, false, {}});
  EXPECT_TRUE(withNote.dialog.Note()->isVisible());
  EXPECT_EQ(withNote.dialog.Note()->text().toStdString(), "The comment of positioning data are not verified.");
  EXPECT_FALSE(without.dialog.Note()->isVisible());
  const int shown = withNote.dialog.HelpButton()->y();
  const int hidden = without.dialog.HelpButton()->y();
  EXPECT_GE(shown - hidden, withNote.dialog.Note()->height());
  EXPECT_LT(without.dialog.height(), withNote.dialog.height());
  // The same window changing its mind gives its room back too.
  without.dialog.SetResult({"unit", 0, true, {}});
  QApplication::processEvents();
  EXPECT_EQ(without.dialog.HelpButton()->y(), shown);
}

TEST(VerifyResultDialog, CloseEndsItAndHelpOpensItsPage) {
  ShownResult s({"unit", 0, false, {}});
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

TEST(VerifyResultDialog, DetailsListsTheItemsSortableAndCopyable) {
  ShownResult none({"unit", 0, false, {}});
  EXPECT_FALSE(none.dialog.DetailsButton()->isEnabled());

  using Part = axcfg::DifferenceItem::Part;
  axcfg::VerifyResult result{"unit", axcfg::kDiffRows | axcfg::kDiffParams, false, {}};
  result.items = {{Part::Parameter, "1Axis", 0, "Unit setting", "mm", "inch"},
                  {Part::Table, "[A] 1,2Axis", 12, "Dwell time", "0", "5"},
                  {Part::Table, "3Axis", 3, "Comment", "a\tb", "c"}};
  ShownResult s(result);
  s.dialog.SetOtherName("Unit");
  ASSERT_TRUE(s.dialog.DetailsButton()->isEnabled());
  EXPECT_EQ(s.dialog.DetailsDialog(), nullptr);
  QTest::mouseClick(s.dialog.DetailsButton(), Qt::LeftButton);
  CDifferenceListDlg* list = s.dialog.DetailsDialog();
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(list->isVisible());
  QTableWidget* table = list->Table();
  ASSERT_EQ(table->rowCount(), 3);
  EXPECT_EQ(table->horizontalHeaderItem(5)->text(), "Unit");
  for (int row = 0; row < 3; ++row)  // in list order until a column is chosen
    EXPECT_EQ(list->RowLine(row).toStdString(), axcfg::DifferenceLine(result.items[static_cast<size_t>(row)]));

  // Table numbers sort as numbers (items without one first), and each row
  // keeps its item.
  QHeaderView* header = table->horizontalHeader();
  auto clickTitle = [&](int column) {
    QTest::qWait(QApplication::doubleClickInterval() + 50);  // separate clicks, not a double click
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
  };
  clickTitle(2);
  EXPECT_EQ(table->item(0, 2)->text(), "");
  EXPECT_EQ(table->item(1, 2)->text(), "3");
  EXPECT_EQ(table->item(2, 2)->text(), "12");
  EXPECT_EQ(list->RowLine(2).toStdString(), axcfg::DifferenceLine(result.items[1]));
  clickTitle(2);  // again: the other way round
  EXPECT_EQ(table->item(0, 2)->text(), "12");
  EXPECT_EQ(table->item(2, 2)->text(), "");
  clickTitle(2);

  // Without a selection every row is copied, in the order shown; a tab
  // inside a text does not split its cell.
  EXPECT_EQ(list->CopyText(),
            "Part\tWhere\tTable No.\tItem\tDocument\tUnit\n"
            "Parameter\t1Axis\t\tUnit setting\tmm\tinch\n"
            "Table\t3Axis\t3\tComment\ta b\tc\n"
            "Table\t[A] 1,2Axis\t12\tDwell time\t0\t5\n");
  table->selectRow(2);
  table->setFocus();
  QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(),
            "Part\tWhere\tTable No.\tItem\tDocument\tUnit\nTable\t[A] 1,2Axis\t12\tDwell time\t0\t5\n");
}

}  // namespace
