// The parameter settings dialog on a document, offscreen: guidance following
// the cell, edits with their refusals, check when shown, OK, Copy axis and
// Initialize through their dialogs, and the command in the running tool.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "axcfg_data/axcfg_strings.h"
#include "axiscfg_app.h"
#include "axiscfg_view.h"
#include "command_ids.h"
#include "command_table.h"
#include "copy_axis_dlg.h"
#include "main_frame.h"
#include "message_box_recorder.h"
#include "param_edit_grid.h"
#include "param_settings_dlg.h"
#include "ui_strings.h"
#include "used_axis_dlg.h"

using namespace axcfgui;

namespace {

constexpr int kParamJogSpeed = 48;

// Waits, processing events, until the condition holds or a generous time passed.
template <typename Pred>
bool WaitFor(Pred pred) {
  for (int i = 0; i < 500 && !pred(); ++i) QTest::qWait(10);
  return pred();
}

// Group A of axes 1 and 2, axis 3 alone.
void UseLayout(axcfg::CAxisCfgDoc& doc) {
  axcfg::CAxisLayout layout;
  layout.Clear();
  layout.Append(axcfg::MakeGroupEntry(1, 0x03));
  layout.Append(axcfg::MakeSingleAxisEntry(2));
  doc.SetLayout(layout);
}

struct DialogFixture : ::testing::Test {
  keldtest::MessageBoxRecorder boxes;
  axcfg::CAxisCfgDoc doc;
  std::unique_ptr<axcfg::CParamEditModel> model;
  std::unique_ptr<CParamSettingsDlg> dlg;

