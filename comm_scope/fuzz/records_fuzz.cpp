// Record assembly and export over arbitrary ring contents, capacities,
// counts and oldest indices. The ring is an exact-size heap block, so any
// read outside it is caught by the address sanitizer.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "commscope/record_text.h"

namespace {

int32_t TakeInt(const uint8_t*& data, size_t& size) {
  int32_t v = 0;
  size_t n = size < 4 ? size : 4;
  std::memcpy(&v, data, n);
  data += n;
  size -= n;
  return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  int capacity = static_cast<int>(static_cast<uint32_t>(TakeInt(data, size)) % 40) + 1;
  int start = TakeInt(data, size);
  int count = TakeInt(data, size);
  int maxLines = TakeInt(data, size);
  // Small values are the interesting ones most of the time.
  if ((start & 0x100) == 0) start %= capacity + 2;
  if ((count & 0x100) == 0) count %= capacity + 2;
  if ((maxLines & 0x100) == 0) maxLines = commscope::kPortViewLines;
  size_t bytes = static_cast<size_t>(capacity) * commscope::kLineBytes;
  std::vector<char> ring(bytes, 0);
  std::memcpy(ring.data(), data, size < bytes ? size : bytes);
  auto records = commscope::AssembleRecords(ring.data(), capacity, start, count, maxLines);
  size_t total = 0;
  for (const auto& r : records) total += r.size();
  if (total > bytes) __builtin_trap();  // every character comes from the ring once
  if (!records.empty() && (records.front().size() & 1)) commscope::ExportText(records, "/dev/null");
  commscope::PaginateRecords(records, 1 + (capacity % 7));
  return 0;
}
