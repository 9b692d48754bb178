#pragma once
// The scripted unit with a log of its reads, and helpers that put monitor
// values where the unit keeps them (all addresses here are byte addresses).
#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>
#include <string>
#include <utility>
#include <vector>

#include "axcfg_data/axis_layout.h"
#include "fake_unit.h"

namespace axcfg_test {

// A layout of `count` single axes, axis 1 upwards.
inline axcfg::CAxisLayout SingleAxesLayout(int count) {
  axcfg::CAxisLayout layout;
  layout.Clear();
  for (int i = 0; i < count; ++i) layout.Append(axcfg::MakeSingleAxisEntry(i));
  return layout;
}

class MonitorUnit : public FakeUnit {
 public:
  int ReadWords(uint8_t* c, int station, int slot, long address, long count, uint16_t* words) override {
    if (delayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(delayMs.load()));
    reads.push_back({static_cast<uint32_t>(address * 2), static_cast<uint32_t>(count)});
    if (static_cast<int>(reads.size()) == failReadNo || cablePulled) return failCode;
    return FakeUnit::ReadWords(c, station, slot, address, count, words);
  }
  void Set(uint32_t byteAddress, uint16_t value) { Poke(byteAddress / 2, value); }
  void Set32(uint32_t byteAddress, uint32_t value) {
    Set(byteAddress, static_cast<uint16_t>(value & 0xFFFF));
    Set(byteAddress + 2, static_cast<uint16_t>(value >> 16));
  }
  uint16_t Get(uint32_t byteAddress) const { return Peek(byteAddress / 2); }
  // The unit's active-low status words: connected axes, running axes.
  void SetConnected(uint8_t axes) { Set(0x140, static_cast<uint16_t>(~(axes << 8) & 0xFFFF)); }
  void SetRunning(uint8_t axes) { Set(0x142, static_cast<uint16_t>(~(axes << 8) & 0xFFFF)); }
  // Fails the read or write touching this byte address.
  void FailAt(uint32_t byteAddress, int code = -10012) {
    failAddress = byteAddress / 2;
    failCode = code;
  }

  std::vector<std::pair<uint32_t, uint32_t>> reads;  // byte address, words
  int failReadNo = 0;  // the read (counted from 1) that fails; 0 none
  std::atomic<int> delayMs{0};  // every read takes this long
  std::atomic<bool> cablePulled{false};  // every read fails with failCode
};

}  // namespace axcfg_test
