#pragma once
// Which log file a server copy writes: the port's switch and the folder come
// from the log viewer's registry key; a file name is formed when logging is
// switched on and kept until it is switched off.
#include <ctime>
#include <string>

#include "platform/comm_log.h"

namespace connsrv {

// The key the log viewer writes and the server reads, one function for both.
using platform::LogSettingsKey;

// prefix + YYMMDD_HHMMSS + ".Log" for the given local time.
std::string FormLogFileName(int port, const std::tm& localTime);

// The log folder when the registry names none.
using platform::DefaultLogFolder;

class CLogState {
 public:
  explicit CLogState(int port) : port_(port) {}
  // Re-reads the switch and folder; forms a new file name when logging has
  // just been switched on; clears both when it is off.
  void Refresh(std::time_t now);
  const std::string& FileName() const { return fileName_; }
  const std::string& Folder() const { return folder_; }

 private:
  int port_;
  std::string fileName_;
  std::string folder_;
};

}  // namespace connsrv
