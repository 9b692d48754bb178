#pragma once
// The whole content of a file as bytes ("" when it cannot be read).
#include <fstream>
#include <sstream>
#include <string>

namespace commscope::testing {

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace commscope::testing
