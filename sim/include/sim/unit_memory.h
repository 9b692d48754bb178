#pragma once
// The unit's array of 16-bit shared-memory words.
#include <cstdint>
#include <string>
#include <vector>

#include "sim/unit_addresses.h"

namespace sim {

class CUnitMemory {
 public:
  explicit CUnitMemory(uint32_t words = addr::kMemoryWords) : words_(words, 0) {}

  uint32_t Size() const { return static_cast<uint32_t>(words_.size()); }
  bool InRange(uint32_t address, uint32_t count) const {
    return address <= Size() && count <= Size() - address;
  }

  // Out-of-range addresses read as 0 and are not written.
  uint16_t Word(uint32_t address) const { return address < Size() ? words_[address] : 0; }
  void SetWord(uint32_t address, uint16_t value) {
    if (address < Size()) words_[address] = value;
  }
  uint32_t Long(uint32_t address) const {
    return Word(address) | (static_cast<uint32_t>(Word(address + 1)) << 16);
  }
  int32_t SignedLong(uint32_t address) const { return static_cast<int32_t>(Long(address)); }
  void SetLong(uint32_t address, uint32_t value) {
    SetWord(address, static_cast<uint16_t>(value & 0xFFFF));
    SetWord(address + 1, static_cast<uint16_t>(value >> 16));
  }
  void SetBit(uint32_t address, int bit, bool on) {
    uint16_t w = Word(address);
    w = on ? static_cast<uint16_t>(w | (1u << bit)) : static_cast<uint16_t>(w & ~(1u << bit));
    SetWord(address, w);
  }
  // A text of up to 2*words bytes, two characters per word, the first in the
  // high byte; padded with blanks.
  void SetSwappedText(uint32_t address, int words, const std::string& text);
  std::string SwappedText(uint32_t address, int words) const;

  void Fill(uint32_t address, uint32_t count, uint16_t value);
  const std::vector<uint16_t>& Words() const { return words_; }
  std::vector<uint16_t>& Words() { return words_; }

 private:
  std::vector<uint16_t> words_;
};

}  // namespace sim
