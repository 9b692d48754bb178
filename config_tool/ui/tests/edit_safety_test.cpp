// Nothing a user typed is lost: an open cell edit is finished before a
// click elsewhere, a sheet change, Save and Exit; characters the setting
// file cannot hold are refused where they are typed; file properties stay
// in their dialog when refused; every grid change can be undone back to the
// saved file.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QAction>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <map>

#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/document_file.h"
#include "axcfg_data/pos_columns.h"
#include "command_ids.h"
#include "file_bytes.h"
#include "command_table.h"
#include "help_window.h"
#include "platform/help_window.h"
#include "main_frame.h"
#include "message_box_recorder.h"
#include "scripted_app.h"
#include "test_home.h"
#include "transfer_dialogs.h"
#include "transfer_unit.h"
#include "ui_strings.h"

using namespace axcfgui;

namespace {

using keldtest::ReadBytes;

// Which windows a modal window blocks, as the windows are told.
class BlockWatch : public QObject {
 public:
  BlockWatch() { qApp->installEventFilter(this); }
  ~BlockWatch() override { qApp->removeEventFilter(this); }
  bool eventFilter(QObject* object, QEvent* event) override {
    if (event->type() == QEvent::WindowBlocked) blocked[object] = true;
    if (event->type() == QEvent::WindowUnblocked) blocked[object] = false;
    return false;
  }
  bool IsBlocked(QObject* window) const {
    auto it = blocked.find(window);
    return it != blocked.end() && it->second;
  }
  std::map<QObject*, bool> blocked;
};

class EditSafety : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(s.Start());
    view = s.app.View();
    doc = s.app.Document();
    QApplication::setActiveWindow(s.app.Frame());
    ASSERT_TRUE(QTest::qWaitForWindowActive(s.app.Frame()));
    move = ColumnOfNumber(*view, 0, axcfg::kColFirstMove);
    comment = ColumnOfNumber(*view, 0, axcfg::kColComment);
    ASSERT_GE(move, 0);
    ASSERT_GE(comment, 0);
  }
  void TearDown() override { s.app.ExitInstance(); }

  // Types into a cell as a user does: the first key starts the edit, the
  // rest goes to the editor, which stays open with the keyboard.
  QLineEdit* TypeInto(int line, int column, const QString& text) {
    view->SetSel(CRect(column, line, column, line), CPoint(column, line));
    view->setFocus();
    QTest::keyClicks(view, text.left(1));
    auto* edit = qobject_cast<QLineEdit*>(view->GetActiveCellEditor());
    if (!edit) return nullptr;
    QTest::keyClicks(edit, text.mid(1));
    return edit;
  }
  QPoint Centre(int line, int column) const {
    const CRect r = view->GetCellRect(line, column);
    return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  int64_t Move(int row) const { return doc->GetPosData(row)->GetMoveAmount(0); }
  // Replace All in the comment column, as the find dialog asks for it.
  bool ReplaceAllComments(const std::string& find, const std::string& replace) {
    CRect area(comment, 0, comment, 599);
    CSearchRequest request;
    request.find = &find;
    request.replace = &replace;
    request.area = &area;
    request.flags = FIND_ACTION_REPLACE_ALL;
    view->OnSearchRequest(request);
    return !request.refused;
  }

  keldtest::MessageBoxRecorder boxes;
  ScriptedApp s;
  CAxisCfgView* view = nullptr;
  axcfg::CAxisCfgDoc* doc = nullptr;
  int move = -1;
  int comment = -1;
};

}  // namespace

