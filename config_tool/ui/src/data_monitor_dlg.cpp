#include "data_monitor_dlg.h"

#include <QPushButton>
#include <chrono>
#include <memory>

#include "axcfg_data/axcfg_strings.h"
#include "axcfg_unit/monitor_strings.h"
#include "axcfg_unit/unit_link.h"
#include "monitor_grid.h"
#include "platform/message_box.h"
#include "trend_window.h"

namespace axcfgui {

namespace {

int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

}  // namespace

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
  // The cycle as the base runs it, with the time its values were read: the
  // middle of the read, which the trend plots them at.
  struct Work {
    axcfg::CDataMonitorCycle cycle;
    axcfg::DataMonitorSnapshot snapshot;
    int64_t timeMs = 0;
  };
  auto work = std::make_shared<Work>();
  SetCycle(
      [work, this] {
        const int64_t start = NowMs();
        const int rc = work->cycle.Read(Link(), m_axes, work->snapshot);
        work->timeMs = start + (NowMs() - start) / 2;
        return rc;
      },
      [work, this] {
        m_shown = work->snapshot;
        Record(work->timeMs);
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

void CDataMonitorDlg::Record(int64_t timeMs) {
  m_trend.Append(axcfg::TrendSampleOf(m_shown, m_axes, timeMs));
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
