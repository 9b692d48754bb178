// Times the USB channel against plcsim on a pseudo-terminal standing for the
// device: a full table read of an 8-axis unit (76,800 words) and the median of
// 1-word reads, beside the same over the serial channel on the same machine.
// A pause that adds up per poll shows in the 1-word median.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "plcsim_peer.h"
#include "tavinter/connection_record.h"
#include "tavinter/tavinter.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Figures {
  double tableMs = 0;
  double medianMs = 0;
  int rc = 0;
};

Figures Measure(unsigned char* record) {
  Figures f;
  if ((f.rc = TavOpen(nullptr, record)) != 0) return f;
  std::vector<uint16_t> words(9600);
  auto t0 = Clock::now();
  for (int axis = 0; axis < 8 && f.rc == 0; ++axis)
    f.rc = TavReadUnitWords(record, 1, TAV_MEMORY_UNIT, 0, 0x850 + 0x2800L * axis, 9600, words.data());
  f.tableMs = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
  std::vector<double> one;
  for (int i = 0; i < 500 && f.rc == 0; ++i) {
    uint16_t w = 0;
    auto s = Clock::now();
    f.rc = TavReadUnitWords(record, 1, TAV_MEMORY_UNIT, 0, 0x002, 1, &w);
    one.push_back(std::chrono::duration<double, std::milli>(Clock::now() - s).count());
  }
  if (!one.empty()) {
    std::nth_element(one.begin(), one.begin() + one.size() / 2, one.end());
    f.medianMs = one[one.size() / 2];
  }
  TavClose(record);
  return f;
}

}  // namespace

int main() {
  const std::string dir = "/tmp/keld-bench-usb-" + std::to_string(getpid());
  std::filesystem::create_directories(dir);
  if (!std::getenv("KELD_HOME")) setenv("KELD_HOME", (dir + "/home").c_str(), 1);
  const std::string usbLink = dir + "/usb", serialLink = dir + "/serial";
  setenv("KELD_USB_DEVICE", usbLink.c_str(), 1);
  setenv("KELD_COM3", serialLink.c_str(), 1);
  bench::PlcSimPeer usbSim({"--serial", "--link", usbLink}), serialSim({"--serial", "--link", serialLink});

  std::array<unsigned char, TAV_CONNECTION_RECORD_SIZE> usb{}, serial{};
  tavinter::CConnectionRecord u(usb.data());
  u.SetName("bench usb");
  u.SetKind(tavinter::kKindUsb);
  u.SetTimeout(3);
  tavinter::CConnectionRecord s(serial.data());
  s.SetName("bench serial");
  s.SetKind(tavinter::kKindSerial);
  s.SetPort(3);
  s.SetTimeout(3);
  s.SetBaudIndex(7);
  s.SetDataBits(8);
  s.SetStopBits(1);

  const Figures fu = Measure(usb.data());
  const Figures fs = Measure(serial.data());
  std::printf("USB: 76,800 table words      %8.1f ms  (target < 250 ms, result %d)\n", fu.tableMs, fu.rc);
  std::printf("USB: 1-word request median   %8.3f ms  (target < 1.5 ms)\n", fu.medianMs);
  std::printf("serial (pty): 76,800 words   %8.1f ms  (result %d)\n", fs.tableMs, fs.rc);
  std::printf("serial (pty): 1-word median  %8.3f ms\n", fs.medianMs);
  std::filesystem::remove_all(dir);
  return fu.rc == 0 && fs.rc == 0 ? 0 : 1;
}