TEST_F(EditSafety, ClickAwaySaveAndExitKeepTheTypedValue) {
  QLineEdit* edit = TypeInto(0, move, "123");
  ASSERT_NE(edit, nullptr);
  ASSERT_EQ(QApplication::focusWidget(), edit);
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, Centre(4, move));
  EXPECT_EQ(Move(0), 123) << "a click on another cell finishes the edit as Enter";
  EXPECT_EQ(view->GetCellText(0, 0, move), "123");
  EXPECT_TRUE(doc->IsModified());

  // Ctrl+S with the editor open saves the value typed.
  const std::string dir = keldtest::FreshDir("editsave");
  s.saveAnswer = dir + "/typed.axc";
  ASSERT_NE(TypeInto(1, move, "456"), nullptr);
  s.app.Frame()->Commands().Action(ID_FILE_SAVE)->trigger();
  axcfg::CAxisCfgDoc reread;
  ASSERT_EQ(axcfg::OpenDocumentFile(reread, dir + "/typed.axc").id, 0u);
  EXPECT_EQ(reread.GetPosData(1)->GetMoveAmount(0), 456);
  EXPECT_EQ(reread.GetPosData(0)->GetMoveAmount(0), 123);

  // Exit with the editor open asks to save the value first.
  ASSERT_NE(TypeInto(2, move, "789"), nullptr);
  boxes.answers = {platform::IDCANCEL};
  EXPECT_FALSE(s.app.Frame()->close());
  EXPECT_EQ(Move(2), 789);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, UiFormat(kIdsAskToSave, doc->GetTitle()));
}

TEST_F(EditSafety, ASheetTabClickKeepsTheTypedValueOfTheSheetLeft) {
  UseGroupLayout(*doc);
  ASSERT_EQ(view->GetSheetCount(), 2);
  const int groupMove = ColumnOfNumber(*view, 0, axcfg::kColFirstMove + 2);  // axis 2, the group's first
  ASSERT_GE(groupMove, 0);
  ASSERT_NE(TypeInto(5, groupMove, "77"), nullptr);
  QWidget* bar = view->findChild<QWidget*>(QStringLiteral("SheetTabBar"));
  ASSERT_NE(bar, nullptr);
  for (int x = 5; x < bar->width() && view->GetSelSheet() == 0; x += 6)
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(x, bar->height() / 2));
  ASSERT_EQ(view->GetSelSheet(), 1);
  EXPECT_EQ(doc->GetPosData(5)->GetMoveAmount(1), 77);
}

TEST_F(EditSafety, CharactersTheFileCannotHoldAreRefusedWhereTheyAreTyped) {
  const std::string typed = "Start pos ünïcode 日本";
  QLineEdit* edit = TypeInto(3, comment, "S");
  ASSERT_NE(edit, nullptr);
  edit->setText(QString::fromStdString(typed));
  QTest::keyClick(edit, Qt::Key_Return);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, UiFormat(kIdsCharNotStorable, "ü"));
  EXPECT_EQ(view->GetActiveCellEditor(), edit) << "the editor stays open with the text";
  EXPECT_EQ(edit->text().toStdString(), typed);
  // Save is stopped by the refused value: nothing is written.
  s.saveAnswer = keldtest::FreshDir("refused") + "/never.axc";
  s.app.OnCommand(ID_FILE_SAVE);
  EXPECT_EQ(doc->GetPathName(), "");
  EXPECT_EQ(boxes.boxes.size(), 2u);
  edit->setText(QStringLiteral("Start pos 日本"));
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(doc->GetPosData(3)->GetComment(0), "Start pos 日本");

  // Paste and replace refuse the same characters and change nothing.
  boxes.boxes.clear();
  QApplication::clipboard()->setText(QStringLiteral("café\r\n"));
  view->SetSel(CRect(comment, 4, comment, 4), CPoint(comment, 4));
  view->OnEditPaste();
  EXPECT_EQ(doc->GetPosData(4)->GetComment(0), "");
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, UiFormat(kIdsCharNotStorable, "é"));

  EXPECT_FALSE(ReplaceAllComments("Start", "Ünter"));
  EXPECT_EQ(doc->GetPosData(3)->GetComment(0), "Start pos 日本");
}

