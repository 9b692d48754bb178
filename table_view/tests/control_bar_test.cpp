// The docking bar: resizing by its edge with the 32-pixel minimum and the
// cancel on losing the mouse, its buttons by docking state, its menu.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>

#include "axview/control_bar_ex.h"

namespace {

class MenuBar : public CControlBarEx {
 public:
  std::vector<UINT> menusAsked;

 protected:
  std::unique_ptr<QMenu> CreateContextMenu(UINT id) override {
    menusAsked.push_back(id);
    return nullptr;
  }
};

class ControlBar : public ::testing::Test {
 protected:
  void SetUp() override {
    central = new QWidget;
    frame.setCentralWidget(central);
    frame.resize(800, 600);
    ASSERT_TRUE(bar.Create(&frame, 0xE810, "Monitor", CSize(300, 120)));
    frame.show();
    QApplication::processEvents();
  }
  QWidget* Frame() { return bar.widget(); }
  void Send(QEvent::Type type, QPoint local, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent e(type, QPointF(local), QPointF(Frame()->mapToGlobal(local)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(Frame(), &e);
  }
  void DragEdge(int dy, bool release) {
    const QPoint start = bar.EdgeRect().center();
    Send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    Send(QEvent::MouseMove, start + QPoint(0, dy), Qt::NoButton, Qt::LeftButton);
    if (release) Send(QEvent::MouseButtonRelease, start + QPoint(0, dy), Qt::LeftButton, Qt::NoButton);
  }
  QMainWindow frame;
  QWidget* central = nullptr;
  MenuBar bar;
};

}  // namespace

TEST_F(ControlBar, DockedAtTheTopWithTheEdgeBelow) {
  EXPECT_TRUE(bar.IsHorzDocked());
  EXPECT_FALSE(bar.IsFloating());
  EXPECT_EQ(bar.GetDockingSide(), static_cast<UINT>(AFX_IDW_DOCKBAR_TOP));
  EXPECT_EQ(bar.height(), 120);
  const QRect edge = bar.EdgeRect();
  EXPECT_EQ(edge.height(), CControlBarEx::kEdgeWidth);
  EXPECT_EQ(edge.bottom(), Frame()->height() - 1);
  EXPECT_EQ(bar.CalcFixedLayout(1, 1), CSize(32767, 120));
}

TEST_F(ControlBar, DraggingTheEdgeResizesButNeverBelow32Pixels) {
  DragEdge(40, true);
  QApplication::processEvents();
  EXPECT_EQ(bar.HorzSize().cy, 160);
  EXPECT_EQ(bar.height(), 160);
  DragEdge(-300, true);
  QApplication::processEvents();
  EXPECT_EQ(bar.HorzSize().cy, CControlBarEx::kMinSize);
  EXPECT_EQ(bar.height(), CControlBarEx::kMinSize);
  EXPECT_FALSE(bar.IsTracking());
}

TEST_F(ControlBar, LosingTheMouseCancelsTheDragAndKeepsTheSize) {
  DragEdge(-50, false);
  EXPECT_TRUE(bar.IsTracking());
  QEvent deactivate(QEvent::WindowDeactivate);
  QApplication::sendEvent(&bar, &deactivate);
  EXPECT_FALSE(bar.IsTracking());
  QApplication::processEvents();
  EXPECT_EQ(bar.HorzSize().cy, 120);
  EXPECT_EQ(bar.height(), 120);
  // The release that follows changes nothing.
  Send(QEvent::MouseButtonRelease, bar.EdgeRect().center(), Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(bar.HorzSize().cy, 120);
}

TEST_F(ControlBar, ButtonsShowOnlyWhileDocked) {
  auto* hide = bar.findChild<QAbstractButton*>("barButton1000");
  auto* toggle = bar.findChild<QAbstractButton*>("barButton1001");
  ASSERT_NE(hide, nullptr);
  ASSERT_NE(toggle, nullptr);
  EXPECT_TRUE(hide->isVisible());
  EXPECT_FALSE(hide->toolTip().isEmpty());
  toggle->click();
  QApplication::processEvents();
  EXPECT_TRUE(bar.IsFloating());
  EXPECT_FALSE(hide->isVisible());
  EXPECT_TRUE(bar.EdgeRect().isEmpty()) << "a floating bar has no edge";
  bar.setFloating(false);
  QApplication::processEvents();
  EXPECT_TRUE(bar.IsHorzDocked());
  EXPECT_TRUE(hide->isVisible());
  frame.addDockWidget(Qt::LeftDockWidgetArea, &bar);
  QApplication::processEvents();
  EXPECT_TRUE(bar.IsVertDocked());
  EXPECT_EQ(bar.EdgeRect().right(), Frame()->width() - 1);
  hide->click();
  EXPECT_FALSE(bar.isVisible());
}

TEST_F(ControlBar, ContextMenuOnlyWithAMenuId) {
  QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(20, 20), bar.mapToGlobal(QPoint(20, 20)));
  QApplication::sendEvent(&bar, &click);
  EXPECT_TRUE(bar.menusAsked.empty());
  bar.SetMenuID(128);
  QApplication::sendEvent(&bar, &click);
  EXPECT_EQ(bar.menusAsked, std::vector<UINT>{128});
}

TEST_F(ControlBar, FloatingLayoutKeepsTheMinimum) {
  EXPECT_EQ(bar.CalcDynamicLayout(10, LM_LENGTHY), CSize(300, 32));
  EXPECT_EQ(bar.CalcDynamicLayout(250, 0), CSize(250, 32)) << "a width asked for is not stored";
  EXPECT_EQ(bar.CalcDynamicLayout(0, LM_MRUWIDTH), CSize(300, 32));
  EXPECT_EQ(bar.CalcDynamicLayout(260, LM_COMMIT), CSize(260, 32));
}

TEST_F(ControlBar, FloatedBarTakesItsFloatingSizeNotTheDockedWidth) {
  ASSERT_GT(bar.width(), 700) << "docked at the top, the bar spans the window";
  bar.findChild<QAbstractButton*>("barButton1001")->click();
  QApplication::processEvents();
  ASSERT_TRUE(bar.IsFloating());
  EXPECT_EQ(bar.size(), QSize(300, 120));
  bar.setFloating(false);
  QApplication::processEvents();
  bar.SetFloatSize(CSize(420, 180));
  bar.setFloating(true);
  QApplication::processEvents();
  EXPECT_EQ(bar.size(), QSize(420, 180));
}