  void SetUp() override {
    axcfg::RegisterAxisCfgDataStrings();
    RegisterAxisCfgUiStrings();
    UseLayout(doc);
  }
  void Open(bool checkOnShow = false) {
    model = std::make_unique<axcfg::CParamEditModel>(doc);
    dlg = std::make_unique<CParamSettingsDlg>(nullptr, *model, checkOnShow, std::string());
    dlg->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
    dlg->Grid()->setFocus();
    QApplication::processEvents();
  }
  CParamEditGrid* Grid() { return dlg->Grid(); }
  int Row(int no) { return model->ParamToRow(no); }
  QString Guidance() { return dlg->GuidanceBox()->toPlainText(); }
  void TypeInto(int column, int row, const QString& text) {
    ASSERT_TRUE(Grid()->SetCurrentCell(column, row));
    QTest::keyClick(Grid(), Qt::Key_F2);
    auto* edit = qobject_cast<QLineEdit*>(Grid()->Editor());
    ASSERT_NE(edit, nullptr);
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }
};

TEST_F(DialogFixture, GuidanceFollowsTheCurrentCell) {
  Open();
  EXPECT_EQ(dlg->windowTitle(), "Parameter settings");
  EXPECT_EQ(Grid()->ColumnCount(), 3);
  EXPECT_EQ(Grid()->RowCount(), 44);
  auto expected = [this](int column, int row) {
    QString text = QString::fromStdString(model->Guidance(column, row));
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  };
  EXPECT_EQ(Guidance(), expected(0, 0));
  EXPECT_TRUE(Guidance().contains(QChar('\n')));
  EXPECT_FALSE(Guidance().contains(QChar('\r')));
  QTest::keyClick(Grid(), Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(Guidance(), expected(2, 43));
  // A commit that changes the range text shows the new guidance at once.
  Grid()->SetCurrentCell(2, 0);
  const QString before = expected(2, Row(kParamJogSpeed));
  QTest::keyClick(Grid(), Qt::Key_F2);
  auto* combo = qobject_cast<QComboBox*>(Grid()->Editor());
  ASSERT_NE(combo, nullptr);
  combo->hidePopup();
  combo->setCurrentIndex(3);
  QTest::keyClick(combo, Qt::Key_Return);
  Grid()->SetCurrentCell(2, Row(kParamJogSpeed));
  EXPECT_NE(Guidance(), before);
  EXPECT_EQ(Guidance(), expected(2, Row(kParamJogSpeed)));
}

TEST_F(DialogFixture, ARefusedEntryStaysSelectedAndEnterNeverPressesOk) {
  Open();
  TypeInto(2, Row(kParamJogSpeed), "0");
  QTest::keyClick(Grid()->Editor(), Qt::Key_Return);
  ASSERT_EQ(boxes.Texts(), std::vector<std::string>{"The input value is out of the allowable range."});
  auto* edit = qobject_cast<QLineEdit*>(Grid()->Editor());
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->selectedText(), "0");
  EXPECT_TRUE(dlg->isVisible());
  EXPECT_EQ(dlg->result(), QDialog::Rejected);
  // OK commits first and stays on the refusal.
  dlg->accept();
  EXPECT_EQ(boxes.boxes.size(), 2u);
  EXPECT_TRUE(dlg->isVisible());
  // Escape drops the entry; the stored value is untouched.
  QTest::keyClick(edit, Qt::Key_Escape);
  EXPECT_EQ(Grid()->Editor(), nullptr);
  EXPECT_TRUE(dlg->isVisible());
  EXPECT_EQ(model->Params().GetParam(kParamJogSpeed, 2), 1000u);

  TypeInto(2, Row(kParamJogSpeed), "2500");
  QTest::keyClick(Grid()->Editor(), Qt::Key_Return);
  EXPECT_EQ(model->Params().GetParam(kParamJogSpeed, 2), 2500u);
  EXPECT_EQ(Grid()->CurrentRow(), Row(kParamJogSpeed) + 1);
  EXPECT_TRUE(dlg->isVisible());
}

TEST_F(DialogFixture, ACommitOnFocusLossIsNotRepeatedWhileItsMessageIsUp) {
  Open();
  TypeInto(2, Row(kParamJogSpeed), "abc0");
  // The message box takes the focus while it is up.
  platform::SetMessageBoxHandler([this](const platform::MessageBoxRequest& r) {
    boxes.boxes.push_back(r);
    dlg->GuidanceBox()->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    return platform::IDOK;
  });
  dlg->GuidanceBox()->setFocus(Qt::MouseFocusReason);
  QApplication::processEvents();
  EXPECT_EQ(boxes.boxes.size(), 1u);
  EXPECT_NE(Grid()->Editor(), nullptr);
}

TEST_F(DialogFixture, CheckWhenShownSelectsTheFailingCellOnce) {
  ASSERT_TRUE(doc.GetParamBlock().SetParam(kParamJogSpeed, 2, 0));
  Open(true);
  ASSERT_TRUE(WaitFor([&] { return boxes.boxes.size() == 1; }));
  EXPECT_EQ(boxes.Texts()[0], "The value in the unallowable range was set.\r\nChange the settings.");
  EXPECT_EQ(Grid()->CurrentColumn(), 2);
  EXPECT_EQ(Grid()->CurrentRow(), Row(kParamJogSpeed));
  dlg->hide();
  dlg->show();
  QApplication::processEvents();
  EXPECT_EQ(boxes.boxes.size(), 1u);
  // OK refuses as well, until the value is mended.
  dlg->accept();
  EXPECT_EQ(boxes.boxes.size(), 2u);
  TypeInto(2, Row(kParamJogSpeed), "10");
  dlg->accept();
  EXPECT_EQ(dlg->result(), QDialog::Accepted);
}

TEST_F(DialogFixture, CopyAxisAndInitializeThroughTheirDialogs) {
  Open();
  TypeInto(2, Row(kParamJogSpeed), "777");
  std::vector<QString> titles;
  dlg->runSubDialog = [&](QDialog& sub) {
    titles.push_back(sub.windowTitle());
    if (auto* copy = qobject_cast<CCopyAxisDlg*>(&sub)) {
      EXPECT_EQ(copy->Source(), 2);  // the current column
      EXPECT_EQ(copy->SourceList()->itemText(0), "1 axis [A]");
      copy->DestinationList()->setCurrentIndex(0);
      return int(QDialog::Accepted);
    }
    auto* init = qobject_cast<CUsedAxisDlg*>(&sub);
    EXPECT_NE(init, nullptr);
    EXPECT_TRUE(init->AxisBox(2)->isEnabled());
    EXPECT_FALSE(init->AxisBox(3)->isEnabled());
    EXPECT_FALSE(init->AxisBox(0)->isChecked());
    init->accept();  // nothing ticked: refused, stays open
    EXPECT_EQ(init->result(), QDialog::Rejected);
    init->AxisBox(2)->setChecked(true);
    init->accept();
    return init->result();
  };
  // The copy commits the open edit first.
  QTest::mouseClick(dlg->CopyButton(), Qt::LeftButton);
  EXPECT_EQ(model->Params().GetParam(kParamJogSpeed, 2), 777u);
  EXPECT_EQ(model->Params().GetParam(kParamJogSpeed, 0), 777u);
  QTest::mouseClick(dlg->InitializeButton(), Qt::LeftButton);
  EXPECT_EQ(model->Params().GetParam(kParamJogSpeed, 2), 1000u);
  EXPECT_EQ(model->Params().GetParam(kParamJogSpeed, 0), 777u);
  ASSERT_EQ(titles.size(), 2u);
  EXPECT_EQ(titles[0], "Specify the axis to copy");
  EXPECT_EQ(titles[1], "Choose the initialized axis");
  EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Choose the one to initialize."});
}

TEST_F(DialogFixture, AChoiceCellOpensOnItsValueAndChangesTheGroup) {
  Open();
  Grid()->SetCurrentCell(1, 0);
  QTest::keyClick(Grid(), Qt::Key_F2);
  auto* combo = qobject_cast<QComboBox*>(Grid()->Editor());
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->count(), 7);
  EXPECT_EQ(combo->currentIndex(), 0);
  combo->hidePopup();
  combo->setCurrentIndex(2);
  QTest::keyClick(combo, Qt::Key_Return);
  EXPECT_EQ(Grid()->Editor(), nullptr);
  EXPECT_EQ(model->Params().GetParam(axcfg::kParamUnit, 0), 2u);
  EXPECT_EQ(model->Params().GetParam(axcfg::kParamUnit, 2), 0u);
}

