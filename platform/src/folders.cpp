#include "platform/folders.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

std::string Home() {
  std::string h = Env("HOME");
  return h.empty() ? std::string("/tmp") : h;
}

// With KELD_HOME: <home>/<sub>; otherwise the XDG folder (or its default) + "/KELD".
std::string Folder(const char* keldSub, const char* xdgVar, const std::string& xdgDefault) {
  std::string keld = Env("KELD_HOME");
  if (!keld.empty()) return keld + "/" + keldSub;
  std::string xdg = Env(xdgVar);
  if (xdg.empty()) xdg = xdgDefault;
  return xdg + "/KELD";
}

}  // namespace

bool EnsureDir(const std::string& path, unsigned mode) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return true;
  std::filesystem::create_directories(path, ec);
  if (!std::filesystem::is_directory(path, ec)) return false;
  ::chmod(path.c_str(), static_cast<mode_t>(mode));
  return true;
}

std::string SettingsRoot() {
  std::string dir = Folder("settings", "XDG_CONFIG_HOME", Home() + "/.config");
  EnsureDir(dir);
  return dir;
}

std::string DataDir() {
  std::string dir = Folder("data", "XDG_DATA_HOME", Home() + "/.local/share");
  EnsureDir(dir);
  return dir;
}

std::string RuntimeDir() {
  std::string dir = Folder("run", "XDG_RUNTIME_DIR", "/tmp/keld-run-" + std::to_string(::getuid()));
  // The folder holds sockets and locks of this user only; callers that create
  // anything in it check it with CheckRuntimeDir first.
  std::string ignored;
  CheckPrivateDir(dir, ignored);
  return dir;
}

bool CheckPrivateDir(const std::string& path, std::string& error) {
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
  if (::mkdir(path.c_str(), 0700) == 0) {
    // The umask may have taken bits away; a new folder is this user's alone.
    if (::chmod(path.c_str(), 0700) == 0) return true;
    error = "The runtime folder " + path + " cannot be made private: " + std::strerror(errno);
    return false;
  }
  if (errno != EEXIST) {
    error = "The runtime folder " + path + " cannot be created: " + std::strerror(errno);
    return false;
  }
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) {
    error = "The runtime folder " + path + " cannot be examined: " + std::strerror(errno);
    return false;
  }
  if (S_ISLNK(st.st_mode)) {
    error = "The runtime folder " + path + " is a symbolic link; it is not used.";
    return false;
  }
  if (!S_ISDIR(st.st_mode)) {
    error = "The runtime folder " + path + " is not a folder; it is not used.";
    return false;
  }
  if (st.st_uid != ::geteuid()) {
    error = "The runtime folder " + path + " belongs to another user; it is not used.";
    return false;
  }
  if ((st.st_mode & 077) != 0) {
    char mode[8];
    std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(st.st_mode & 07777));
    error = "The runtime folder " + path + " is open to other users (mode " + mode + "); it is not used.";
    return false;
  }
  return true;
}

bool CheckRuntimeDir(std::string& error) {
  std::string dir = Folder("run", "XDG_RUNTIME_DIR", "/tmp/keld-run-" + std::to_string(::getuid()));
  return CheckPrivateDir(dir, error);
}

std::string ProgramDir() {
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return ".";
  return exe.parent_path().string();
}

std::string LangDir() {
  std::string over = Env("KELD_LANG_DIR");
  if (!over.empty()) return over;
  namespace fs = std::filesystem;
  fs::path bin = ProgramDir();
  // Programs live in <prefix>/bin, tests in <build>/tests; both find <prefix>/share/keld/lang.
  fs::path lang = bin.parent_path() / "share" / "keld" / "lang";
  return lang.string();
}

std::string NamespaceTag() {
  std::string basis = std::to_string(::getuid()) + ":" + Env("KELD_HOME");
  // FNV-1a: short, stable across runs and processes.
  uint64_t h = 1469598103934665603ull;
  for (unsigned char c : basis) {
    h ^= c;
    h *= 1099511628211ull;
  }
  char buf[17];
  std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(h));
  return std::string(buf, 12);
}

}  // namespace platform
