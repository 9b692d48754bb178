// The group settings dialog offscreen: its controls by id, dragging axis
// labels with the mouse (each drop rule, the cursor during a drag, Escape and
// a lost grab), the synchronous group blocks and the Initialize button.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "axcfg_data/axcfg_strings.h"
#include "group_area.h"
#include "group_settings_dlg.h"
#include "message_box_recorder.h"
#include "ui_strings.h"

using namespace axcfg;
using axcfgui::CGroupArea;
using axcfgui::CGroupSettingsDlg;

namespace {

QWidget* ById(QWidget* w, int id) {
  for (QWidget* c : w->findChildren<QWidget*>())
    if (c->property("controlId").toInt() == id) return c;
  return nullptr;
}

// Axes 1-6: group A holds axes 1 and 2, group B axes 3, 4, 5 (full), axis 6
// is independent.
CGroupArrangement SixAxes(const SyncGroups& sync = SyncGroups{}) {
  CAxisLayout l;
  l.Clear();
  l.Append(MakeGroupEntry(1, 0x03));
  l.Append(MakeGroupEntry(2, 0x1C));
  l.Append(MakeSingleAxisEntry(5));
  std::array<uint16_t, kAxisCount> codes{};
  return CGroupArrangement(0x3F, l, sync, codes, codes, 0);
}

bool RegisterStrings() {
  RegisterAxisCfgDataStrings();
  axcfgui::RegisterAxisCfgUiStrings();
  return true;
}

struct Shown {
  bool strings = RegisterStrings();
  CGroupArrangement arrangement;
  CGroupSettingsDlg dlg;
  CGroupArea* area;
  explicit Shown(CGroupArrangement a) : arrangement(std::move(a)), dlg(nullptr, arrangement), area(dlg.Area()) {
    dlg.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&dlg));
  }
  QPoint LabelCentre(int axis) const { return area->LabelRect(axis).center(); }
  QPoint TargetCentre(int target) const { return area->TargetRect(target).center(); }
  // A point of the area that is no drop target.
  QPoint Nowhere() const {
    for (int y = 0; y < area->height(); ++y)
      for (int x = 0; x < area->width(); x += 5)
        if (area->TargetAt({x, y}) == kDropNowhere) return {x, y};
    ADD_FAILURE() << "no point outside the targets";
    return {};
  }
  void Drag(int axis, QPoint to) {
    QTest::mousePress(area, Qt::LeftButton, {}, LabelCentre(axis));
    QTest::mouseMove(area, to);
    QTest::mouseRelease(area, Qt::LeftButton, {}, to);
  }
  Qt::CursorShape CursorDuringDragTo(QPoint to) {
    QTest::mouseMove(area, to);
    return area->cursor().shape();
  }
};

std::vector<int> Axes(std::initializer_list<int> a) { return a; }

}  // namespace

TEST(GroupSettingsDlg, ControlsCarryTheirIdsAndLabelsShowTheArrangement) {
  Shown s(SixAxes());
  EXPECT_EQ(s.dlg.windowTitle(), "interpolation group settings");
  auto* caption = qobject_cast<QLabel*>(ById(&s.dlg, 2051));
  ASSERT_NE(caption, nullptr);
  EXPECT_EQ(caption->text(), "Independent");
  EXPECT_EQ(qobject_cast<QGroupBox*>(ById(&s.dlg, 2052))->title(), "Interpolation group");
  for (int g = 0; g < 4; ++g) {
    auto* box = qobject_cast<QGroupBox*>(ById(&s.dlg, 2054 + g));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->title(), QString(QChar(u'A' + g)));
  }
  EXPECT_EQ(qobject_cast<QPushButton*>(ById(&s.dlg, 2063))->text(), "&Initialize");
  EXPECT_EQ(qobject_cast<QGroupBox*>(ById(&s.dlg, 1767))->title(), "Synchronous group");
  EXPECT_EQ(qobject_cast<QCheckBox*>(ById(&s.dlg, 1780))->text(), "Synchronous operation 2");
  auto* behavior = qobject_cast<QComboBox*>(ById(&s.dlg, 1784));
  ASSERT_NE(behavior, nullptr);
  EXPECT_EQ(behavior->itemText(2), "Not available");
  EXPECT_EQ(qobject_cast<QComboBox*>(ById(&s.dlg, 1764))->count(), 8);
  EXPECT_EQ(qobject_cast<QLineEdit*>(ById(&s.dlg, 1760))->maxLength(), 5);

  // Labels sit inside their areas, in member order, and do not overlap;
  // unused axes have none.
  for (int axis = 0; axis < 6; ++axis) {
    const QRect r = s.area->LabelRect(axis);
    ASSERT_FALSE(r.isEmpty()) << axis;
    EXPECT_TRUE(s.area->TargetRect(s.arrangement.GroupOf(axis)).contains(r)) << axis;
    for (int other = 0; other < axis; ++other) EXPECT_FALSE(r.intersects(s.area->LabelRect(other)));
  }
  EXPECT_TRUE(s.area->LabelRect(6).isEmpty());
  EXPECT_LT(s.area->LabelRect(2).top(), s.area->LabelRect(3).top());
  // The caption has the focus and the label pressed is the one highlighted.
  EXPECT_TRUE(caption->hasFocus());
  QTest::mousePress(s.area, Qt::LeftButton, {}, s.LabelCentre(3));
  QTest::mouseRelease(s.area, Qt::LeftButton, {}, s.LabelCentre(3));
  EXPECT_EQ(s.area->SelectedAxis(), 3);
  EXPECT_TRUE(s.area->IsHighlighted(3));
  EXPECT_FALSE(s.area->IsHighlighted(2));
}

