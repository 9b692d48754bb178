// Where the USB link's device is found: the environment, then the library
// settings' DEVICE, then the ttys of the listed vendor:product ids in sysfs.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "library_settings.h"
#include "platform/profile.h"
#include "tavinter/result_codes.h"
#include "tavinter/tavinter.h"

namespace fs = std::filesystem;

namespace {

void WriteFile(const fs::path& p, const std::string& text) {
  fs::create_directories(p.parent_path());
  std::ofstream(p) << text << "\n";
}

// A USB device folder with its ids, and an interface holding a tty the way
// CDC-ACM ("tty/ttyACMn") or usb-serial ("ttyUSBn") shows it.
void AddDevice(const fs::path& root, const std::string& name, const std::string& vendor, const std::string& product) {
  WriteFile(root / name / "idVendor", vendor);
  WriteFile(root / name / "idProduct", product);
}
void AddAcm(const fs::path& root, const std::string& interface, const std::string& tty) {
  fs::create_directories(root / interface / "tty" / tty);
}
void AddUsbSerial(const fs::path& root, const std::string& interface, const std::string& tty) {
  fs::create_directories(root / interface / tty);
}

std::string PathAt(int index) {
  char path[512];
  int rc = TavGetUsbDevicePath(index, path, sizeof path);
  return rc == 0 ? std::string(path) : "error " + std::to_string(rc);
}

TEST(UsbDevicePath, EnvironmentThenSettingThenIds) {
  const fs::path sys = fs::path(testing::TempDir()) / ("usb-sysfs-" + std::to_string(getpid()));
  fs::remove_all(sys);
  AddDevice(sys, "1-2", "0403", "6001");
  AddUsbSerial(sys, "1-2:1.0", "ttyUSB3");
  AddDevice(sys, "1-1", "2A03", "0043");  // upper case in the file, lower in the list
  AddAcm(sys, "1-1:1.0", "ttyACM1");
  AddDevice(sys, "2-1", "1d6b", "0002");  // a hub: not listed
  AddAcm(sys, "2-1:1.0", "ttyACM0");
  fs::create_directories(sys / "usb1");     // no ids at all
  setenv("KELD_USB_SYSFS", sys.c_str(), 1);
  unsetenv("KELD_USB_DEVICE");
  platform::Profile settings(tavinter::LibrarySettingsPath());

  EXPECT_EQ(PathAt(0), "error " + std::to_string(TAV_E_SETTINGS)) << "nothing configured";

  settings.WriteString("USB", "IDS", "0403:6001, 2a03:0043,zz:1,0403");
  EXPECT_EQ(PathAt(0), "/dev/ttyACM1") << "devices in ascending name order";
  EXPECT_EQ(PathAt(1), "/dev/ttyUSB3");
  EXPECT_EQ(PathAt(2), "error " + std::to_string(TAV_E_SETTINGS));
  EXPECT_EQ(PathAt(-1), "error " + std::to_string(TAV_E_BAD_ARGUMENT));

  settings.WriteString("USB", "DEVICE", "/dev/serial/by-id/usb-unit-if00");
  EXPECT_EQ(PathAt(0), "/dev/serial/by-id/usb-unit-if00");
  EXPECT_EQ(PathAt(1), "error " + std::to_string(TAV_E_SETTINGS));

  setenv("KELD_USB_DEVICE", "/tmp/plcsim-usb", 1);
  EXPECT_EQ(PathAt(0), "/tmp/plcsim-usb");
  char small[4];
  EXPECT_EQ(TavGetUsbDevicePath(0, small, sizeof small), TAV_E_BUFFER_SMALL);

  unsetenv("KELD_USB_DEVICE");
  unsetenv("KELD_USB_SYSFS");
  settings.WriteString("USB", "DEVICE", "");
  settings.WriteString("USB", "IDS", "");
  fs::remove_all(sys);
}

}  // namespace
