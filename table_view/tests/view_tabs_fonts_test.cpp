// The sheet tab bar, the cell font and the resources in force during the
// view's notifications.
#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QSignalSpy>
#include <QTimer>

#include "axview/helpers.h"
#include "platform/registry.h"
#include "font_size_dialog.h"
#include "view_fixture.h"

namespace {

// Records which resources were in force in each notification.
class ResourceView : public CTableView {
 public:
  std::vector<std::pair<std::string, bool>> calls;

 protected:
  void OnSheetChanged(int sheet) override {
    calls.emplace_back("sheet", LibraryResourcesInForce());
    CTableView::OnSheetChanged(sheet);
  }
  void OnCursorMoved(int, int) override { calls.emplace_back("cursor", LibraryResourcesInForce()); }
  void OnCellChanged(int, int) override { calls.emplace_back("cell", LibraryResourcesInForce()); }
};

void Click(QWidget* target, QPoint local) {
  for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent e(type, QPointF(local), QPointF(target->mapToGlobal(local)), Qt::LeftButton,
                  type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &e);
  }
}

class ViewTabs : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < 12; ++i) {
      view.InsertSheet(i, ("Positioning table of axis " + std::to_string(i + 1)).c_str());
      view.InsertColumn(i, 0, "Value", 1);
      view.InsertLine(i, 0, std::to_string(i).c_str());
    }
    ShowView(view, QSize(500, 300));
    tabs = view.viewport()->childAt(QPoint(2, view.viewport()->height() - 3));
    ASSERT_NE(tabs, nullptr);
  }
  QPoint Button(int index) { return QPoint(index * view.GetLineHeight() + view.GetLineHeight() / 2, view.GetLineHeight() / 2); }
  QPoint FirstShownTab() { return QPoint(4 * view.GetLineHeight() + 1 + 2 * view.GetLineHeight(), view.GetLineHeight() / 2); }

  RecordingView view;
  QWidget* tabs = nullptr;
};

}  // namespace

TEST_F(ViewTabs, ClickingATabSwitchesTheSheetAndTellsTheParent) {
  QSignalSpy changed(&view, &CTableView::sheetTabChanged);
  Click(tabs, QPoint(4 * view.GetLineHeight() + 1 + view.GetLineHeight() + 300, view.GetLineHeight() / 2));
  ASSERT_EQ(view.GetSelSheet(), 1) << "the second tab lies right of the first";
  EXPECT_EQ(view.sheetChanges, std::vector<int>{1});
  ASSERT_EQ(changed.count(), 1);
  EXPECT_EQ(view.GetCellText(1, 0, 0), "1");
  Click(tabs, QPoint(4 * view.GetLineHeight() + 1 + view.GetLineHeight() + 300, view.GetLineHeight() / 2));
  EXPECT_EQ(changed.count(), 1) << "the current tab again changes nothing";
}

TEST_F(ViewTabs, ScrollButtonsMoveTheStripByWholeTabs) {
  EXPECT_EQ(view.GetFirstVisibleTab(), 0);
  Click(tabs, Button(1));  // "previous" at the start: disabled
  EXPECT_EQ(view.GetFirstVisibleTab(), 0);
  Click(tabs, Button(2));
  EXPECT_EQ(view.GetFirstVisibleTab(), 1);
  Click(tabs, Button(2));
  EXPECT_EQ(view.GetFirstVisibleTab(), 2);
  Click(tabs, Button(1));
  EXPECT_EQ(view.GetFirstVisibleTab(), 1);
  Click(tabs, Button(3));
  const int last = view.GetFirstVisibleTab();
  EXPECT_GT(last, 1);
  Click(tabs, Button(2));  // the last tab shows already: "next" does nothing
  EXPECT_EQ(view.GetFirstVisibleTab(), last);
  Click(tabs, FirstShownTab());
  EXPECT_EQ(view.GetSelSheet(), last);
  Click(tabs, Button(0));
  EXPECT_EQ(view.GetFirstVisibleTab(), 0);
  EXPECT_EQ(view.GetSelSheet(), last) << "scrolling the strip selects nothing";
}

TEST_F(ViewTabs, SwitchingToAHiddenTabScrollsItIntoView) {
  view.SetSelSheet(11);
  EXPECT_GT(view.GetFirstVisibleTab(), 0);
  QTest::keyClick(&view, Qt::Key_PageUp, Qt::ControlModifier);
  EXPECT_EQ(view.GetSelSheet(), 10);
  view.SetSelSheet(0);
  EXPECT_EQ(view.GetFirstVisibleTab(), 0);
  EXPECT_EQ(view.DeleteSheet(0), 1);
  EXPECT_EQ(view.GetSelSheet(), 0);
  EXPECT_EQ(view.GetCellText(0, 0, 0), "1") << "the following sheet is shown";
}