TEST(GroupSettingsDlg, DraggingLabelsFollowsTheDropRules) {
  Shown s(SixAxes());
  CGroupArrangement& a = s.arrangement;

  // A full group refuses, and the cursor says so before the release.
  QTest::mousePress(s.area, Qt::LeftButton, {}, s.LabelCentre(5));
  EXPECT_EQ(s.area->DraggedAxis(), 5);
  EXPECT_EQ(s.CursorDuringDragTo(s.TargetCentre(1)), CGroupArea::kInvalidTargetCursor);
  EXPECT_EQ(s.CursorDuringDragTo(s.TargetCentre(kDropIndependent)), CGroupArea::kInvalidTargetCursor);
  EXPECT_EQ(s.CursorDuringDragTo(s.Nowhere()), CGroupArea::kInvalidTargetCursor);
  EXPECT_EQ(s.CursorDuringDragTo(s.TargetCentre(2)), CGroupArea::kValidTargetCursor);
  QTest::mouseRelease(s.area, Qt::LeftButton, {}, s.TargetCentre(1));
  EXPECT_EQ(s.area->DraggedAxis(), -1);
  EXPECT_EQ(a.Members(1), Axes({2, 3, 4}));
  EXPECT_EQ(a.GroupOf(5), kDropIndependent);
  EXPECT_NE(s.area->cursor().shape(), CGroupArea::kInvalidTargetCursor);

  // An independent axis becomes the last member of a group.
  s.Drag(5, s.TargetCentre(0));
  EXPECT_EQ(a.Members(0), Axes({0, 1, 5}));
  // A member of another group leaves it and joins the target at the end.
  s.Drag(0, s.TargetCentre(2));
  EXPECT_EQ(a.Members(0), Axes({1, 5}));
  EXPECT_EQ(a.Members(2), Axes({0}));
  // A member dropped on the independent area leaves its group; the rest keep their order.
  s.Drag(3, s.TargetCentre(kDropIndependent));
  EXPECT_EQ(a.Members(1), Axes({2, 4}));
  EXPECT_EQ(a.Independent(), Axes({3}));
  // Its own group, the independent area for an independent axis and
  // outside all areas change nothing.
  const CAxisLayout before = a.Layout();
  s.Drag(2, s.TargetCentre(1));
  s.Drag(3, s.TargetCentre(kDropIndependent));
  s.Drag(4, s.Nowhere());
  EXPECT_EQ(a.Layout(), before);
  EXPECT_EQ(a.Members(1), Axes({2, 4}));
  // The labels follow: axis 1 is now drawn in box C.
  EXPECT_TRUE(s.area->TargetRect(2).contains(s.area->LabelRect(0)));
}

