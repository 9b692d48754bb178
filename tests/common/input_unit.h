#pragma once
// A scripted unit whose every read answers words taken from a fuzz input, by
// word address, wrapping around the input: any address reads some bytes of
// it, so every value the tool decodes can take any value.
#include <cstddef>
#include <cstdint>

#include "fake_unit.h"

namespace axcfg_test {

class InputUnit : public FakeUnit {
 public:
  // `size` must be at least 1; the input must outlive the unit.
  InputUnit(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint16_t WordAt(long address) const {
    const size_t at = static_cast<size_t>(address * 2) % size_;
    return static_cast<uint16_t>(data_[at] | (data_[(at + 1) % size_] << 8));
  }
  int ReadWords(uint8_t*, int, int, long address, long count, uint16_t* words) override {
    for (long i = 0; i < count; ++i) words[i] = WordAt(address + i);
    return 0;
  }

 private:
  const uint8_t* data_;
  size_t size_;
};

}  // namespace axcfg_test
