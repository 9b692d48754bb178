#include "servo_onoff_dlg.h"

#include <memory>

#include "axcfg_unit/monitor_strings.h"
#include "axcfg_unit/tool_opr_strings.h"
#include "axcfg_unit/unit_addresses.h"
#include "axcfg_unit/unit_link.h"
#include "monitor_grid.h"

namespace axcfgui {

namespace {
QString Q(const std::string& text) { return QString::fromStdString(text); }
enum ServoRow { kRowAxis, kRowState, kRowButton };
}  // namespace

CServoOnOffDlg::CServoOnOffDlg(const axcfg::CAxisLayout& layout, axcfg::CUnitLink& link, uint32_t family,
                               QWidget* parent)
    : CMonitorDialog(parent, link, kHelpContext),
      m_axes(axcfg::MonitorAxes(layout)),
      m_prompts(this),
      m_ctl(link, layout, family, m_prompts) {
  setWindowTitle(Q(axcfg::ToolOprText(axcfg::kTopTitleServoDlg)));
  Grid()->SetRows({{axcfg::RowKind::Value, axcfg::MonitorText(axcfg::kMonAxisGroup), false},
                   {axcfg::RowKind::Value, axcfg::ToolOprText(axcfg::kTopServoState), false},
                   {axcfg::RowKind::Button, axcfg::ToolOprText(axcfg::kTopBtnChangeServo), false}});
  connect(Grid(), &CMonitorGrid::buttonClicked, this, [this](int, int column) { Toggle(column); });
  SetPeriod(kPeriodMs);
  auto read = std::make_shared<std::array<bool, 8>>();
  SetCycle(
      [read, this] {
        for (const auto& a : m_axes) {
          uint16_t state = 0;
          if (int rc = Link().Read(axcfg::unitaddr::MonitorState(a.axis), 1, &state, axcfg::kReportNone)) return rc;
          (*read)[a.axis] = (state & axcfg::unitaddr::kMonStateServoOn) != 0;
        }
        return 0;
      },
      [read, this] {
        m_state = *read;
        m_read = true;
        Draw();
      });
  Draw();
  FitToGrid();
}

int CServoOnOffDlg::Run() {
  const axcfg::ToolAction mode = m_ctl.CheckToolMode();
  if (mode == axcfg::ToolAction::kReleased) return axcfg::kToolOprReleased;
  if (mode != axcfg::ToolAction::kDone) return axcfg::kToolOprError;
  return exec();
}

void CServoOnOffDlg::Draw() {
  std::vector<std::vector<axcfg::MonitorCell>> columns;
  for (const auto& a : m_axes) {
    std::vector<axcfg::MonitorCell> cells(3);
    cells[kRowAxis].text = a.label;
    if (m_read)
      cells[kRowState] = m_state[a.axis] ? axcfg::MonitorCell{axcfg::ToolOprText(axcfg::kTopServoOn), axcfg::CellColour::Set}
                                         : axcfg::MonitorCell{axcfg::ToolOprText(axcfg::kTopServoOff), axcfg::CellColour::Face};
    columns.push_back(cells);
  }
  Grid()->SetColumns(std::move(columns));
}

void CServoOnOffDlg::Toggle(int column) {
  const int index = Grid()->FirstColumn() + column;
  if (index < 0 || index >= static_cast<int>(m_axes.size())) return;
  const int axis = m_axes[index].axis;
  if (m_ctl.ToggleServo(axis) == axcfg::ToolAction::kReleased) done(axcfg::kToolOprReleased);
}

void CServoOnOffDlg::CycleFailed(int rc) {
  CMonitorDialog::CycleFailed(rc);
  done(axcfg::kToolOprError);
}

}  // namespace axcfgui
