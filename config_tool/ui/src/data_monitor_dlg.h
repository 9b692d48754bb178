#pragma once
// "Data monitor": positions, speed, torque, tables, state and the error and
// warning codes of the unit's axes, live, with a clear button for errors and
// one for warnings under each visible axis column. Every successful cycle is
// also recorded for the trend ("Trend..."), whether its window is open or not.
#include <memory>
#include <vector>

#include <QPointer>

#include "axcfg_unit/monitor_cycle.h"
#include "axcfg_unit/trend_recorder.h"
#include "monitor_dialog.h"

namespace axcfgui {

class CTrendWindow;

class CDataMonitorDlg : public CMonitorDialog {
  Q_OBJECT

 public:
  static constexpr int kHelpContext = 9000;

  CDataMonitorDlg(const axcfg::CAxisLayout& layout, axcfg::CUnitLink& link, uint32_t family, QWidget* parent);

  const axcfg::DataMonitorSnapshot& Shown() const { return m_shown; }
  // The error (or warning) clear of visible column 0..3.
  void ClearErrorWarning(int column, bool isError);

  const axcfg::CTrendRecorder& Trend() const { return m_trend; }
  QPushButton* TrendButton() const { return m_trendButton; }
  // Opens the trend window (or brings it to the front); null before that.
  CTrendWindow* ShowTrend();
  CTrendWindow* TrendWindow() const;

 private:
  void Draw();
  // Records the values shown, read at `timeMs`, for the trend.
  void Record(int64_t timeMs);

  std::vector<axcfg::MonitorAxis> m_axes;
  uint32_t m_family;
  axcfg::DataMonitorSnapshot m_shown;
  int m_errorRow = -1;
  axcfg::CTrendRecorder m_trend;
  QPushButton* m_trendButton;
  QPointer<CTrendWindow> m_trendWindow;
};

}  // namespace axcfgui