// The running tool: the command, OK reaching the document, and the data
// check opening the editor on the failing value.
struct ToolFixture : ::testing::Test {
  keldtest::MessageBoxRecorder boxes;
  CAxisCfgApp app;
  std::function<int(CParamSettingsDlg&)> script;
  int opened = 0;

  void SetUp() override {
    app.GetPrompts().startDialog = [](QWidget*) { return StartChoice::Closed; };
    app.GetPrompts().editParameters = [this](CParamSettingsDlg& dialog) {
      ++opened;
      dialog.show();
      QApplication::processEvents();
      return script ? script(dialog) : int(QDialog::Rejected);
    };
    ASSERT_TRUE(app.InitInstance({QStringLiteral("AxisCfg"), QStringLiteral("--no-splash")}));
    UseLayout(*app.Document());
    app.Document()->UpdateAllViews(nullptr, axcfg::kHintRebuildAll);
  }
};

TEST_F(ToolFixture, CtrlQOpensTheEditorAndOkReachesTheDocument) {
  QAction* action = app.Frame()->Commands().Action(ID_PARAMETER_SETTINGS);
  EXPECT_TRUE(action->isEnabled());
  EXPECT_EQ(action->shortcut(), QKeySequence(QStringLiteral("Ctrl+Q")));
  action->trigger();
  EXPECT_EQ(opened, 1);
  EXPECT_FALSE(app.Document()->IsModified());

  script = [](CParamSettingsDlg& dialog) {
    dialog.Grid()->SetCurrentCell(2, 0);
    QTest::keyClick(dialog.Grid(), Qt::Key_F2);
    auto* combo = qobject_cast<QComboBox*>(dialog.Grid()->Editor());
    if (!combo) return int(QDialog::Rejected);
    combo->hidePopup();
    combo->setCurrentIndex(1);
    dialog.accept();
    return dialog.result();
  };
  ASSERT_TRUE(app.OnCommand(ID_PARAMETER_SETTINGS));
  EXPECT_EQ(opened, 2);
  EXPECT_TRUE(app.Document()->IsModified());
  EXPECT_EQ(app.Document()->GetParamBlock().GetParam(axcfg::kParamUnit, 2), 1u);
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(ToolFixture, TheDataCheckOpensTheEditorOnTheFailingValue) {
  ASSERT_TRUE(app.Document()->GetParamBlock().SetParam(kParamJogSpeed, 1, 0));
  std::pair<int, int> cell{-1, -1};
  script = [&](CParamSettingsDlg& dialog) {
    WaitFor([&] { return !boxes.boxes.empty(); });
    cell = {dialog.Grid()->CurrentColumn(), dialog.Grid()->CurrentRow()};
    return int(QDialog::Rejected);
  };
  app.OnCommand(ID_CHECK_DATA);
  EXPECT_EQ(opened, 1);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.Texts()[0], "The value in the unallowable range was set.\r\nChange the settings.");
  EXPECT_EQ(cell.first, 1);
  EXPECT_EQ(cell.second, app.Document()->GetParamBlock().ParamToRow(kParamJogSpeed));
}

}  // namespace