TEST_F(EditSafety, FilePropertiesStayInTheDialogWhenRefused) {
  std::string firstCreator;
  int dialogs = 0;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    ++dialogs;
    auto* creator = dialog->findChild<QLineEdit*>(QStringLiteral("Creator"));
    auto* commentField = dialog->findChild<QLineEdit*>(QStringLiteral("Comment"));
    ASSERT_TRUE(creator && commentField);
    // Typing stops at 10 bytes: five Japanese characters.
    creator->setFocus();
    creator->insert(QStringLiteral("日本語"));
    creator->insert(QStringLiteral("日本語"));
    firstCreator = creator->text().toStdString();
    commentField->setText(QStringLiteral("naïve"));
    dialog->accept();
    EXPECT_TRUE(dialog->isVisible()) << "a refused OK keeps the dialog";
    EXPECT_EQ(commentField->text(), QStringLiteral("naïve"));
    commentField->setText(QStringLiteral("plain"));
    dialog->accept();
  });
  s.app.OnCommand(ID_FILE_PROPERTIES);
  EXPECT_EQ(dialogs, 1);
  EXPECT_EQ(firstCreator, "日本語");
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, UiFormat(kIdsCharNotStorable, "ï"));
  EXPECT_EQ(doc->GetCreator(), "日本語");
  EXPECT_EQ(doc->GetComment(), "plain");
}

TEST_F(EditSafety, TwentyMixedEditsUndoToTheSavedFileAndRedoToTheEnd) {
  const std::string dir = keldtest::FreshDir("undo");
  s.saveAnswer = dir + "/base.axc";
  ASSERT_TRUE(s.app.OnFileSaveAs());
  const std::string saved = ReadBytes(dir + "/base.axc");
  EXPECT_FALSE(s.app.Frame()->Commands().Action(ID_EDIT_UNDO)->isEnabled());

  // Typing into one line, into a block of lines, and pastes, mixed.
  for (int i = 0; i < 20; ++i) {
    if (i % 3 == 0) {
      view->SetSel(CRect(move, i, move, i + 2), CPoint(move, i));
      QTest::keyClicks(view, QString::number(i % 9 + 1));
      QTest::keyClick(view->GetActiveCellEditor(), Qt::Key_Return);
    } else if (i % 3 == 1) {
      QApplication::clipboard()->setText(QString::number(1000 + i) + QStringLiteral("\r\n"));
      view->SetSel(CRect(move, i, move, i), CPoint(move, i));
      view->OnEditPaste();
    } else {
      QLineEdit* edit = TypeInto(i, comment, "c");
      ASSERT_NE(edit, nullptr);
      QTest::keyClick(edit, Qt::Key_Return);
    }
  }
  std::string end;
  ASSERT_EQ(axcfg::BuildSettingFile(*doc, axcfg::kAllSections, end), 0u);
  EXPECT_TRUE(doc->IsModified());
  EXPECT_TRUE(s.app.Frame()->Commands().Action(ID_EDIT_UNDO)->isEnabled());

  int undos = 0;
  while (view->OnUpdateEditUndo()) {
    s.app.OnCommand(ID_EDIT_UNDO);
    ++undos;
  }
  EXPECT_EQ(undos, 20);
  EXPECT_FALSE(doc->IsModified()) << "back at the saved state";
  ASSERT_TRUE(s.app.OnFileSave());
  EXPECT_EQ(ReadBytes(dir + "/base.axc"), saved);
  EXPECT_EQ(view->GetCellText(0, 0, move), "0");

  while (view->OnUpdateEditRedo()) s.app.OnCommand(ID_EDIT_REDO);
  std::string redone;
  ASSERT_EQ(axcfg::BuildSettingFile(*doc, axcfg::kAllSections, redone), 0u);
  EXPECT_EQ(redone, end);
  EXPECT_TRUE(doc->IsModified());
  EXPECT_EQ(view->GetCellText(0, 1, move), "1001");
}

TEST_F(EditSafety, ReplaceAllIsUndoneInOneStep) {
  for (int line : {2, 7, 9}) {
    QLineEdit* edit = TypeInto(line, comment, "x");
    ASSERT_NE(edit, nullptr);
    edit->setText(QStringLiteral("go home"));
    QTest::keyClick(edit, Qt::Key_Return);
  }
  view->SetSel(CRect(comment, 0, comment, 0), CPoint(comment, 0));
  EXPECT_TRUE(ReplaceAllComments("home", "start"));
  for (int line : {2, 7, 9}) EXPECT_EQ(doc->GetPosData(line)->GetComment(0), "go start");
  s.app.OnCommand(ID_EDIT_UNDO);
  for (int line : {2, 7, 9}) EXPECT_EQ(doc->GetPosData(line)->GetComment(0), "go home") << line;
  s.app.OnCommand(ID_EDIT_UNDO);
  EXPECT_EQ(doc->GetPosData(9)->GetComment(0), "");
  EXPECT_EQ(doc->GetPosData(7)->GetComment(0), "go home");
}

