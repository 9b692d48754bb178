// The runtime folder holds the request sockets, the locks and the shared
// segment's lock: it must be this user's alone, or nothing is made in it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/folders.h"
#include "platform/named_mutex.h"
#include "test_home.h"

namespace {

// Points KELD_HOME at a fresh folder for one test, and back afterwards.
class RuntimeDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = std::getenv("KELD_HOME");
    home_ = keldtest::FreshDir("runtime");
    setenv("KELD_HOME", home_.c_str(), 1);
  }
  void TearDown() override {
    setenv("KELD_HOME", saved_.c_str(), 1);
    ::umask(022);
  }
  std::string Run() const { return home_ + "/run"; }
  static unsigned Mode(const std::string& p) {
    struct stat st {};
    ::lstat(p.c_str(), &st);
    return st.st_mode & 07777;
  }
  std::string saved_, home_;
};

TEST_F(RuntimeDirTest, ANewFolderIsPrivateWhateverTheUmask) {
  ::umask(0);
  std::string error;
  ASSERT_TRUE(platform::CheckRuntimeDir(error)) << error;
  EXPECT_EQ(Mode(Run()), 0700u);
  std::filesystem::remove(Run());
  ::umask(0777);
  ASSERT_TRUE(platform::CheckRuntimeDir(error)) << error;
  EXPECT_EQ(Mode(Run()), 0700u);
}

TEST_F(RuntimeDirTest, ALinkOrAFolderOpenToOthersIsRefusedAndLeftAlone) {
  std::string error;
  const std::string elsewhere = keldtest::FreshDir("elsewhere");
  ::chmod(elsewhere.c_str(), 0700);
  std::filesystem::create_directory_symlink(elsewhere, Run());
  EXPECT_FALSE(platform::CheckRuntimeDir(error));
  EXPECT_NE(error.find("symbolic link"), std::string::npos) << error;
  // Nothing is made through the link.
  platform::NamedMutex m("KELDTAVMUTEX9");
  EXPECT_FALSE(m.TryLock());
  EXPECT_TRUE(std::filesystem::is_empty(elsewhere));

  std::filesystem::remove(Run());
  std::filesystem::create_directory(Run());
  ::chmod(Run().c_str(), 0777);
  EXPECT_FALSE(platform::CheckRuntimeDir(error));
  EXPECT_NE(error.find("open to other users"), std::string::npos) << error;
  EXPECT_EQ(Mode(Run()), 0777u);  // refused, not quietly changed

  ::chmod(Run().c_str(), 0700);
  EXPECT_TRUE(platform::CheckRuntimeDir(error)) << error;
  EXPECT_TRUE(m.TryLock());
}

}  // namespace
