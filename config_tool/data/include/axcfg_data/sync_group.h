#pragma once
// The two synchronous groups: master/slave axis pairs that move together.
#include <array>
#include <cstddef>
#include <cstdint>

namespace axcfg {

struct CSyncGroupRecord {
  static constexpr size_t kBytes = 14;  // packed size in the document and the file
  static constexpr uint16_t kResetDifference = 10000;

  uint32_t operation = 0;     // 1 on, 0 off
  uint16_t mode = 0;          // 0 Mode A, 1 Mode B
  uint16_t masterMask = 0;    // one axis bit
  uint16_t slaveMask = 0;     // one axis bit
  uint16_t difference = kResetDifference;  // 1..32767
  uint16_t differenceBehavior = 0;         // 0 error, 1 warning, 2 not available

  void Reset() { *this = CSyncGroupRecord(); }
  // Little-endian, field by field, 14 bytes.
  void ToBytes(uint8_t* out) const;
  void FromBytes(const uint8_t* in);
  bool operator==(const CSyncGroupRecord&) const = default;
};

using SyncGroups = std::array<CSyncGroupRecord, 2>;

}  // namespace axcfg
