#include "usb_paths.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "library_settings.h"
#include "platform/profile.h"

namespace fs = std::filesystem;

namespace tavinter {

namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string Trimmed(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return {};
  size_t e = s.find_last_not_of(" \t\r\n");
  return s.substr(b, e - b + 1);
}

bool IsHex4(const std::string& s) {
  return s.size() == 4 && std::all_of(s.begin(), s.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
}

// The first line of a small sysfs attribute file, trimmed; empty when unreadable.
std::string Attribute(const fs::path& file) {
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  return Lower(Trimmed(line));
}

std::vector<fs::path> SortedEntries(const fs::path& folder) {
  std::vector<fs::path> entries;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) entries.push_back(it->path());
  std::sort(entries.begin(), entries.end());
  return entries;
}

// The ttys of one USB interface: CDC-ACM puts them under "tty/", the
// usb-serial drivers as "ttyUSBn" folders of the interface itself.
void TtysOfInterface(const fs::path& interface, std::vector<std::string>& out) {
  std::error_code ec;
  if (fs::is_directory(interface / "tty", ec)) {
    for (const fs::path& tty : SortedEntries(interface / "tty")) out.push_back("/dev/" + tty.filename().string());
    return;
  }
  for (const fs::path& child : SortedEntries(interface)) {
    const std::string name = child.filename().string();
    if (name.rfind("tty", 0) == 0 && name.size() > 3 && fs::is_directory(child, ec)) out.push_back("/dev/" + name);
  }
}

}  // namespace

std::vector<std::string> ParseUsbIds(const std::string& list) {
  std::vector<std::string> ids;
  std::stringstream ss(list);
  std::string item;
  while (std::getline(ss, item, ',')) {
    item = Lower(Trimmed(item));
    size_t colon = item.find(':');
    if (colon == std::string::npos) continue;
    if (IsHex4(item.substr(0, colon)) && IsHex4(item.substr(colon + 1))) ids.push_back(item);
  }
  return ids;
}

std::vector<std::string> UsbTtysOfIds(const std::string& sysfsDevices, const std::vector<std::string>& ids) {
  std::vector<std::string> ttys;
  if (ids.empty()) return ttys;
  const std::vector<fs::path> entries = SortedEntries(sysfsDevices);
  for (const fs::path& device : entries) {
    const std::string name = device.filename().string();
    if (name.find(':') != std::string::npos) continue;  // an interface, not a device
    const std::string id = Attribute(device / "idVendor") + ":" + Attribute(device / "idProduct");
    if (std::find(ids.begin(), ids.end(), id) == ids.end()) continue;
    // Its interfaces are named "<device>:<configuration>.<interface>".
    for (const fs::path& interface : entries) {
      if (interface.filename().string().rfind(name + ":", 0) == 0) TtysOfInterface(interface, ttys);
    }
  }
  return ttys;
}

std::vector<std::string> UsbDevicePaths() {
  if (const char* env = std::getenv("KELD_USB_DEVICE"); env && *env) return {env};
  platform::Profile settings(LibrarySettingsPath());
  std::string device = Trimmed(settings.ReadString("USB", "DEVICE", ""));
  if (!device.empty()) return {device};
  const char* root = std::getenv("KELD_USB_SYSFS");
  return UsbTtysOfIds(root && *root ? root : "/sys/bus/usb/devices", ParseUsbIds(settings.ReadString("USB", "IDS", "")));
}

}  // namespace tavinter
