#pragma once
// The read cycles of the data monitor and the status monitor: every read
// with report mode 2, the first failing read ends the cycle with its code.
// With merging on, reads of neighbouring words share a frame and words the
// monitor block already carries are not read twice; the values are the same.
#include <vector>

#include "axcfg_unit/monitor_snapshot.h"
#include "axcfg_unit/unit_axis_config.h"

namespace axcfg {

class CUnitLink;

class CDataMonitorCycle {
 public:
  explicit CDataMonitorCycle(bool mergeReads = true) : merge_(mergeReads) {}
  // Reads the unit-wide values and those of `axes`. `snap` is replaced and
  // marked valid only when every read succeeded.
  int Read(CUnitLink& link, const std::vector<MonitorAxis>& axes, DataMonitorSnapshot& snap);
  // Frames of the last Read.
  int Frames() const { return frames_; }

 private:
  bool merge_;
  int frames_ = 0;
};

class CStatusMonitorCycle {
 public:
  explicit CStatusMonitorCycle(bool mergeReads = true) : merge_(mergeReads) {}
  // Everything but the home input word is copied into `snap` (and marked
  // valid) once read; the home input word is read last and keeps its old
  // value when that read fails.
  int Read(CUnitLink& link, const std::vector<MonitorAxis>& axes, StatusMonitorSnapshot& snap);
  int Frames() const { return frames_; }

 private:
  bool merge_;
  int frames_ = 0;
};

}  // namespace axcfg
