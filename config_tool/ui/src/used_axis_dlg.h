#pragma once
// "Setting used axis": the unit type and the used axes (mode 0), or the
// axes to initialise (mode 1). It edits a CUsedAxisChoice; OK runs the
// choice's OK and stays open on a refusal.
#include <QDialog>
#include <array>

#include "axcfg_data/axis_settings.h"

class QCheckBox;
class QComboBox;
class QLabel;

namespace axcfgui {

class CUsedAxisDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kIdUnitType = 1766;
  static constexpr int kIdFirstAxis = 2000;

  CUsedAxisDlg(QWidget* parent, axcfg::CUsedAxisChoice& choice);
  QComboBox* UnitType() const { return m_unitType; }
  QCheckBox* AxisBox(int axisIndex) const { return m_boxes[static_cast<size_t>(axisIndex)]; }

  void accept() override;

 private:
  void UpdateBoxes();

  axcfg::CUsedAxisChoice& m_choice;
  QComboBox* m_unitType;
  QLabel* m_hint;
  std::array<QCheckBox*, axcfg::kAxisCount> m_boxes{};
};

}  // namespace axcfgui
