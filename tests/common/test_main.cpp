// Main of every test program: a private KELD_HOME, removed at the end unless
// KELD_KEEP_TEST_HOME is set, and the Qt application object the code under
// test may need (a widget application for GUI tests, offscreen by default).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/folders.h"
#include "test_home.h"

#ifdef KELD_TEST_GUI
#include <QApplication>
using TestApp = QApplication;
#else
#include <QCoreApplication>
using TestApp = QCoreApplication;
#endif

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const std::string home = keldtest::TestHome();
  TestApp app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  int rc = RUN_ALL_TESTS();
  if (!std::getenv("KELD_KEEP_TEST_HOME")) {
    std::error_code ec;
    std::filesystem::remove_all(home, ec);
    // Shared memory named after this home (events, the status segment) goes too.
    const std::string tag = platform::NamespaceTag();
    for (auto& e : std::filesystem::directory_iterator("/dev/shm", ec))
      if (e.path().filename().string().find(tag) != std::string::npos) std::filesystem::remove(e.path(), ec);
  }
  return rc;
}
