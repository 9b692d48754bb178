#include "axcfg_data/byte_source.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace axcfg {

bool CMemoryByteSource::Seek(uint64_t offset) {
  if (offset > bytes_.size()) return false;
  pos_ = offset;
  return true;
}

bool CMemoryByteSource::Read(void* out, size_t size) {
  if (size > bytes_.size() - pos_) return false;
  if (size > 0) std::memcpy(out, bytes_.data() + pos_, size);
  pos_ += size;
  return true;
}

CFileByteSource::~CFileByteSource() {
  if (file_) std::fclose(file_);
}

bool CFileByteSource::Open(const std::string& path) {
  if (file_) std::fclose(file_);
  failed_ = false;
  error_.clear();
  file_ = std::fopen(path.c_str(), "rb");
  if (!file_) {
    failed_ = true;
    error_ = std::strerror(errno);
    return false;
  }
  // A folder opens on some systems; it is not a file that can be read.
  struct stat st {};
  if (::fstat(fileno(file_), &st) != 0 || !S_ISREG(st.st_mode)) {
    std::fclose(file_);
    file_ = nullptr;
    failed_ = true;
    error_ = std::strerror(S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
    return false;
  }
  return true;
}

bool CFileByteSource::Seek(uint64_t offset) {
  if (!file_ || offset > static_cast<uint64_t>(INT64_MAX)) return false;
  return ::fseeko(file_, static_cast<off_t>(offset), SEEK_SET) == 0;
}

bool CFileByteSource::Read(void* out, size_t size) {
  if (!file_) return false;
  if (size == 0) return true;
  size_t got = std::fread(out, 1, size, file_);
  if (got == size) return true;
  if (std::ferror(file_)) {
    failed_ = true;
    error_ = std::strerror(errno ? errno : EIO);
    std::clearerr(file_);
  }
  return false;
}

}  // namespace axcfg
