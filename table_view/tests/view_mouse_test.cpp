// Mouse, wheel, headers, geometry and painting of the table view.
#include <gtest/gtest.h>

#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QWheelEvent>

#include "view_fixture.h"

namespace {

class ViewMouse : public ::testing::Test {
 protected:
  void SetUp() override {
    FillView(view);
    ShowView(view);
  }

  // Sends a mouse event to whatever widget of the view lies at a viewport point
  // (or to `target` when given, as a grabbing widget would receive it).
  void Mouse(QEvent::Type type, QPoint viewportPos, Qt::MouseButton button, Qt::MouseButtons buttons,
             QWidget* target = nullptr) {
    if (!target) {
      target = view.viewport()->childAt(viewportPos);
      if (!target) target = view.viewport();
    }
    const QPoint local = target == view.viewport() ? viewportPos : target->mapFrom(view.viewport(), viewportPos);
    QMouseEvent event(type, QPointF(local), QPointF(target->mapToGlobal(local)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
  }
  void Press(QPoint p, QWidget* t = nullptr) { Mouse(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton, t); }
  void Drag(QPoint p, QWidget* t = nullptr) { Mouse(QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton, t); }
  void Release(QPoint p, QWidget* t = nullptr) { Mouse(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton, t); }

  void Wheel(int delta) {
    QPoint p = CellCentre(view, view.GetTopLine(), 0);
    QWheelEvent event(QPointF(p), QPointF(view.viewport()->mapToGlobal(p)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view.viewport(), &event);
  }

  QWidget* ColumnHeader() { return view.viewport()->childAt(QPoint(view.GetLineHeaderWidth() + 3, 2)); }
  QWidget* LineHeader() { return view.viewport()->childAt(QPoint(2, view.GetLineHeight() + 2)); }
  // The viewport x of a column's right edge (its header divider).
  int DividerX(int column) { return view.GetCellRect(view.GetTopLine(), column).right; }

  QImage Render() {
    QImage image(view.viewport()->size(), QImage::Format_RGB32);
    view.viewport()->render(&image);
    return image;
  }

  RecordingView view;
};

}  // namespace

TEST_F(ViewMouse, ClickSelectsACellAndDraggingSpansFromTheCursor) {
  Press(CellCentre(view, 2, 1));
  EXPECT_EQ(Sel(view), CRect(1, 2, 1, 2));
  EXPECT_EQ(Cur(view), CPoint(1, 2));
  Drag(CellCentre(view, 4, 3));
  EXPECT_EQ(Sel(view), CRect(1, 2, 3, 4));
  Drag(CellCentre(view, 0, 0));
  EXPECT_EQ(Sel(view), CRect(0, 0, 1, 2));
  EXPECT_EQ(Cur(view), CPoint(1, 2));
  Release(CellCentre(view, 0, 0));
  Drag(CellCentre(view, 5, 5));  // no longer captured
  EXPECT_EQ(Sel(view), CRect(0, 0, 1, 2));
  EXPECT_EQ(view.cursorMoves.size(), 1u);
}

TEST_F(ViewMouse, ClicksOutsideTheCellsSelectNothingAndCaptureNothing) {
  view.SetSelSheet(1);  // ten lines, three narrow columns: room below and right
  view.SetSel(CRect(1, 1, 1, 1), CPoint(1, 1));
  const CRect last = view.GetCellRect(9, 2);
  const QPoint below(CellCentre(view, 9, 0).x(), last.bottom + view.GetLineHeight() / 2);
  const QPoint right(last.right + 20, CellCentre(view, 3, 0).y());
  for (QPoint p : {below, right}) {
    int line = 7, column = 7;
    EXPECT_EQ(view.PointToCellPos(CPoint(p.x(), p.y()), line, column), 0);
    EXPECT_EQ(line, -1);
    EXPECT_EQ(column, -1);
    Press(p);
    Drag(CellCentre(view, 5, 0));
    Release(CellCentre(view, 5, 0));
    EXPECT_EQ(Sel(view), CRect(1, 1, 1, 1));
  }
}

TEST_F(ViewMouse, EveryWheelNotchScrollsThreeLines) {
  for (int delta : {-120, -1, -1200}) {
    const int before = view.GetTopLine();
    Wheel(delta);
    EXPECT_EQ(view.GetTopLine(), before + 3) << delta;
  }
  Wheel(15);
  EXPECT_EQ(view.GetTopLine(), 6);
  Wheel(0);
  EXPECT_EQ(view.GetTopLine(), 3);
  for (int i = 0; i < 5; ++i) Wheel(120);
  EXPECT_EQ(view.GetTopLine(), 0);
  for (int i = 0; i < 60; ++i) Wheel(-120);
  EXPECT_EQ(view.GetTopLine(), 100 - view.GetPageLines()) << "never past the last page";
}

TEST_F(ViewMouse, ResizingAColumnKeeps25To500PixelsAndShiftsTheRest) {
  QWidget* header = ColumnHeader();
  ASSERT_NE(header, nullptr);
  const int h = view.GetLineHeight() / 2;
  const CRect before2 = view.GetCellRect(0, 2);
  int left = view.GetCellRect(0, 1).left;
  Press(QPoint(DividerX(1) - 1, h), header);
  Drag(QPoint(left + 10, h), header);
  Release(QPoint(left + 10, h), header);
  EXPECT_EQ(view.GetColumnProp(0, 1)->m_extent.Width(), 25);
  EXPECT_EQ(view.GetCellRect(0, 2).left, before2.left - 55) << "later columns follow";

  left = view.GetCellRect(0, 1).left;
  Press(QPoint(DividerX(1) + 2, h), header);
  Release(QPoint(left + 900, h), header);
  EXPECT_EQ(view.GetColumnProp(0, 1)->m_extent.Width(), 500);
  EXPECT_EQ(view.GetColumnProp(0, 2)->m_extent.left, view.GetColumnProp(0, 1)->m_extent.right);
  EXPECT_EQ(Sel(view), CRect(0, 0, 0, 0)) << "resizing selects nothing";
}

TEST_F(ViewMouse, DividerDoubleClickRestoresTheStandardWidth) {
  view.SetSelSheet(1);
  QWidget* header = ColumnHeader();
  CColumnProp* speed = view.GetColumnProp(1, 0);
  const int standard = speed->m_standardWidth;
  ASSERT_GT(standard, 10);
  EXPECT_EQ(speed->m_extent.Width(), standard) << "laid out by its title";
  const int h = view.GetLineHeight() / 2;
  Press(QPoint(DividerX(0), h), header);
  Release(QPoint(view.GetCellRect(0, 0).left + 200, h), header);
  ASSERT_EQ(speed->m_extent.Width(), 200);
  Mouse(QEvent::MouseButtonDblClick, QPoint(DividerX(0), h), Qt::LeftButton, Qt::LeftButton, header);
  EXPECT_EQ(speed->m_extent.Width(), standard);
  EXPECT_EQ(view.GetColumnProp(1, 1)->m_extent.left, standard);
}

TEST_F(ViewMouse, HeadersSelectWholeColumnsAndLines) {
  QWidget* columns = ColumnHeader();
  const int y = view.GetLineHeight() / 2;
  Press(QPoint(CellCentre(view, 0, 2).x(), y), columns);
  EXPECT_EQ(Sel(view), CRect(2, 0, 2, 99));
  EXPECT_EQ(Cur(view), CPoint(2, 0));
  Drag(QPoint(CellCentre(view, 0, 4).x(), y), columns);
  Release(QPoint(CellCentre(view, 0, 4).x(), y), columns);
  EXPECT_EQ(Sel(view), CRect(2, 0, 4, 99));
  EXPECT_EQ(Cur(view), CPoint(2, 0));

  QWidget* lines = LineHeader();
  ASSERT_NE(lines, nullptr);
  ASSERT_NE(lines, columns);
  Press(QPoint(5, CellCentre(view, 3, 0).y()), lines);
  EXPECT_EQ(Sel(view), CRect(0, 3, 5, 3));
  EXPECT_EQ(Cur(view), CPoint(0, 3));
  Drag(QPoint(5, CellCentre(view, 1, 0).y()), lines);
  Release(QPoint(5, CellCentre(view, 1, 0).y()), lines);
  EXPECT_EQ(Sel(view), CRect(0, 1, 5, 3));
}

TEST_F(ViewMouse, CellGeometryFollowsTopLineAndScroll) {
  const int h = view.GetLineHeight(), w = view.GetLineHeaderWidth();
  EXPECT_EQ(w, 60);
  EXPECT_EQ(view.GetCellRect(0, 1), CRect(w + 80, h, w + 160, 2 * h));
  view.EnsureVisible(50, 5);
  const int top = view.GetTopLine();
  EXPECT_EQ(top, 50 - view.GetPageLines() + 1);
  const CRect cell = view.GetCellRect(50, 2);
  EXPECT_EQ(cell.top, (50 - top + 1) * h);
  EXPECT_EQ(cell.left, w + 160 - view.GetHScrollPos());
  int line, column;
  QPoint centre = CellCentre(view, 50, 2);
  ASSERT_EQ(view.PointToCellPos(CPoint(centre.x(), centre.y()), line, column), 1);
  EXPECT_EQ(line, 50);
  EXPECT_EQ(column, 2);
  EXPECT_TRUE(view.GetCellRect(100, 0).IsRectEmpty());
  EXPECT_TRUE(view.GetCellRect(0, 6).IsRectEmpty());
  EXPECT_TRUE(view.GetCellRect(-1, 0).IsRectEmpty());

  view.SetWindowTextA("A fairly long view title");
  QFontMetrics fm(*view.GetFont());
  EXPECT_EQ(view.GetLineHeaderWidth(), std::max(60, fm.horizontalAdvance("A fairly long view title") + 2 * h + 1));
}

TEST_F(ViewMouse, DoubleClickEditsWithArrowsMovingTheCaret) {
  Mouse(QEvent::MouseButtonDblClick, CellCentre(view, 3, 2), Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(Sel(view), CRect(2, 3, 2, 3));
  auto* edit = qobject_cast<QLineEdit*>(view.GetActiveCellEditor());
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->text(), "3.2");
  QTest::keyClick(edit, Qt::Key_Left);  // started by the mouse: the caret moves
  EXPECT_EQ(view.GetActiveCellEditor(), edit);
  QTest::keyClick(edit, Qt::Key_End);
  QTest::keyClicks(edit, "9");
  // A click in the view finishes the edit as Enter does.
  Press(CellCentre(view, 6, 0));
  EXPECT_EQ(view.GetActiveCellEditor(), nullptr);
  EXPECT_EQ(view.GetCellText(0, 3, 2), "3.29");
  EXPECT_EQ(Sel(view), CRect(0, 6, 0, 6));
}

TEST_F(ViewMouse, SelectionIsInvertedWithTheCursorCellFramed) {
  view.SetSel(CRect(1, 1, 2, 2), CPoint(1, 1));
  const QImage image = Render();
  const QRgb base = view.palette().color(QPalette::Base).rgb() & 0xFFFFFF;
  const QRgb inverted = ~base & 0xFFFFFF;
  auto at = [&](int x, int y) { return image.pixel(x, y) & 0xFFFFFF; };
  const CRect cursor = view.GetCellRect(1, 1), other = view.GetCellRect(2, 2), outside = view.GetCellRect(4, 4);
  // Near the right end of a left-aligned cell nothing but the background lies.
  EXPECT_EQ(at(other.right - 4, other.top + 3), inverted);
  EXPECT_EQ(at(cursor.right - 4, cursor.top + 3), base) << "the cursor cell keeps its colours";
  EXPECT_EQ(at(cursor.left, cursor.top + 3), inverted) << "inside a frame";
  EXPECT_EQ(at(outside.right - 4, outside.top + 3), base);
}

TEST_F(ViewMouse, OnlyTheFirst999CharactersOfALineAreDrawn) {
  auto inkIn = [&](const CRect& r) {
    const QImage image = Render();
    const QRgb base = view.palette().color(QPalette::Base).rgb();
    int ink = 0;
    for (int y = r.top + 2; y < r.bottom - 2; ++y)
      for (int x = r.left + 2; x < r.right - 2; ++x)
        if (image.pixel(x, y) != base) ++ink;
    return ink;
  };
  view.SetSel(CRect(0, 0, 0, 0), CPoint(0, 0));
  view.SetTabbedString(0, 5, (std::string(990, 'a') + "\tZZZZ").c_str());
  EXPECT_GT(inkIn(view.GetCellRect(5, 1)), 0);
  view.SetTabbedString(0, 5, (std::string(998, 'a') + "\tZZZZ" + std::string(500, 'b')).c_str());
  EXPECT_EQ(inkIn(view.GetCellRect(5, 1)), 0);
  EXPECT_EQ(view.GetCellText(0, 5, 1).substr(0, 4), "ZZZZ") << "the text itself is kept whole";
}
