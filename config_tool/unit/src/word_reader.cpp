#include "axcfg_unit/word_reader.h"

#include <algorithm>

#include "axcfg_unit/unit_link.h"

namespace axcfg {

void CWordReader::Add(uint32_t byteAddress, uint32_t words) {
  if (words > 0) pending_.push_back({byteAddress, words});
}

int CWordReader::ReadSpan(const Span& span) {
  buffer_.assign(span.words, 0);
  ++frames_;
  wordsRead_ += static_cast<int>(span.words);
  int rc = link_.Read(span.address, span.words, buffer_.data(), kReportNone);
  if (rc != 0) return rc;
  for (uint32_t i = 0; i < span.words; ++i) words_[span.address + 2 * i] = buffer_[i];
  return 0;
}

int CWordReader::Run() {
  std::vector<Span> reads;
  reads.swap(pending_);
  size_t i = 0;
  while (i < reads.size()) {
    Span frame = reads[i++];
    while (merge_ && i < reads.size()) {
      const Span& next = reads[i];
      const uint32_t end = frame.address + 2 * frame.words;
      const uint32_t nextEnd = next.address + 2 * next.words;
      if (next.address < frame.address || next.address > end + 2 * kMergeGapWords) break;
      const uint32_t newEnd = std::max(end, nextEnd);
      if ((newEnd - frame.address) / 2 > kMaxFrameWords) break;
      frame.words = (newEnd - frame.address) / 2;
      ++i;
    }
    if (int rc = ReadSpan(frame)) return rc;
  }
  return 0;
}

uint16_t CWordReader::Word(uint32_t byteAddress) const {
  auto it = words_.find(byteAddress);
  return it == words_.end() ? 0 : it->second;
}

}  // namespace axcfg
