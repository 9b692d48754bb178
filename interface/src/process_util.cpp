#include "process_util.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace tavinter {

namespace {

// Reads /proc/<pid>/stat; the command name may hold blanks and parentheses,
// so the fields are counted from the last ')'.
bool ReadStat(int pid, char& state, uint64_t& startTime) {
  char path[64];
  std::snprintf(path, sizeof path, "/proc/%d/stat", pid);
  FILE* f = std::fopen(path, "re");
  if (!f) return false;
  char buf[1024];
  size_t n = std::fread(buf, 1, sizeof buf - 1, f);
  std::fclose(f);
  buf[n] = 0;
  char* close = std::strrchr(buf, ')');
  if (!close || close[1] != ' ') return false;
  char* p = close + 2;
  state = *p;
  // Field 3 is the state; the start time is field 22.
  int field = 3;
  while (*p && field < 22) {
    if (*p == ' ') ++field;
    ++p;
  }
  if (field != 22) return false;
  startTime = std::strtoull(p, nullptr, 10);
  return true;
}

}  // namespace

uint64_t ProcessStartTime(int pid) {
  if (pid <= 0) return 0;
  char state = 0;
  uint64_t start = 0;
  return ReadStat(pid, state, start) ? start : 0;
}

bool ProcessAlive(int pid, uint64_t startTime) {
  if (pid <= 0) return false;
  char state = 0;
  uint64_t start = 0;
  if (!ReadStat(pid, state, start)) return false;
  if (state == 'Z' || state == 'X') return false;
  return startTime == 0 || start == startTime;
}

uint64_t OwnStartTime() {
  // Cached per pid: a forked child must not report its parent's start time.
  static thread_local int cachedPid = 0;
  static thread_local uint64_t cachedStart = 0;
  int pid = static_cast<int>(::getpid());
  if (pid != cachedPid) {
    cachedStart = ProcessStartTime(pid);
    cachedPid = pid;
  }
  return cachedStart;
}

}  // namespace tavinter
