#pragma once
// The sheet tabs under the grid: four buttons that scroll the strip by whole
// tabs (first, previous, next, last), then the trapezoid tabs.
#include <QWidget>
#include <string>
#include <vector>

class CTableView;

class CSheetTabBar : public QWidget {
 public:
  explicit CSheetTabBar(CTableView* view);

  void InsertTab(int index, const std::string& caption);
  void RemoveTab(int index);
  void Clear();
  int Count() const { return static_cast<int>(m_captions.size()); }
  int CurSel() const { return m_current; }
  // Makes a tab current without telling the view.
  void SetCurSel(int index);
  int FirstVisible() const { return m_first; }
  // The tabs' widths follow the view's font.
  void FontChanged();

  enum Button { First = 0, Previous, Next, Last, ButtonCount };
  QRect ButtonRect(int button) const;
  bool ButtonEnabled(int button) const;
  // The tab's outline in bar coordinates; empty for a tab scrolled out of view.
  QPolygon TabShape(int index) const;
  int TabAt(const QPoint& point) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  int TabWidth(int index) const;
  int LastFullyShownTab() const;
  CTableView* m_view;
  std::vector<std::string> m_captions;
  mutable std::vector<int> m_widths;  // cached tab widths; empty when stale
  int m_current = -1;
  int m_first = 0;
};
