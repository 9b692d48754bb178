#include "log_records.h"

#include <sys/time.h>

#include <cstdio>
#include <ctime>
#include <fstream>

#include "platform/comm_log.h"
#include "platform/folders.h"
#include "shared_segment.h"
#include "tavinter/tavinter.h"

namespace tavinter {

std::string DirectionName(int direction) {
  switch (direction) {
    case 0: return "Receive";
    case 1: return "Send";
    case 2: return "Discard";
    case 3: return "Board";
    case 16: return "Receive(bin)";
    case 17: return "Send(mark)";
    case 33: return "Send(ext)";
    default: return "Dir" + std::to_string(direction);
  }
}

std::string RecordHeader(int direction, int handle, int subNumber, int length) {
  timeval tv {};
  gettimeofday(&tv, nullptr);
  tm local {};
  localtime_r(&tv.tv_sec, &local);
  char buf[128];
  std::snprintf(buf, sizeof buf, "[%04d/%02d/%02d %02d:%02d:%02d.%03d] %s Client:%d Sub:%d Len:%d",
                local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                static_cast<int>(tv.tv_usec / 1000), DirectionName(direction).c_str(), handle, subNumber, length);
  return buf;
}

std::string RecordDataText(const uint8_t* data, size_t length) {
  std::string text;
  text.reserve(length);
  for (size_t i = 0; i < length; ++i) {
    uint8_t b = data[i];
    if (b >= 0x20 && b < 0x7F && b != '[') {
      text.push_back(static_cast<char>(b));
    } else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "<%02X>", b);
      text += buf;
    }
  }
  return text;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t at = 0; at < text.size(); at += kLineChars) lines.push_back(text.substr(at, kLineChars));
  if (lines.empty()) lines.emplace_back();
  return lines;
}

std::string LogFolder(const std::string& folder) {
  bool foreign = folder.size() >= 2 && folder[1] == ':';
  if (folder.empty() || foreign || folder.find('\\') != std::string::npos) return platform::DefaultLogFolder();
  return folder;
}

}  // namespace tavinter

using namespace tavinter;

extern "C" int TavLogRecord(int port, int handle, int subNumber, int direction, int length, const void* data,
                            const char* folder, const char* fileName) {
  // A record's length is a 16-bit field.
  if (port < 1 || port > kPortCount || length < 0 || length > 0xFFFF || (length > 0 && !data))
    return TAV_E_BAD_ARGUMENT;
  std::string header = RecordHeader(direction, handle, subNumber, length);
  std::string body = RecordDataText(static_cast<const uint8_t*>(data), static_cast<size_t>(length));
  std::vector<std::string> lines = SplitLines(header);
  if (length > 0)
    for (auto& l : SplitLines(body)) lines.push_back(std::move(l));
  {
    CSegmentLock lock;
    if (!lock.Held()) return TAV_E_SEGMENT;
    char(*portLines)[kLineBytes] = nullptr;
    char(*clientLines)[kLineBytes] = nullptr;
    SegRing* portRing = PortRing(*lock, port, &portLines);
    SegRing* clientRing = ClientRing(*lock, handle, &clientLines);
    for (const auto& l : lines) {
      if (portRing) AppendLine(*portRing, portLines, l.data(), l.size());
      if (clientRing) AppendLine(*clientRing, clientLines, l.data(), l.size());
    }
  }
  if (!fileName || !*fileName) return 0;
  std::string name = fileName;
  if (name.find('/') != std::string::npos || name.find('\\') != std::string::npos || name == "." || name == "..")
    return TAV_E_BAD_ARGUMENT;
  std::string dir = LogFolder(folder ? folder : "");
  if (!platform::EnsureDir(dir)) return TAV_E_SETTINGS;
  std::ofstream out(dir + "/" + name, std::ios::app | std::ios::binary);
  if (!out) return TAV_E_SETTINGS;
  out << header << "\r\n";
  if (length > 0) out << body << "\r\n";
  return out ? 0 : TAV_E_SETTINGS;
}
