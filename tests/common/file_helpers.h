#pragma once
// Whole-file reads and writes for tests that compare bytes on disk.
#include <string>

namespace keldtest {

// Every byte of the file at path; empty when it cannot be read.
std::string ReadAll(const std::string& path);

// Replaces the file at path with bytes.
void WriteAll(const std::string& path, const std::string& bytes);

}  // namespace keldtest
