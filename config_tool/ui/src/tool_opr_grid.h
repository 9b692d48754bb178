#pragma once
// The button grid of the tool operation windows: the monitor grid with
// press-and-hold buttons and captions beside button rows. A held button
// reports its press and exactly one release: when the mouse goes up, or
// when the button loses the mouse in any other way (a message box, another
// window activated, the button hidden).
#include <map>

#include "monitor_grid.h"

namespace axcfgui {

class CToolOprGrid : public CMonitorGrid {
  Q_OBJECT

 public:
  explicit CToolOprGrid(QWidget* parent = nullptr) : CMonitorGrid(parent) {}

  // The buttons of `row` become press-and-hold buttons (after SetRows).
  void SetHoldRow(int row);
  // A caption in the label column of a button row.
  void SetCaption(int row, const QString& caption);
  // The held button loses the mouse: reported as its release.
  void LoseHold();
  bool IsHeld() const { return m_heldRow >= 0; }

 signals:
  void buttonPressed(int row, int column);
  void buttonReleased(int row, int column);

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Release();

  std::map<int, QString> m_captions;
  int m_heldRow = -1;
  int m_heldColumn = -1;
};

}  // namespace axcfgui
