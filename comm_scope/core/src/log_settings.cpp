#include "commscope/log_settings.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

#include "platform/comm_log.h"
#include "platform/registry.h"
#include "tavinter/tavinter.h"

namespace commscope {

namespace {

using platform::Hive;
using platform::Registry;

struct FixedDevice {
  const char* name;
  const char* label;
  const char* prefix;
};

constexpr FixedDevice kFixed[] = {
    {"H0", "TAVNET-H(0)", "TavH0"},       {"H1", "TAVNET-H(1)", "TavH1"},         {"H2", "TAVNET-H(2)", "TavH2"},
    {"P", "TAVNET-P", "TavP"},            {"Ethernet", "Ethernet", "TavEthernetX"}, {"USBQP", "USB-QP", "TavUSBQP"},
    {"Simulation", "PLC-Simulation", "TavSml"},
};

constexpr const char* kStamp = "_YYMMDD_HHMMSS.LOG";

}  // namespace

std::string CLogSettings::Key() { return platform::LogSettingsKey(); }

std::vector<int> CLogSettings::PresentComPorts() {
  return platform::PresentComPorts([](int n) -> std::string {
    char path[512];
    return TavGetComDevicePath(n, path, sizeof path) == 0 ? std::string(path) : std::string();
  });
}

CLogSettings CLogSettings::Load(std::vector<int> present) {
  CLogSettings s;
  std::sort(present.begin(), present.end());
  present.erase(std::unique(present.begin(), present.end()), present.end());
  for (int com : present) {
    if (com < 1 || com > 256) continue;
    if (static_cast<int>(s.devices_.size()) == kMaxComDevices) break;
    std::string n = std::to_string(com);
    s.devices_.push_back({"Com" + n, "COM" + n, "TavCom" + n + kStamp, false});
  }
  for (const auto& f : kFixed) s.devices_.push_back({f.name, f.label, std::string(f.prefix) + kStamp, false});
  for (auto& d : s.devices_) {
    auto v = Registry::ReadString(Hive::CurrentUser, Key(), d.name);
    d.on = v && !v->empty() && (*v)[0] == '1';
  }
  s.folder_ = Registry::ReadString(Hive::CurrentUser, Key(), "Folder").value_or(platform::DefaultLogFolder());
  return s;
}

bool CLogSettings::Save(unsigned* errorId) const {
  bool ok = Registry::CreateKey(Hive::CurrentUser, Key());
  for (const auto& d : devices_) ok = ok && Registry::WriteString(Hive::CurrentUser, Key(), d.name, d.on ? "1" : "0");
  ok = ok && Registry::WriteString(Hive::CurrentUser, Key(), "Folder", folder_);
  if (!ok && errorId) *errorId = kIdLogSettingsFailed;
  return ok;
}

LogDevice* CLogSettings::Find(const std::string& name) {
  for (auto& d : devices_)
    if (strcasecmp(d.name.c_str(), name.c_str()) == 0) return &d;
  return nullptr;
}

bool ReadWindowData(int index, int* value) {
  auto v = Registry::ReadDword(Hive::CurrentUser, "SOFTWARE\\KELD", "Data" + std::to_string(index));
  if (!v) return false;
  *value = static_cast<int>(*v);
  return true;
}

bool WriteWindowData(int index, int value) {
  return Registry::WriteDword(Hive::CurrentUser, "SOFTWARE\\KELD", "Data" + std::to_string(index),
                              static_cast<uint32_t>(value));
}

}  // namespace commscope
