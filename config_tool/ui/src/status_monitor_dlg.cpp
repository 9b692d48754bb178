#include "status_monitor_dlg.h"

#include <QFont>

#include "axcfg_unit/monitor_strings.h"
#include "monitor_grid.h"

namespace axcfgui {

CStatusMonitorDlg::CStatusMonitorDlg(const axcfg::CAxisLayout& layout, axcfg::CUnitLink& link, QWidget* parent)
    : CMonitorDialog(parent, link, kHelpContext), m_axes(axcfg::MonitorAxes(layout)) {
  setWindowTitle(QString::fromStdString(axcfg::MonitorText(axcfg::kMonStatusTitle)));
  QFont font(QStringLiteral("Courier New"));
  font.setStyleHint(QFont::Monospace);
  Grid()->setFont(font);
  Grid()->SetRows(axcfg::StatusMonitorRows());
  UseCycle<axcfg::CStatusMonitorCycle>(m_axes, m_shown, [this] { Draw(); });
  Draw();
  FitToGrid();
}

void CStatusMonitorDlg::Draw() {
  const auto lines = axcfg::StatusMonitorUnitLines(m_shown);
  // The model heads the grid; the FROM write count and the versions follow it.
  Grid()->SetHeaderLines({lines.front()});
  Grid()->SetFooterLines({lines.begin() + 1, lines.end()});
  std::vector<std::vector<axcfg::MonitorCell>> columns;
  for (const auto& axis : m_axes) columns.push_back(axcfg::StatusMonitorCells(m_shown, axis));
  Grid()->SetColumns(std::move(columns));
}

}  // namespace axcfgui
