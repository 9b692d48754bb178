#pragma once
// Where the USB link's device is: KELD_USB_DEVICE, else KELD_TAVINTER.INI
// [USB] DEVICE (for example a /dev/serial/by-id/ path), else the ttys of the
// USB devices whose vendor:product ids [USB] IDS lists, found in sysfs
// (KELD_USB_SYSFS replaces /sys/bus/usb/devices, for tests).
#include <string>
#include <vector>

namespace tavinter {

// Device paths in the order they are tried; empty when none is configured.
std::vector<std::string> UsbDevicePaths();

// The ttys under a sysfs devices folder of the USB devices with one of the
// given "vvvv:pppp" ids: devices in ascending name order, their interfaces
// likewise, "/dev/<tty name>" for each tty found.
std::vector<std::string> UsbTtysOfIds(const std::string& sysfsDevices, const std::vector<std::string>& ids);

// "0403:6001, 2a03:0043" -> the ids, lower case; malformed items are skipped.
std::vector<std::string> ParseUsbIds(const std::string& list);

}  // namespace tavinter