TEST(ViewResources, NotificationsRunWithTheResourcesTheOwnerExpects) {
  KELDExSetLanguage(0);
  ResourceView view;
  view.InsertSheet(0, "s");
  view.InsertColumn(0, 0, "c", 0);
  view.InsertLine(0, 0, "a\r\n");
  view.resize(400, 300);
  view.show();
  view.OnInitialUpdate();
  ASSERT_EQ(view.calls.size(), 2u);
  EXPECT_EQ(view.calls[0], std::make_pair(std::string("sheet"), true)) << "initial update: library resources";
  EXPECT_EQ(view.calls[1], std::make_pair(std::string("cursor"), false)) << "the owner's own resources";
  view.SetCellText(0, 0, 0, "b");
  EXPECT_EQ(view.calls.back(), std::make_pair(std::string("cell"), true));
  EXPECT_FALSE(LibraryResourcesInForce());
  KELDExSetLanguage(1);
}

TEST(ViewFont, FontComesFromAndGoesToTheRegistry) {
  using platform::Hive;
  using platform::Registry;
  SetAppRegistryKey("KELD\\Grid Test");
  const std::string app = "Software\\KELD\\Grid Test", key = app + "\\LogFont";
  auto sizeOf = [](const CTableView& view) {
    LOGFONT lf;
    int size = 0;
    view.GetLogFont(&lf, size);
    return std::make_pair(size, lf);
  };
  {
    RecordingView fresh;  // no key yet: the system font at 9 points
    EXPECT_EQ(sizeOf(fresh).first, 90);
    EXPECT_EQ(sizeOf(fresh).second.lfWeight, 400);
    fresh.SetDrawingFont(sizeOf(fresh).second, 120);
    EXPECT_EQ(fresh.GetLineHeight(), 24);
    EXPECT_EQ(fresh.GetFont()->pointSize(), 12);
    // The choice is kept even before the application wrote anything.
    EXPECT_EQ(Registry::ReadDword(Hive::CurrentUser, key, "iPointSize"), 120u);
  }
  {
    RecordingView view;
    EXPECT_EQ(sizeOf(view).first, 120);
    EXPECT_EQ(view.GetLineHeight(), 24);
    LOGFONT lf = sizeOf(view).second;
    lf.lfWeight = 700;
    view.SetDrawingFont(lf, 140);
  }
  {
    RecordingView view;
    EXPECT_EQ(sizeOf(view).first, 140);
    EXPECT_EQ(sizeOf(view).second.lfWeight, 700);
    EXPECT_EQ(view.GetLineHeight(), 28);
    EXPECT_TRUE(view.GetFont()->bold());
  }
  Registry::DeleteKey(Hive::CurrentUser, key);
  ASSERT_TRUE(Registry::KeyExists(Hive::CurrentUser, app));
  {
    RecordingView view;  // the key without font values: the defaults
    EXPECT_EQ(sizeOf(view).first, 90);
    EXPECT_EQ(sizeOf(view).second.lfHeight, -12);
    EXPECT_STREQ(sizeOf(view).second.lfFaceName, "MS UI Gothic");
    EXPECT_EQ(view.GetLineHeight(), 18);
  }
  Registry::WriteDword(Hive::CurrentUser, key, "iPointSize", 0);
  {
    RecordingView zero;
    EXPECT_EQ(sizeOf(zero).first, 90) << "a size below 1 reads as 9 points";
  }
  SetAppRegistryKey("");
}

namespace {

// Answers the next font dialog: checks what it offers, then picks a size
// (or cancels with 0).
void AnswerFontDialog(int points, QList<int>* offered) {
  QTimer::singleShot(0, [points, offered] {
    auto* dialog = qobject_cast<axview::CFontSizeDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    *offered = dialog->OfferedSizes();
    if (points == 0) {
      dialog->reject();
      return;
    }
    dialog->SelectSize(points);
    dialog->accept();
  });
}

}  // namespace

TEST(ViewFont, FontDialogOffersOnlyTheSizesTheGridDraws) {
  SetAppRegistryKey("KELD\\Font Dialog Test");
  RecordingView view;
  ShowView(view, QSize(400, 300));
  LOGFONT lf;
  int size = 0;
  QList<int> offered;
  AnswerFontDialog(13, &offered);
  view.ChangeDrawingElements();
  EXPECT_EQ(offered, (QList<int>{8, 9, 10, 11, 12, 13, 14}));
  view.GetLogFont(&lf, size);
  EXPECT_EQ(size, 130);
  EXPECT_EQ(view.GetFont()->pointSize(), 13);

  AnswerFontDialog(0, &offered);
  view.ChangeDrawingElements();
  view.GetLogFont(&lf, size);
  EXPECT_EQ(size, 130) << "Cancel keeps the font";

  // A size outside the range is brought into it, never offered or taken.
  axview::CFontSizeDialog dialog(QFont(QStringLiteral("Sans"), 20));
  EXPECT_EQ(dialog.SelectedFont().pointSize(), 14);
  dialog.SelectSize(3);
  EXPECT_EQ(dialog.SelectedFont().pointSize(), 8);
  SetAppRegistryKey("");
}
