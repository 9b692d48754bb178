#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "axcfg_unit/keep_alive.h"
#include "axcfg_unit/unit_link.h"
#include "fake_unit.h"

using namespace axcfg;
using axcfg_test::FakeUnit;
using axcfg_test::RecordingUi;
using Clock = std::chrono::steady_clock;

namespace {

constexpr uint32_t kToolModeWord = 0x90;
constexpr uint32_t kKeepAliveWord = 0x91;

struct KeepAliveTest : ::testing::Test {
  FakeUnit unit;
  RecordingUi ui;
  CUnitLink link{"Axis Configurator", unit, ui};
  std::atomic<int> endings{0};
  std::atomic<int> endResult{-1};
  std::atomic<int> endStatus{-1};
  void SetUp() override {
    link.Open(nullptr, false, false, false);
    unit.Poke(kToolModeWord, 0xAA55);
  }
  CKeepAlive::EndCallback Recorder() {
    return [this](int rc, uint8_t status) {
      endResult = rc;
      endStatus = status;
      ++endings;
    };
  }
  template <typename Pred>
  static bool WaitFor(Pred pred) {
    const auto limit = Clock::now() + std::chrono::seconds(20);
    while (!pred()) {
      if (Clock::now() > limit) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
  }
};

TEST_F(KeepAliveTest, StopEndsThePauseAtOnceAndWritesNotAliveOnce) {
  CKeepAlive keep(link, 60000, Recorder());
  keep.Start();
  ASSERT_TRUE(WaitFor([&] { return (keep.Status() & kKeepAliveWritten) != 0; }));
  EXPECT_TRUE(keep.IsRunning());
  const auto before = Clock::now();
  keep.Stop();
  EXPECT_LT(Clock::now() - before, std::chrono::seconds(10));  // not the minute of the pause
  EXPECT_FALSE(keep.IsRunning());
  EXPECT_EQ(keep.Result(), 0);
  EXPECT_EQ(endings, 0);  // a stop is not an ending of its own
  std::vector<uint16_t> words;
  for (const auto& [address, value] : unit.writes)
    if (address == kKeepAliveWord) words.push_back(value);
  ASSERT_EQ(words.size(), 2u);
  EXPECT_EQ(words[0], 0xAAAA);
  EXPECT_EQ(words[1], 0);
  keep.Stop();  // repeatable, nothing more written
  EXPECT_EQ(unit.writes.size(), 2u);
}

TEST_F(KeepAliveTest, RenewsTheWordEveryPause) {
  CKeepAlive keep(link, 1, Recorder());
  size_t alive = 0;
  const auto limit = Clock::now() + std::chrono::seconds(20);
  while (alive < 3 && Clock::now() < limit) {
    keep.Start();
    keep.Start();  // already running: no second worker
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    keep.Stop();
    alive = 0;
    for (const auto& [address, value] : unit.writes) alive += address == kKeepAliveWord && value == 0xAAAA;
  }
  EXPECT_GE(alive, 3u);
  EXPECT_EQ(unit.writes.back().second, 0);
  EXPECT_EQ(endings, 0);
}

TEST_F(KeepAliveTest, TheUnitLeavingToolModeEndsTheWorkerAndTellsTheOwner) {
  unit.Poke(kToolModeWord, 0);
  CKeepAlive keep(link, 10, Recorder());
  keep.Start();
  ASSERT_TRUE(WaitFor([&] { return endings == 1; }));
  EXPECT_EQ(endResult, 0);
  EXPECT_EQ(endStatus, kKeepAliveModeLeft);
  ASSERT_TRUE(WaitFor([&] { return !keep.IsRunning(); }));
  keep.Stop();
  EXPECT_TRUE(unit.writes.empty());  // nothing written to a released unit
  EXPECT_EQ(endings, 1);
}

TEST_F(KeepAliveTest, AnErrorEndsTheWorkerIsKeptAndARestartWorksAgain) {
  unit.failAddress = kKeepAliveWord;
  CKeepAlive keep(link, 10, Recorder());
  keep.Start();
  ASSERT_TRUE(WaitFor([&] { return endings == 1; }));
  EXPECT_EQ(endResult, unit.failCode);
  ASSERT_TRUE(WaitFor([&] { return !keep.IsRunning(); }));
  EXPECT_EQ(keep.Result(), unit.failCode);
  keep.Stop();
  EXPECT_TRUE(unit.writes.empty());

  unit.failAddress = -1;
  keep.Start();
  ASSERT_TRUE(WaitFor([&] { return (keep.Status() & kKeepAliveWritten) != 0; }));
  keep.Stop();
  EXPECT_EQ(keep.Result(), 0);
  EXPECT_EQ(unit.Peek(kKeepAliveWord), 0);
}

}  // namespace
