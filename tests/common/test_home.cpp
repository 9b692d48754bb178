#include "test_home.h"

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace keldtest {

namespace {
std::string MakeHome() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "keld-test-XXXXXX").string();
  if (!mkdtemp(tmpl.data())) throw std::runtime_error("cannot create a test home folder");
  setenv("KELD_HOME", tmpl.c_str(), 1);
  return tmpl;
}
}  // namespace

const std::string& TestHome() {
  static const std::string home = MakeHome();
  return home;
}

std::string FreshDir(const std::string& hint) {
  static std::atomic<int> counter{0};
  auto dir = std::filesystem::path(TestHome()) / (hint + "-" + std::to_string(++counter));
  std::filesystem::create_directories(dir);
  return dir.string();
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string BinPath(const std::string& program) {
  const char* bin = std::getenv("KELD_BIN_DIR");
  std::filesystem::path dir = bin ? bin : std::filesystem::path(KELD_BINARY_DIR) / "bin";
  return (dir / program).string();
}

}  // namespace keldtest
