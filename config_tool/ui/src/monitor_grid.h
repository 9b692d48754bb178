#pragma once
// The grid of the monitor windows: a label column and at most four axis
// columns, drawn from the monitor cells, with optional lines above and below
// that span the axis columns, button rows (one button under each visible
// column) and a horizontal scroll bar over the axes.
#include <QWidget>
#include <vector>

#include "axcfg_unit/monitor_cells.h"

class QPushButton;
class QScrollBar;

namespace axcfgui {

class CMonitorGrid : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kVisibleColumns = 4;

  explicit CMonitorGrid(QWidget* parent = nullptr);

  // The rows; one button per visible column is made for each button row.
  void SetRows(const std::vector<axcfg::MonitorRow>& rows);
  // One cell list per axis (in column order); the axis count sets the scroll bar.
  void SetColumns(std::vector<std::vector<axcfg::MonitorCell>> columns);
  void SetHeaderLines(std::vector<axcfg::MonitorLine> lines);
  void SetFooterLines(std::vector<axcfg::MonitorLine> lines);
  // The x coordinate (in the grid) where the four axis columns end.
  void SetColumnsRight(int x);

  const std::vector<axcfg::MonitorRow>& Rows() const { return m_rows; }
  int AxisCount() const { return static_cast<int>(m_columns.size()); }
  int FirstColumn() const { return m_first; }
  void ScrollTo(int first);
  void ScrollBy(int delta) { ScrollTo(m_first + delta); }

  QScrollBar* ScrollBar() const { return m_scroll; }
  // The button of a button row under visible column 0..3.
  QPushButton* Button(int row, int column) const;
  void SetButtonsEnabled(bool enabled);

  int LabelWidth() const { return m_labelWidth; }
  int ColumnWidth() const;
  int RowHeight() const { return m_rowHeight; }
  // The text a cell draws (numbers carry their trailing blank).
  QString CellText(int row, int column) const;
  QSize sizeHint() const override;

 signals:
  // A button of a button row was clicked under a visible column.
  void buttonClicked(int row, int column);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void Relayout();
  void UpdateScrollBar();
  void UpdateButtons();
  int GridTop() const;
  int RowTop(int row) const { return GridTop() + row * m_rowHeight; }

  std::vector<axcfg::MonitorRow> m_rows;
  std::vector<std::vector<axcfg::MonitorCell>> m_columns;
  std::vector<axcfg::MonitorLine> m_header, m_footer;
  struct ButtonRow {
    int row;
    std::vector<QPushButton*> buttons;
  };
  std::vector<ButtonRow> m_buttonRows;
  QScrollBar* m_scroll;
  int m_first = 0;
  int m_labelWidth = 200;
  int m_rowHeight = 20;
  int m_columnsRight = 0;  // 0: the grid's right edge
  int m_wheelRest = 0;
};

}  // namespace axcfgui
