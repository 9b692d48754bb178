#pragma once
// The byte layout of the setting file, shared by its reader and writer.
#include <cstddef>
#include <cstdint>

namespace axcfg::axc {

inline constexpr char kMagic[4] = {'A', 'X', 'C', 'F'};
inline constexpr uint16_t kByteOrderMark = 0xEFFE;

// Header, 83 bytes.
inline constexpr size_t kHeaderBytes = 83;
inline constexpr size_t kOffMagic = 0;
inline constexpr size_t kOffMark = 4;
inline constexpr size_t kOffVersion = 6;
inline constexpr size_t kOffHeaderSize = 8;
inline constexpr size_t kOffEntryCount = 12;
inline constexpr size_t kOffComment = 14;   // 40 bytes
inline constexpr size_t kOffCreator = 54;   // 12 bytes written, 11 read
inline constexpr size_t kCreatorWritten = 12;
inline constexpr size_t kOffFamily = 66;

// Directory entry, 7 bytes: kind, section version, absolute offset.
inline constexpr size_t kDirEntryBytes = 7;

// Section 1: count, 8 entries, 2 synchronous group records, 6 zero bytes.
inline constexpr size_t kLayoutReadBytes = 2 + 8 * 4 + 2 * 14;
inline constexpr size_t kLayoutWrittenBytes = kLayoutReadBytes + 6;

// Section 2: per record 152 bytes and 8 zero bytes.
inline constexpr size_t kParamPadBytes = 8;

// Section 3: each element is a length, the 66-byte fixed part, the comment
// length and the comment. The length counts everything after itself.
inline constexpr size_t kElemHeadBytes = 72;  // length + fixed part + comment length
inline constexpr uint32_t kElemLengthBase = 68;
inline constexpr size_t kElemOffCtrl = 4;
inline constexpr size_t kElemOffJump = 5;
inline constexpr size_t kElemOffInterp = 7;
inline constexpr size_t kElemOffPosMode = 8;
inline constexpr size_t kElemOffMove = 9;
inline constexpr size_t kElemOffAux = 17;
inline constexpr size_t kElemOffAccPattern = 25;
inline constexpr size_t kElemOffAccTime = 26;
inline constexpr size_t kElemOffDecTime = 30;
inline constexpr size_t kElemOffSpeed = 34;
inline constexpr size_t kElemOffDwell = 42;
inline constexpr size_t kElemOffAuxCode = 46;
inline constexpr size_t kElemOffCommentLen = 70;

// Counts the format allows for parameter records and row elements.
inline constexpr int kMaxRecords = 8;

inline uint64_t GetLe64(const uint8_t* p) {
  uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}
inline void PutLe64(uint8_t* p, uint64_t v) {
  for (int i = 0; i < 8; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace axcfg::axc
