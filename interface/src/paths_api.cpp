// Paths the library reports: settings and data files, the resource and help
// folder, the common folder, and the device path of a COM port.
#include <cstring>
#include <string>
#include <vector>

#include "library_settings.h"
#include "usb_paths.h"
#include "platform/folders.h"
#include "tavinter/tavinter.h"

using namespace tavinter;

namespace {

// A path is never cut: a buffer too small gets an error and an empty text.
int CopyPath(const std::string& path, char* out, int size) {
  if (!out || size <= 0) return TAV_E_BAD_ARGUMENT;
  out[0] = 0;
  if (path.empty()) return TAV_E_SETTINGS;
  if (path.size() >= static_cast<size_t>(size)) return TAV_E_BUFFER_SMALL;
  std::memcpy(out, path.c_str(), path.size() + 1);
  return 0;
}

bool EndsWithIni(const std::string& name) {
  if (name.size() < 4) return false;
  std::string ext = name.substr(name.size() - 4);
  for (char& c : ext) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return ext == ".INI";
}

}  // namespace

extern "C" {

int TavGetFilePath(const char* fileName, char* path, int size) {
  if (!fileName || !*fileName) return TAV_E_BAD_ARGUMENT;
  std::string name = fileName;
  // A bare file name only: the library decides the folder.
  if (name.find('/') != std::string::npos || name.find('\\') != std::string::npos || name == "." || name == "..")
    return TAV_E_BAD_ARGUMENT;
  std::string folder = EndsWithIni(name) ? platform::SettingsRoot() : platform::DataDir();
  return CopyPath(folder + "/" + name, path, size);
}

int TavGetResourceFolder(char* path, int size) { return CopyPath(ResourceFolder(), path, size); }

int TavGetCommonFolder(char* path, int size) { return CopyPath(CommonFolder(), path, size); }

int TavGetComDevicePath(int comNo, char* path, int size) {
  if (comNo < 1 || comNo > 256) return TAV_E_BAD_ARGUMENT;
  return CopyPath(ComDevicePath(comNo), path, size);
}

int TavGetUsbDevicePath(int index, char* path, int size) {
  if (index < 0) return TAV_E_BAD_ARGUMENT;
  const std::vector<std::string> paths = UsbDevicePaths();
  return CopyPath(static_cast<size_t>(index) < paths.size() ? paths[index] : std::string(), path, size);
}

}  // extern "C"
