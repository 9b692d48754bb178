#pragma once
#include <string>

namespace keldtest {

// The KELD_HOME folder made for this test process.
const std::string& TestHome();

// A new empty folder below the test home, for one test's files.
std::string FreshDir(const std::string& hint);

// The whole content of a file; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);

// Path of a program built into the build tree's bin/ folder.
std::string BinPath(const std::string& program);

}  // namespace keldtest
