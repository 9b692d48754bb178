#pragma once
// "Data monitor": positions, speed, torque, tables, state and the error and
// warning codes of the unit's axes, live, with a clear button for errors and
// one for warnings under each visible axis column.
#include <memory>
#include <vector>

#include "axcfg_unit/monitor_cycle.h"
#include "monitor_dialog.h"

namespace axcfgui {

class CDataMonitorDlg : public CMonitorDialog {
  Q_OBJECT

 public:
  static constexpr int kHelpContext = 9000;

  CDataMonitorDlg(const axcfg::CAxisLayout& layout, axcfg::CUnitLink& link, uint32_t family, QWidget* parent);

  const axcfg::DataMonitorSnapshot& Shown() const { return m_shown; }
  // The error (or warning) clear of visible column 0..3.
  void ClearErrorWarning(int column, bool isError);

 private:
  void Draw();

  std::vector<axcfg::MonitorAxis> m_axes;
  uint32_t m_family;
  axcfg::DataMonitorSnapshot m_shown;
  int m_errorRow = -1;
};

}  // namespace axcfgui