TEST(GroupSettingsDlg, EscapeAndALostGrabEndTheDragNotTheDialog) {
  Shown s(SixAxes());
  const CAxisLayout before = s.arrangement.Layout();

  QTest::mousePress(s.area, Qt::LeftButton, {}, s.LabelCentre(5));
  EXPECT_EQ(s.CursorDuringDragTo(s.TargetCentre(3)), CGroupArea::kValidTargetCursor);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  EXPECT_EQ(s.area->DraggedAxis(), -1);
  EXPECT_NE(s.area->cursor().shape(), CGroupArea::kValidTargetCursor);
  QTest::mouseRelease(s.area, Qt::LeftButton, {}, s.TargetCentre(3));
  EXPECT_EQ(s.arrangement.Layout(), before);
  EXPECT_TRUE(s.dlg.isVisible());
  EXPECT_EQ(s.dlg.result(), QDialog::Rejected);  // never closed

  // Without a drag Escape is the dialog's Cancel again.
  QTest::mousePress(s.area, Qt::LeftButton, {}, s.LabelCentre(0));
  QEvent deactivate(QEvent::WindowDeactivate);
  QApplication::sendEvent(s.area, &deactivate);
  EXPECT_EQ(s.area->DraggedAxis(), -1);
  QTest::mouseRelease(s.area, Qt::LeftButton, {}, s.TargetCentre(kDropIndependent));
  EXPECT_EQ(s.arrangement.Layout(), before);
  EXPECT_TRUE(s.dlg.isVisible());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  EXPECT_FALSE(s.dlg.isVisible());
}

TEST(GroupSettingsDlg, TheKeyboardMovesTheSelectedAxisWhileTheCaptionHasTheFocus) {
  Shown s(SixAxes());
  QLabel* caption = s.area->IndependentCaption();
  ASSERT_TRUE(caption->hasFocus());
  // Drawing order: axis 6, then A (1, 2), then B (3, 4, 5).
  QTest::keyClick(caption, Qt::Key_Right);
  EXPECT_EQ(s.area->SelectedAxis(), 5);
  EXPECT_TRUE(s.area->IsHighlighted(5));
  QTest::keyClick(caption, Qt::Key_Down);
  EXPECT_EQ(s.area->SelectedAxis(), 0);
  QTest::keyClick(caption, Qt::Key_C);
  EXPECT_EQ(s.arrangement.Members(2), Axes({0}));
  EXPECT_EQ(s.arrangement.Members(0), Axes({1}));
  QTest::keyClick(caption, Qt::Key_B);  // B is full
  EXPECT_EQ(s.arrangement.Members(2), Axes({0}));
  QTest::keyClick(caption, Qt::Key_Delete);
  EXPECT_EQ(s.arrangement.Independent(), Axes({0, 5}));
  QTest::keyClick(caption, Qt::Key_Left);
  QTest::keyClick(caption, Qt::Key_Left);
  EXPECT_EQ(s.area->SelectedAxis(), 0) << "the first label stays selected";
  // Another control with the focus: the keys are its own.
  s.dlg.Block(0).on->setFocus();
  QTest::keyClick(s.dlg.Block(0).on, Qt::Key_A);
  EXPECT_EQ(s.arrangement.Members(0), Axes({1}));
  EXPECT_FALSE(s.area->IsHighlighted(0));
  EXPECT_TRUE(s.dlg.isVisible());
}

