#include "log_records.h"

#include <fcntl.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <map>
#include <mutex>

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

namespace {

// Appends text to a log file; 0 or the errno of what failed.
int AppendToFile(const std::string& dir, const std::string& name, const std::string& text) {
  errno = 0;
  if (!platform::EnsureDir(dir)) return errno ? errno : ENOTDIR;
  const int fd = ::open((dir + "/" + name).c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return errno;
  int err = 0;
  for (size_t done = 0; done < text.size();) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      err = n < 0 ? errno : EIO;
      break;
    }
    done += static_cast<size_t>(n);
  }
  if (::close(fd) != 0 && err == 0 && errno != EINTR) err = errno;
  return err;
}

// The record's lines into the rings of its port and client; false when the
// segment cannot be locked.
bool AppendRecordLines(int port, int handle, const std::string& header, const std::string& body) {
  std::vector<std::string> lines = SplitLines(header);
  if (!body.empty())
    for (auto& l : SplitLines(body)) lines.push_back(std::move(l));
  CSegmentLock lock;
  if (!lock.Held()) return false;
  char(*portLines)[kLineBytes] = nullptr;
  char(*clientLines)[kLineBytes] = nullptr;
  SegRing* portRing = PortRing(*lock, port, &portLines);
  SegRing* clientRing = ClientRing(*lock, handle, &clientLines);
  for (const auto& l : lines) {
    if (portRing) AppendLine(*portRing, portLines, l.data(), l.size());
    if (clientRing) AppendLine(*clientRing, clientLines, l.data(), l.size());
  }
  return true;
}

// A log file that cannot be written (disk full, folder gone or not writable)
// is told once when the trouble starts, on standard error (the server's
// error file) and as a text record of the port, and once more when writing
// works again; the records in between go to the viewer only.
void NoteFileResult(int port, const std::string& path, int err) {
  static std::mutex mutex;
  static std::map<std::string, bool> failing;  // per file of this process
  std::string text;
  {
    std::lock_guard<std::mutex> lock(mutex);
    bool& was = failing[path];
    if ((err != 0) == was) return;
    was = err != 0;
    text = err ? "Log file " + path + " cannot be written: " + std::strerror(err) +
                     ". Records are kept for the viewer only until it can be written again."
               : "Log file " + path + " is written again.";
  }
  std::fprintf(stderr, "KELD_TAVINTER: %s\n", text.c_str());
  std::fflush(stderr);
  AppendRecordLines(port, 0, RecordHeader(0, 0, 0, static_cast<int>(text.size())),
                    RecordDataText(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

}  // namespace

}  // namespace tavinter

using namespace tavinter;

extern "C" int TavLogRecord(int port, int handle, int subNumber, int direction, int length, const void* data,
                            const char* folder, const char* fileName) {
  // A record's length is a 16-bit field.
  if (port < 1 || port > kPortCount || length < 0 || length > 0xFFFF || (length > 0 && !data))
    return TAV_E_BAD_ARGUMENT;
  std::string header = RecordHeader(direction, handle, subNumber, length);
  std::string body = RecordDataText(static_cast<const uint8_t*>(data), static_cast<size_t>(length));
  if (!AppendRecordLines(port, handle, header, length > 0 ? body : std::string())) return TAV_E_SEGMENT;
  if (!fileName || !*fileName) return 0;
  std::string name = fileName;
  if (name.find('/') != std::string::npos || name.find('\\') != std::string::npos || name == "." || name == "..")
    return TAV_E_BAD_ARGUMENT;
  const std::string dir = LogFolder(folder ? folder : "");
  const int err = AppendToFile(dir, name, header + "\r\n" + (length > 0 ? body + "\r\n" : std::string()));
  NoteFileResult(port, dir + "/" + name, err);
  return err == 0 ? 0 : TAV_E_SETTINGS;
}
