#pragma once
// Reads of unit words gathered first and then issued in the order given,
// one frame per read or, when merging, one frame for reads that follow each
// other in memory (a small gap is read along). Each frame costs a round trip
// on the wire, so merging neighbours shortens a monitor cycle on a slow line
// while the values read stay the same words.
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace axcfg {

class CUnitLink;

class CWordReader {
 public:
  // Words that may lie unread between two merged reads.
  static constexpr uint32_t kMergeGapWords = 2;
  static constexpr uint32_t kMaxFrameWords = 500;

  CWordReader(CUnitLink& link, bool merge) : link_(link), merge_(merge) {}

  // Queues a read of `words` words from a byte address.
  void Add(uint32_t byteAddress, uint32_t words);
  // Issues the queued reads with report mode 2; the first failure ends the
  // run with its code and drops the reads not yet issued.
  int Run();

  // A word read so far (0 when it was never read).
  uint16_t Word(uint32_t byteAddress) const;
  // A 32-bit value, low word first.
  uint32_t U32(uint32_t byteAddress) const {
    return Word(byteAddress) | (static_cast<uint32_t>(Word(byteAddress + 2)) << 16);
  }
  int32_t S32(uint32_t byteAddress) const { return static_cast<int32_t>(U32(byteAddress)); }
  int16_t S16(uint32_t byteAddress) const { return static_cast<int16_t>(Word(byteAddress)); }
  bool Has(uint32_t byteAddress) const { return words_.count(byteAddress) != 0; }

  // Frames issued since construction, and the words they carried.
  int Frames() const { return frames_; }
  int WordsRead() const { return wordsRead_; }

 private:
  struct Span {
    uint32_t address;  // bytes
    uint32_t words;
  };
  int ReadSpan(const Span& span);

  CUnitLink& link_;
  bool merge_;
  std::vector<Span> pending_;
  std::unordered_map<uint32_t, uint16_t> words_;
  std::vector<uint16_t> buffer_;
  int frames_ = 0;
  int wordsRead_ = 0;
};

}  // namespace axcfg
