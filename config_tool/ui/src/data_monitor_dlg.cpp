#include "data_monitor_dlg.h"

#include <QPushButton>
#include <chrono>

#include "axcfg_data/axcfg_strings.h"
#include "axcfg_unit/monitor_strings.h"
#include "axcfg_unit/unit_link.h"
#include "monitor_grid.h"
#include "platform/message_box.h"
#include "trend_window.h"

namespace axcfgui {

CDataMonitorDlg::CDataMonitorDlg(const axcfg::CAxisLayout& layout, axcfg::CUnitLink& link, uint32_t family,
                                 QWidget* parent)
    : CMonitorDialog(parent, link, kHelpContext),
      m_axes(axcfg::MonitorAxes(layout)),
      m_family(family),
      m_trend(axcfg::CTrendRecorder::CapacityFor(kPeriodMs)),
      m_trendButton(new QPushButton(QString::fromStdString(axcfg::MonitorText(axcfg::kMonTrendButton)), this)) {
  setWindowTitle(QString::fromStdString(axcfg::MonitorText(axcfg::kMonDataTitle)));
  const auto rows = axcfg::DataMonitorRows(family);
  Grid()->SetRows(rows);
  for (int r = 0; r < static_cast<int>(rows.size()); ++r)
    if (rows[r].kind == axcfg::RowKind::Button && m_errorRow < 0) m_errorRow = r;
  connect(Grid(), &CMonitorGrid::buttonClicked, this,
          [this](int row, int column) { ClearErrorWarning(column, row == m_errorRow); });
  UseCycle<axcfg::CDataMonitorCycle>(m_axes, m_shown, [this] {
    Record();
    Draw();
  });
  AddButton(m_trendButton);
  connect(m_trendButton, &QPushButton::clicked, this, [this] { ShowTrend(); });
  Draw();
  FitToGrid();
}

void CDataMonitorDlg::Draw() {
  std::vector<std::vector<axcfg::MonitorCell>> columns;
  for (const auto& axis : m_axes) columns.push_back(axcfg::DataMonitorCells(m_shown, m_family, axis));
  Grid()->SetColumns(std::move(columns));
}

void CDataMonitorDlg::Record() {
  const int64_t now = std::chrono::duration_cast<std::chrono::milliseconds>(
                          std::chrono::system_clock::now().time_since_epoch())
                          .count();
  m_trend.Append(axcfg::TrendSampleOf(m_shown, m_axes, now));
  if (m_trendWindow) m_trendWindow->SampleAdded(m_trend.Latest());
}

CTrendWindow* CDataMonitorDlg::TrendWindow() const { return m_trendWindow.data(); }

CTrendWindow* CDataMonitorDlg::ShowTrend() {
  if (!m_trendWindow) m_trendWindow = new CTrendWindow(m_trend, m_axes, this);
  m_trendWindow->show();
  m_trendWindow->raise();
  m_trendWindow->activateWindow();
  return m_trendWindow;
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
