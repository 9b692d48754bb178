#include "platform/settings_seed.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/folders.h"

namespace platform {

std::string DefaultsDir() {
  return (std::filesystem::path(ProgramDir()).parent_path() / "share" / "keld" / "defaults").string();
}

bool SeedSettingsFile(const std::string& name, const std::string& defaultsDir) {
  namespace fs = std::filesystem;
  if (name.empty() || name.find('/') != std::string::npos) return false;
  const fs::path source = fs::path(defaultsDir) / name;
  std::ifstream in(source, std::ios::binary);
  if (!in) return false;
  const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return false;
  const std::string root = SettingsRoot();
  if (!EnsureDir(root, 0700)) return false;
  const std::string target = (fs::path(root) / name).string();
  // O_EXCL: an existing file, or one another program makes meanwhile, stays
  // as it is.
  const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  size_t done = 0;
  while (done < content.size()) {
    const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  const bool ok = ::close(fd) == 0 && done == content.size();
  if (!ok) ::unlink(target.c_str());
  return ok;
}

}  // namespace platform
