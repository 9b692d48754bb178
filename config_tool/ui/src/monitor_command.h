#pragma once
// Online > Data Monitor... and Status Display...: open the document's link,
// read the unit's own axis configuration, run the monitor window on it and
// close the link. The windows get the unit's layout; the document, its
// views and its modified flag stay as they are.
#include <functional>
#include <string>

class QWidget;

namespace axcfg {
class CUnitLink;
struct CUnitAxisConfig;
}

namespace axcfgui {

class CMonitorDialog;

// Reads the unit's own axis configuration on an open link; false after
// telling why (the layout words break the rules, or the read failed).
bool ReadMonitoredUnit(axcfg::CUnitLink& link, axcfg::CUnitAxisConfig& config);

// Runs the data monitor (statusDisplay false) or the status monitor.
// `show` runs the window modally; tests replace it.
void RunMonitorCommand(axcfg::CUnitLink& link, bool statusDisplay, QWidget* frame, const std::string& helpFile,
                       const std::function<void(CMonitorDialog&)>& show = nullptr);

}  // namespace axcfgui
