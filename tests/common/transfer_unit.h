#pragma once
// The scripted unit with a log of its write frames and the unit's side of
// the download handshake (all addresses here are byte addresses).
#include <cstdint>
#include <utility>
#include <vector>

#include "monitor_unit.h"

namespace axcfg_test {

class TransferUnit : public MonitorUnit {
 public:
  int ReadWords(uint8_t* c, int station, int slot, long address, long count, uint16_t* words) override {
    if (address == 0x102 / 2 && Peek(address) == 0x1111 && downloadAnswer >= 0 &&
        ++downloadReads >= answerAfterReads)
      Poke(static_cast<uint32_t>(address), static_cast<uint16_t>(downloadAnswer));
    return MonitorUnit::ReadWords(c, station, slot, address, count, words);
  }
  int WriteWords(uint8_t* c, int station, int slot, long address, long count, const uint16_t* words) override {
    frames.push_back({static_cast<uint32_t>(address * 2), static_cast<uint32_t>(count)});
    return FakeUnit::WriteWords(c, station, slot, address, count, words);
  }
  // Eight single axes (or the given masks) of model `model`.
  void SetLayout(std::array<uint16_t, 5> words, uint16_t model = 5154) {
    for (int i = 0; i < 5; ++i) Set(0x160 + 2u * static_cast<uint32_t>(i), words[static_cast<size_t>(i)]);
    Set(0x004, model);
  }

  std::vector<std::pair<uint32_t, uint32_t>> frames;  // written: byte address, words
  int downloadAnswer = 0x2222;  // the answer to 0x1111; -1 never answers
  int answerAfterReads = 2;
  int downloadReads = 0;
};

}  // namespace axcfg_test
