#pragma once
// Whole-file reads and atomic writes. A write goes to a temporary file in the
// same folder, is flushed to disk, and only then renamed over the target, so
// a failure at any point leaves the previous file as it was.
#include <string>
#include <vector>

namespace platform {

// Reads the whole file; false (with a reason) when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& content, std::string* error = nullptr);

// The lines of a text: split at LF, a CR before the LF dropped (files edited
// on Windows read the same), no empty line after a final LF.
std::vector<std::string> SplitLines(const std::string& content);

// Replaces the file with content atomically; false (with a reason) on failure,
// in which case the previous file is untouched and no temporary file remains.
bool WriteFileAtomic(const std::string& path, const std::string& content, std::string* error = nullptr);

// Holds an exclusive advisory lock on "<path>.lock" for the scope, so that
// read-modify-write cycles of several processes on one file do not interleave.
class FileLock {
 public:
  explicit FileLock(const std::string& path);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  bool Locked() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

}  // namespace platform
