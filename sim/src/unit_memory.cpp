#include "sim/unit_memory.h"

namespace sim {

void CUnitMemory::SetSwappedText(uint32_t address, int words, const std::string& text) {
  for (int i = 0; i < words; ++i) {
    const size_t c = 2 * static_cast<size_t>(i);
    const uint8_t hi = c < text.size() ? static_cast<uint8_t>(text[c]) : ' ';
    const uint8_t lo = c + 1 < text.size() ? static_cast<uint8_t>(text[c + 1]) : ' ';
    SetWord(address + i, static_cast<uint16_t>((hi << 8) | lo));
  }
}

std::string CUnitMemory::SwappedText(uint32_t address, int words) const {
  std::string text;
  for (int i = 0; i < words; ++i) {
    const uint16_t w = Word(address + i);
    text += static_cast<char>(w >> 8);
    text += static_cast<char>(w & 0xFF);
  }
  return text;
}

void CUnitMemory::Fill(uint32_t address, uint32_t count, uint16_t value) {
  for (uint32_t i = 0; i < count; ++i) SetWord(address + i, value);
}

}  // namespace sim
