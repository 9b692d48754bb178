#include "axcfg_unit/tool_opr_cycle.h"

#include "axcfg_unit/unit_addresses.h"
#include "axcfg_unit/word_reader.h"

namespace axcfg {

namespace ua = unitaddr;

int CToolOprCycle::Read(CUnitLink& link, const std::vector<MonitorAxis>& axes, ToolOprWindow window,
                        ToolOprSnapshot& snap) {
  CWordReader r(link, merge_);
  r.Add(ua::kStatusFrom, merge_ ? 2 : 1);  // merged: the busy word comes along
  int rc = r.Run();
  const uint16_t connection = static_cast<uint16_t>(~r.Word(ua::kStatusFrom));
  auto connected = [&](int axis) { return (connection >> (8 + axis)) & 1; };

  for (const MonitorAxis& a : axes) {
    if (rc) break;
    const int n = a.axis;
    if (connected(n)) {
      r.Add(ua::ConvertedValue(n), 2);
      if (window == ToolOprWindow::kHoming) r.Add(ua::CoordinateOrigin(n), 2);
      r.Add(ua::UnitCode(n), 1);
      r.Add(ua::MonitorState(n) + ua::mon::kDeviation, 2);
    }
    r.Add(ua::ErrorCode(n), 2);
    r.Add(ua::WarningCode(n), 2);
  }
  if (!rc) {
    r.Add(ua::kSyncGroups, ua::kSyncGroupWords);
    r.Add(ua::kSyncCondition, 2);
    r.Add(ua::kErrorFlags, 1);
    r.Add(ua::kWarningFlags, 1);
    if (!merge_) r.Add(ua::kStatusBusy, 1);
    r.Add(ua::kSpeedRate, 1);
    rc = r.Run();
  }
  // The window's own values: parameters of connected axes, table numbers of
  // every shown axis.
  for (const MonitorAxis& a : axes) {
    if (rc) break;
    const int n = a.axis;
    switch (window) {
      case ToolOprWindow::kJog:
      case ToolOprWindow::kTeaching:
        if (connected(n)) r.Add(ua::JogTargetSpeed(n), 2);
        break;
      case ToolOprWindow::kHoming:
        if (connected(n)) r.Add(ua::HomeReturnMode(n), 1);
        break;
      case ToolOprWindow::kPositioning:
        r.Add(ua::StartingTable(n), 1);
        if (connected(n)) r.Add(ua::ActiveTable(n), 1);
        break;
    }
  }
  if (!rc) rc = r.Run();
  Count(r);
  if (rc) return rc;

  ToolOprSnapshot s;
  s.valid = true;
  s.sync = SyncGroupsRead(r);
  s.connection = connection;
  s.busy = static_cast<uint16_t>(~r.Word(ua::kStatusBusy));
  s.errorWarning = ErrorWarningRead(r);
  s.speedRate = r.Word(ua::kSpeedRate);
  for (const MonitorAxis& a : axes) {
    const int n = a.axis;
    ToolOprAxisValues& v = s.axes[n];
    v.errorCode = r.U32(ua::ErrorCode(n));
    v.warningCode = r.U32(ua::WarningCode(n));
    v.startingTable = r.Word(ua::StartingTable(n));
    if (!connected(n)) continue;
    v.unitCode = r.Word(ua::UnitCode(n));
    v.currentValue = r.S32(ua::ConvertedValue(n));
    v.origin = r.S32(ua::CoordinateOrigin(n));
    v.deviation = r.S32(ua::MonitorState(n) + ua::mon::kDeviation);
    v.jogSpeed = r.U32(ua::JogTargetSpeed(n));
    v.homeMode = r.Word(ua::HomeReturnMode(n));
    v.activeTable = r.Word(ua::ActiveTable(n));
  }
  snap = s;
  return 0;
}

}  // namespace axcfg
