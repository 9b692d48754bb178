#include "monitor_command.h"

#include <QApplication>
#include <memory>

#include "axcfg_data/axcfg_strings.h"
#include "axcfg_unit/monitor_strings.h"
#include "axcfg_unit/unit_axis_config.h"
#include "axcfg_unit/unit_link.h"
#include "data_monitor_dlg.h"
#include "platform/message_box.h"
#include "status_monitor_dlg.h"

namespace axcfgui {

namespace {

struct WaitCursor {
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

bool ReadMonitoredUnit(axcfg::CUnitLink& link, axcfg::CUnitAxisConfig& config) {
  const int rc = axcfg::ReadUnitAxisConfig(link, config);
  if (rc == axcfg::kUnitLayoutInvalid) {
    axcfg::AxisCfgMessageBox(axcfg::MonitorText(axcfg::kMonUnitAxesNotCorrect),
                             platform::MB_OK | platform::MB_ICONEXCLAMATION);
    return false;
  }
  if (rc != 0) {
    link.ReportError(rc, axcfg::kReportMessageBox);
    return false;
  }
  return true;
}

void RunMonitorCommand(axcfg::CUnitLink& link, bool statusDisplay, QWidget* frame, const std::string& helpFile,
                       const std::function<void(CMonitorDialog&)>& show) {
  axcfg::CUnitAxisConfig config;
  {
    WaitCursor wait;
    if (link.Open(frame, true, true, false) != 0) return;
    if (!ReadMonitoredUnit(link, config)) {
      link.Close();
      return;
    }
  }
  std::unique_ptr<CMonitorDialog> dialog;
  if (statusDisplay)
    dialog = std::make_unique<CStatusMonitorDlg>(config.layout, link, frame);
  else
    dialog = std::make_unique<CDataMonitorDlg>(config.layout, link, config.family, frame);
  dialog->SetHelpFile(helpFile);
  if (show)
    show(*dialog);
  else
    dialog->exec();
  dialog.reset();
  link.Close();
}

}  // namespace axcfgui
