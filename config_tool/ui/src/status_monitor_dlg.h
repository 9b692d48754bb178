#pragma once
// "Status monitor": connection, servo lock, state, completion width and the
// external inputs of the unit's axes, their amplifier and motor
// identification, and the unit's model, FROM write count and versions.
#include <memory>
#include <vector>

#include "axcfg_unit/monitor_cycle.h"
#include "monitor_dialog.h"

namespace axcfgui {

class CStatusMonitorDlg : public CMonitorDialog {
  Q_OBJECT

 public:
  static constexpr int kHelpContext = 9100;

  CStatusMonitorDlg(const axcfg::CAxisLayout& layout, axcfg::CUnitLink& link, QWidget* parent);

  const axcfg::StatusMonitorSnapshot& Shown() const { return m_shown; }

 private:
  void Draw();

  std::vector<axcfg::MonitorAxis> m_axes;
  axcfg::StatusMonitorSnapshot m_shown;
};

}  // namespace axcfgui
