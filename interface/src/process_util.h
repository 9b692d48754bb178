#pragma once
// Identity and liveness of processes: a pid together with its start time, so
// that a pid the kernel has reused is not taken for the process that died.
#include <cstdint>

namespace tavinter {

// The start time of a process (clock ticks since boot), 0 when it does not exist.
uint64_t ProcessStartTime(int pid);
// True while the process with this pid and start time runs (a zombie counts as gone).
bool ProcessAlive(int pid, uint64_t startTime);
// This process's start time (read once).
uint64_t OwnStartTime();

}  // namespace tavinter