TEST_F(EditSafety, CutCopiesResetsThroughTheDocumentAndIsUndoneInOneStep) {
  for (int line : {3, 4, 5}) {
    QLineEdit* edit = TypeInto(line, move, "7");
    ASSERT_NE(edit, nullptr);
    edit->setText(QString::number(100 + line));
    QTest::keyClick(edit, Qt::Key_Return);
  }
  const std::string saved = view->GetCellText(0, 3, comment);
  view->SetSel(CRect(move, 3, move, 5), CPoint(move, 3));
  s.app.OnCommand(ID_EDIT_CUT);
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("103\r\n104\r\n105\r\n"));
  for (int line : {3, 4, 5}) {
    EXPECT_EQ(Move(line), 0) << "the row itself is reset, not only the cell shown";
    EXPECT_EQ(view->GetCellText(0, line, move), "0");
  }
  EXPECT_EQ(view->GetCellText(0, 3, comment), saved) << "cells outside the block stay";
  EXPECT_TRUE(doc->IsModified());
  s.app.OnCommand(ID_EDIT_UNDO);
  for (int line : {3, 4, 5}) EXPECT_EQ(Move(line), 100 + line) << "one step brings back the whole block";
  // Pasting the cut block elsewhere gives the values back there.
  view->SetSel(CRect(move, 20, move, 20), CPoint(move, 20));
  s.app.OnCommand(ID_EDIT_PASTE);
  EXPECT_EQ(Move(22), 105);
}

TEST_F(EditSafety, ARowReplacedFromOutsideTheGridIsShownAndUndoneAsAStep) {
  // As teaching does: the document tells its views before and after.
  doc->NotifyRowWillChange(41);
  doc->GetPosData(41)->SetMoveAmount(0, 2468);
  doc->SetModifiedFlag(true);
  doc->UpdateAllViews(nullptr, 41, doc);
  EXPECT_EQ(view->GetCellText(0, 41, move), "2468");
  EXPECT_TRUE(view->OnUpdateEditUndo());
  s.app.OnCommand(ID_EDIT_UNDO);
  EXPECT_EQ(Move(41), 0);
  EXPECT_EQ(view->GetCellText(0, 41, move), "0");
  EXPECT_FALSE(doc->IsModified()) << "back at the state of the new document";
  s.app.OnCommand(ID_EDIT_REDO);
  EXPECT_EQ(Move(41), 2468);
}

TEST_F(EditSafety, HelpStaysUsableWhileADialogIsOpen) {
  // A help page of our own, in the folder the tool reads.
  const std::string folder = HelpFolder(s.app.HelpFile());
  std::filesystem::create_directories(folder);
  std::ofstream(folder + "/2500.html") << "<html><head><title>File property</title></head><body>"
                                          "<a href='index.html'>Contents</a></body></html>";
  std::ofstream(folder + "/index.html") << "<html><head><title>Contents</title></head><body>x</body></html>";
  BlockWatch watch;
  bool helpBlocked = true, frameBlocked = false;
  QString helpTitle;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(ShowHelp(dialog, s.app.HelpFile(), 2500));
    QWidget* help = platform::HelpPageWindow();
    ASSERT_NE(help, nullptr);
    QApplication::processEvents();
    helpTitle = help->windowTitle();
    helpBlocked = watch.IsBlocked(help);
    frameBlocked = watch.IsBlocked(s.app.Frame());
    dialog->reject();
  });
  s.app.OnCommand(ID_FILE_PROPERTIES);
  EXPECT_FALSE(helpBlocked) << "the help window takes input beside the dialog";
  EXPECT_TRUE(frameBlocked) << "the dialog still blocks its own window";
  EXPECT_EQ(helpTitle, QStringLiteral("File property - Axis Configurator"));
  platform::CloseHelpPages();
}

