#include "data_monitor_dlg.h"

#include "axcfg_data/axcfg_strings.h"
#include "axcfg_unit/monitor_strings.h"
#include "axcfg_unit/unit_link.h"
#include "monitor_grid.h"
#include "platform/message_box.h"

namespace axcfgui {

CDataMonitorDlg::CDataMonitorDlg(const axcfg::CAxisLayout& layout, axcfg::CUnitLink& link, uint32_t family,
                                 QWidget* parent)
    : CMonitorDialog(parent, link, kHelpContext),
      m_axes(axcfg::MonitorAxes(layout)),
      m_family(family) {
  setWindowTitle(QString::fromStdString(axcfg::MonitorText(axcfg::kMonDataTitle)));
  const auto rows = axcfg::DataMonitorRows(family);
  Grid()->SetRows(rows);
  for (int r = 0; r < static_cast<int>(rows.size()); ++r)
    if (rows[r].kind == axcfg::RowKind::Button && m_errorRow < 0) m_errorRow = r;
  connect(Grid(), &CMonitorGrid::buttonClicked, this,
          [this](int row, int column) { ClearErrorWarning(column, row == m_errorRow); });
  UseCycle<axcfg::CDataMonitorCycle>(m_axes, m_shown, [this] { Draw(); });
  Draw();
  FitToGrid();
}

void CDataMonitorDlg::Draw() {
  std::vector<std::vector<axcfg::MonitorCell>> columns;
  for (const auto& axis : m_axes) columns.push_back(axcfg::DataMonitorCells(m_shown, m_family, axis));
  Grid()->SetColumns(std::move(columns));
}

void CDataMonitorDlg::ClearErrorWarning(int column, bool isError) {
  const int index = Grid()->FirstColumn() + column;
  if (index < 0 || index >= static_cast<int>(m_axes.size())) return;
  const int axis = m_axes[index].axis;
  if (!m_shown.IsConnected(axis)) {
    axcfg::AxisCfgMessageBox(axcfg::MonitorText(axcfg::kMonAxisNotConnected),
                             platform::MB_OK | platform::MB_ICONEXCLAMATION);
    return;
  }
  if (int rc = Link().ClearErrorWarning(static_cast<uint8_t>(1u << axis), isError))
    axcfg::AxisCfgMessageBox(Link().GetErrorString(rc), platform::MB_OK | platform::MB_ICONEXCLAMATION);
}

}  // namespace axcfgui
