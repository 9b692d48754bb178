#pragma once
// "Servo ON/OFF": the servo state of every used axis, read every 500 ms on
// a worker, with a button per axis that switches it. A failed read ends the
// window with 3 after one message.
#include <array>

#include "monitor_dialog.h"
#include "tool_opr_prompts.h"

namespace axcfgui {

class CServoOnOffDlg : public CMonitorDialog {
  Q_OBJECT

 public:
  static constexpr int kHelpContext = 9300;
  static constexpr int kPeriodMs = 500;

  CServoOnOffDlg(const axcfg::CAxisLayout& layout, axcfg::CUnitLink& link, uint32_t family, QWidget* parent);

  // Checks tool operation mode, then runs the window; its result.
  int Run();
  bool ServoOn(int axis) const { return m_state[axis & 7]; }
  void Toggle(int column);

 protected:
  void CycleFailed(int rc) override;

 private:
  void Draw();

  std::vector<axcfg::MonitorAxis> m_axes;
  CUiToolOprPrompts m_prompts;
  axcfg::CToolOprController m_ctl;
  std::array<bool, 8> m_state{};
  bool m_read = false;
};

}  // namespace axcfgui