// An upload replaces layout, parameters and rows at once; it is one undo
// step among the grid's edits, and undoing back to the saved file clears
// the modified flag again.
TEST(UploadUndo, AnUploadIsOneStepAmongEditsUndoneToTheSavedFileAndRedone) {
  axcfg_test::TransferUnit unit;
  unit.SetLayout({0x03, 0, 0, 0, 0x0C});  // axes 1 and 2 in group A, axes 3 and 4 alone
  const uint32_t table4axis3 = (4 + 0x85) * 0x20 + 0x5000 * 2;
  unit.Set(table4axis3 + 16, 0x5678);
  unit.Set(table4axis3 + 18, 0x0001);
  keldtest::MessageBoxRecorder boxes;
  boxes.answers = {platform::IDYES};  // the comments are kept
  ScriptedApp s;
  s.app.SetLinkLibrary(&unit, &unit);
  QTimer confirm;  // Yes in the connection confirmation
  QObject::connect(&confirm, &QTimer::timeout, [] {
    if (auto* dialog = qobject_cast<CConnectConfirmDialog*>(QApplication::activeModalWidget())) dialog->accept();
  });
  confirm.start(20);
  ASSERT_TRUE(s.Start());
  CAxisCfgView* view = s.app.View();
  axcfg::CAxisCfgDoc* doc = s.app.Document();
  const std::string dir = keldtest::FreshDir("upload-undo");
  s.saveAnswer = dir + "/base.axc";
  ASSERT_TRUE(s.app.OnFileSaveAs());
  const std::string saved = ReadBytes(dir + "/base.axc");
  auto typeMove = [&](int line, const char* value) {
    const int move = ColumnOfNumber(*view, 0, axcfg::kColFirstMove);
    view->SetSel(CRect(move, line, move, line), CPoint(move, line));
    QTest::keyClicks(view, value);
    QTest::keyClick(view->GetActiveCellEditor(), Qt::Key_Return);
  };
  auto image = [&] {
    std::string bytes;
    axcfg::BuildSettingFile(*doc, axcfg::kAllSections, bytes);
    return bytes;
  };

  typeMove(0, "5");
  const std::string beforeUpload = image();
  s.app.OnCommand(ID_UPLOAD);
  ASSERT_EQ(boxes.Texts().back(), "The upload from the unit completed successfully.");
  ASSERT_EQ(doc->GetTotalAxisCount(), 4);
  EXPECT_EQ(view->GetSheetCount(), 3);
  EXPECT_EQ(doc->GetPosData(4)->GetMoveAmount(2), 0x15678);
  const std::string afterUpload = image();
  typeMove(1, "7");
  const std::string end = image();

  s.app.OnCommand(ID_EDIT_UNDO);
  EXPECT_EQ(image(), afterUpload);
  s.app.OnCommand(ID_EDIT_UNDO);
  EXPECT_EQ(image(), beforeUpload) << "one step takes the whole upload back";
  EXPECT_EQ(doc->GetTotalAxisCount(), 1);
  EXPECT_EQ(view->GetSheetCount(), 1) << "the sheets follow the layout put back";
  EXPECT_EQ(view->GetCellText(0, 0, ColumnOfNumber(*view, 0, axcfg::kColFirstMove)), "5");
  EXPECT_TRUE(doc->IsModified());
  s.app.OnCommand(ID_EDIT_UNDO);
  EXPECT_FALSE(doc->IsModified()) << "back at the saved file";
  EXPECT_FALSE(view->OnUpdateEditUndo());
  ASSERT_TRUE(s.app.OnFileSave());
  EXPECT_EQ(ReadBytes(dir + "/base.axc"), saved);

  for (int i = 0; i < 3; ++i) s.app.OnCommand(ID_EDIT_REDO);
  EXPECT_EQ(image(), end);
  EXPECT_EQ(view->GetSheetCount(), 3);
  EXPECT_TRUE(doc->IsModified());
  EXPECT_FALSE(view->OnUpdateEditRedo());
  s.app.ExitInstance();
}
