#pragma once
// Where the setting file reader takes its bytes from: a file on disk or a
// buffer in memory. Reads are all-or-nothing, so the reader never sees a
// partial field, and nothing is read past the end.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace axcfg {

class IByteSource {
 public:
  virtual ~IByteSource() = default;
  // Moves to an absolute offset; false when the source cannot seek there.
  virtual bool Seek(uint64_t offset) = 0;
  // Reads exactly size bytes at the current position; false (position
  // undefined) when fewer are there or the medium fails.
  virtual bool Read(void* out, size_t size) = 0;
  // True when a read failed because of the medium rather than the end of
  // the data; the reason is then in SystemError.
  virtual bool Failed() const { return false; }
  virtual std::string SystemError() const { return std::string(); }
};

class CMemoryByteSource : public IByteSource {
 public:
  explicit CMemoryByteSource(std::string_view bytes) : bytes_(bytes) {}
  bool Seek(uint64_t offset) override;
  bool Read(void* out, size_t size) override;

 private:
  std::string_view bytes_;
  uint64_t pos_ = 0;
};

class CFileByteSource : public IByteSource {
 public:
  CFileByteSource() = default;
  ~CFileByteSource() override;
  CFileByteSource(const CFileByteSource&) = delete;
  CFileByteSource& operator=(const CFileByteSource&) = delete;

  // Opens the file for reading; false with SystemError set on failure.
  bool Open(const std::string& path);
  bool Seek(uint64_t offset) override;
  bool Read(void* out, size_t size) override;
  bool Failed() const override { return failed_; }
  std::string SystemError() const override { return error_; }

 private:
  std::FILE* file_ = nullptr;
  bool failed_ = false;
  std::string error_;
};

}  // namespace axcfg
