#pragma once
// The read cycles of the data monitor and the status monitor: every read
// with report mode 2, the first failing read ends the cycle with its code.
// With merging on, reads of neighbouring words share a frame and words the
// monitor block already carries are not read twice; the values are the same.
#include <array>
#include <vector>

#include "axcfg_unit/monitor_snapshot.h"
#include "axcfg_unit/unit_axis_config.h"

namespace axcfg {

class CUnitLink;

class CWordReader;

// The unit-wide words both the monitors and tool operation decode, from a
// reader that read them: the two synchronous groups with their conditions,
// and the error and warning flags (bit 8+n error, bit n warning on axis n).
std::array<SyncGroupState, 2> SyncGroupsRead(const CWordReader& reader);
uint16_t ErrorWarningRead(const CWordReader& reader);

// What both cycles keep: whether reads are merged, and the frames and words
// of the last Read.
class CMonitorCycle {
 public:
  int Frames() const { return frames_; }
  int WordsRead() const { return words_; }

 protected:
  explicit CMonitorCycle(bool mergeReads) : merge_(mergeReads) {}
  void Count(const CWordReader& reader);
  bool merge_;

 private:
  int frames_ = 0;
  int words_ = 0;
};

class CDataMonitorCycle : public CMonitorCycle {
 public:
  explicit CDataMonitorCycle(bool mergeReads = true) : CMonitorCycle(mergeReads) {}
  // Reads the unit-wide values and those of `axes`. `snap` is replaced and
  // marked valid only when every read succeeded.
  int Read(CUnitLink& link, const std::vector<MonitorAxis>& axes, DataMonitorSnapshot& snap);
};

class CStatusMonitorCycle : public CMonitorCycle {
 public:
  explicit CStatusMonitorCycle(bool mergeReads = true) : CMonitorCycle(mergeReads) {}
  // Everything but the home input word is copied into `snap` (and marked
  // valid) once read; the home input word is read last and keeps its old
  // value when that read fails.
  int Read(CUnitLink& link, const std::vector<MonitorAxis>& axes, StatusMonitorSnapshot& snap);
};

}  // namespace axcfg
