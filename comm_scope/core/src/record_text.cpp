#include "commscope/record_text.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace commscope {

namespace {

struct LineRef {
  const char* text;
  size_t length;
};

LineRef LineAt(const char* lines, int capacity, int start, int i) {
  const char* p = lines + static_cast<size_t>((start + i) % capacity) * kLineBytes;
  return {p, strnlen(p, kLineChars)};
}

bool WriteAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

std::vector<std::string> AssembleRecords(const char* lines, int capacity, int start, int count, int maxLines) {
  std::vector<std::string> records;
  if (!lines || capacity <= 0) return records;
  count = std::clamp(std::min(count, maxLines), 0, capacity);
  start = start < 0 || start >= capacity ? 0 : start;
  for (int i = 0; i < count; ++i) {
    LineRef line = LineAt(lines, capacity, start, i);
    std::string record(line.text, line.length);
    while (line.length == static_cast<size_t>(kLineChars) && i + 1 < count) {
      LineRef next = LineAt(lines, capacity, start, i + 1);
      if (next.length > 0 && next.text[0] == '[') break;
      record.append(next.text, next.length);
      line = next;
      ++i;
    }
    records.push_back(std::move(record));
  }
  return records;
}

unsigned ExportText(const std::vector<std::string>& records, const std::string& path) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return kIdMakeFileFailed;
  // Written in blocks, so a failure part-way leaves the lines before it.
  std::string block;
  bool ok = true;
  for (size_t i = 0; i < records.size() && ok; ++i) {
    block += records[i];
    block += "\r\n";
    if (block.size() >= 64 * 1024 || i + 1 == records.size()) {
      ok = WriteAll(fd, block);
      block.clear();
    }
  }
  if (::close(fd) != 0) ok = false;
  return ok ? 0 : kIdSaveFileFailed;
}

std::string PageHeader(int page) {
  char text[48];
  std::snprintf(text, sizeof text, "<<  Page[%d]   >>", page);
  return text;
}

std::vector<std::vector<std::string>> PaginateRecords(const std::vector<std::string>& records, int linesPerPage) {
  std::vector<std::vector<std::string>> pages;
  size_t per = static_cast<size_t>(std::max(linesPerPage, 1));
  for (size_t at = 0; at < records.size(); at += per)
    pages.emplace_back(records.begin() + static_cast<long>(at),
                       records.begin() + static_cast<long>(std::min(records.size(), at + per)));
  if (pages.empty()) pages.emplace_back();
  return pages;
}

}  // namespace commscope
