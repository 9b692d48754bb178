#pragma once
// The log switches the connection servers read: one "1"/"0" value per device
// under the shared log-settings key and the log folder ("Folder"; missing is
// the servers' default folder). Devices in the configuration window's order:
// the first 15 present COM ports ascending, the boards, Ethernet, USB and the
// PLC simulation.
#include <string>
#include <vector>

namespace commscope {

struct LogDevice {
  std::string name;     // registry value name: "Com2", "H0", "Simulation"...
  std::string label;    // check box text: "COM2", "TAVNET-H(0)", "PLC-Simulation"...
  std::string pattern;  // file name pattern: "TavCom2_YYMMDD_HHMMSS.LOG"...
  bool on = false;
};

constexpr int kMaxComDevices = 15;
constexpr unsigned kIdLogSettingsFailed = 57613;  // a registry write failed
constexpr unsigned kIdNoSuchFolder = 57615;       // the log folder does not exist

class CLogSettings {
 public:
  // The devices for the present COM ports (only the first 15 ascending are
  // listed), with their switches and the folder read from the registry.
  static CLogSettings Load(std::vector<int> presentComPorts);
  // The COM ports present on this machine (device of KELD_COM<n>, the port map, /dev/ttyS<n-1>).
  static std::vector<int> PresentComPorts();

  // Creates the key and writes every listed device and "Folder". False (with
  // the text id in *errorId) when a write fails; what was written stays.
  bool Save(unsigned* errorId = nullptr) const;

  std::vector<LogDevice>& Devices() { return devices_; }
  const std::vector<LogDevice>& Devices() const { return devices_; }
  LogDevice* Find(const std::string& name);  // case-insensitive
  const std::string& Folder() const { return folder_; }
  void SetFolder(std::string folder) { folder_ = std::move(folder); }
  static std::string Key();

 private:
  std::vector<LogDevice> devices_;
  std::string folder_;
};

// Window settings "Data%d" (32-bit) under "SOFTWARE\KELD": 0-3 frame
// geometry, 4 maximised, 5 tree width, 6-7 the bars.
bool ReadWindowData(int index, int* value);
bool WriteWindowData(int index, int value);

}  // namespace commscope
