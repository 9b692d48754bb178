#pragma once
// What the connection server, the interface library and the log viewer share
// about communication logging and serial ports: the registry key of the log
// switches, the folder log files go to when none is set, and which COM ports
// are present.
#include <functional>
#include <string>
#include <vector>

namespace platform {

// "SOFTWARE\KELD\KELD_TavScope\LogFile" under the current user: one "1"/"0"
// value per port display name and "Folder".
std::string LogSettingsKey();

// The log folder when the registry names none (and where the library writes
// when a folder it is given is unusable here).
std::string DefaultLogFolder();

// The COM numbers (1..256, ascending) whose device is a character device,
// given how a COM number maps to a device path.
std::vector<int> PresentComPorts(const std::function<std::string(int)>& devicePath);

}  // namespace platform