TEST(GroupSettingsDlg, SyncBlocksEnableWithTheirCheckBoxAndStoreOnlyWhatChanged) {
  keldtest::MessageBoxRecorder boxes;
  // Group 1 off with masks 0 and a difference value outside the range, as
  // a file may carry it.
  SyncGroups stored{};
  stored[0].masterMask = 0;
  stored[0].slaveMask = 0;
  stored[0].difference = 0;
  stored[0].differenceBehavior = 2;
  Shown s(SixAxes(stored));
  const CGroupSettingsDlg::SyncControls& b1 = s.dlg.Block(0);
  EXPECT_FALSE(b1.on->isChecked());
  EXPECT_FALSE(b1.master->isEnabled());
  EXPECT_FALSE(b1.difference->isEnabled());
  EXPECT_EQ(b1.master->currentText(), "1");
  EXPECT_EQ(b1.behavior->currentIndex(), 2);

  // OK with nothing touched keeps the switched-off record as stored.
  s.dlg.accept();
  EXPECT_EQ(s.dlg.result(), QDialog::Accepted);
  EXPECT_EQ(s.arrangement.Sync(), stored);
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST(GroupSettingsDlg, FailingOkStaysOpenWithItsMessage) {
  keldtest::MessageBoxRecorder boxes;
  std::array<uint16_t, kAxisCount> home{};
  home[1] = 5;  // Phase Z on axis 2
  CAxisLayout l;
  l.Clear();
  for (int a = 0; a < 4; ++a) l.Append(MakeSingleAxisEntry(a));
  Shown s(CGroupArrangement(0x0F, l, SyncGroups{}, home, std::array<uint16_t, kAxisCount>{}, 0));
  const CGroupSettingsDlg::SyncControls& b1 = s.dlg.Block(0);

  QTest::mouseClick(b1.on, Qt::LeftButton);
  EXPECT_TRUE(b1.on->isChecked());
  EXPECT_TRUE(b1.master->isEnabled());
  b1.mode->setCurrentIndex(1);
  b1.master->setCurrentIndex(1);
  b1.slave->setCurrentIndex(1);
  s.dlg.accept();
  EXPECT_EQ(s.dlg.result(), QDialog::Rejected);
  EXPECT_EQ(boxes.Texts().back(), "The setting for the synchronous group \"1\" is incorrect.");
  EXPECT_EQ(boxes.boxes.back().type, platform::MB_OK | platform::MB_ICONEXCLAMATION);

  // A slave inside an interpolation group is refused.
  b1.slave->setCurrentIndex(2);
  s.Drag(2, s.TargetCentre(2));
  s.dlg.accept();
  EXPECT_EQ(boxes.Texts().back(), "The setting for the slave axis of the synchronous group\"1\" is incorrect.");
  s.Drag(2, s.TargetCentre(kDropIndependent));

  // 70000 fits the edit but not the field.
  b1.difference->selectAll();
  QTest::keyClicks(b1.difference, "70000");
  EXPECT_EQ(b1.difference->text(), "70000");
  s.dlg.accept();
  EXPECT_EQ(boxes.Texts().back(), "The input value is out of the allowable range.\n(Setting range 1 - 32767)");
  EXPECT_TRUE(s.dlg.isVisible());

  b1.difference->setText("700");
  s.dlg.accept();
  EXPECT_EQ(s.dlg.result(), QDialog::Accepted);
  EXPECT_EQ(boxes.Texts().back(),
            "The home return method for the synchronous group is incorrect. \nThe method has been changed as "
            "below.\n\nSynchronous group1   5:Phase Z method -> 8:Data set   ");
  const CSyncGroupRecord& r = s.arrangement.Sync()[0];
  EXPECT_EQ(r.operation, 1u);
  EXPECT_EQ(r.mode, 1);
  EXPECT_EQ(r.masterMask, 0x02);
  EXPECT_EQ(r.slaveMask, 0x04);
  EXPECT_EQ(r.difference, 700);
  EXPECT_EQ(s.arrangement.HomeCodes()[1], 8);
  // The untouched second block stays a reset record.
  EXPECT_EQ(s.arrangement.Sync()[1], CSyncGroupRecord());
}

TEST(GroupSettingsDlg, InitializeAsksAndResetsOnlyOnYes) {
  keldtest::MessageBoxRecorder boxes;
  SyncGroups sync{};
  sync[1].operation = 1;
  sync[1].masterMask = 0x01;
  sync[1].slaveMask = 0x20;
  sync[1].difference = 55;
  Shown s(SixAxes(sync));
  EXPECT_TRUE(s.dlg.Block(1).on->isChecked());
  const CAxisLayout before = s.arrangement.Layout();

  boxes.answers = {platform::IDNO};
  QTest::mouseClick(s.dlg.InitializeButton(), Qt::LeftButton);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "Initialize the setting for the interpolation and synchronous groups.\nIs it OK?");
  EXPECT_EQ(boxes.boxes[0].type, platform::MB_YESNO | platform::MB_ICONQUESTION | platform::MB_DEFBUTTON2);
  EXPECT_EQ(s.arrangement.Layout(), before);
  EXPECT_TRUE(s.dlg.Block(1).on->isChecked());

  boxes.answers = {platform::IDYES};
  QTest::mouseClick(s.dlg.InitializeButton(), Qt::LeftButton);
  EXPECT_EQ(s.arrangement.Independent(), Axes({0, 1, 2, 3, 4, 5}));
  for (int g = 0; g < 4; ++g) EXPECT_TRUE(s.arrangement.Members(g).empty());
  EXPECT_FALSE(s.dlg.Block(1).on->isChecked());
  EXPECT_FALSE(s.dlg.Block(1).master->isEnabled());
  EXPECT_EQ(s.dlg.Block(1).difference->text(), "10000");
  for (int axis = 0; axis < 6; ++axis)
    EXPECT_TRUE(s.area->TargetRect(kDropIndependent).contains(s.area->LabelRect(axis))) << axis;
  s.dlg.accept();
  EXPECT_EQ(s.arrangement.Sync(), SyncGroups{});
}
