// The monitor and keep-alive workers share the link with the window thread:
// every library access and the whole FROM handshake must run alone.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "axcfg_unit/tool_opr_exception.h"
#include "axcfg_unit/unit_link.h"
#include "fake_unit.h"

using namespace axcfg;

namespace {

// Counts callers inside the library at once and logs which thread did what.
class WatchedUnit : public axcfg_test::FakeUnit {
 public:
  int ReadWords(uint8_t* c, int st, int slot, long a, long n, uint16_t* w) override {
    Enter(a, 'R');
    int rc;
    {
      std::lock_guard<std::mutex> g(memory_);
      rc = FakeUnit::ReadWords(c, st, slot, a, n, w);
    }
    Leave();
    return rc;
  }
  int WriteWords(uint8_t* c, int st, int slot, long a, long n, const uint16_t* w) override {
    Enter(a, 'W');
    int rc;
    {
      std::lock_guard<std::mutex> g(memory_);
      rc = FakeUnit::WriteWords(c, st, slot, a, n, w);
    }
    Leave();
    return rc;
  }
  struct Op {
    std::thread::id thread;
    long address;
    char kind;
  };
  std::atomic<int> inside{0};
  std::atomic<bool> overlapped{false};
  std::vector<Op> ops;

 private:
  void Enter(long address, char kind) {
    if (inside.fetch_add(1) != 0) overlapped = true;
    {
      std::lock_guard<std::mutex> g(log_);
      ops.push_back({std::this_thread::get_id(), address, kind});
    }
    std::this_thread::yield();
  }
  void Leave() { inside.fetch_sub(1); }
  std::mutex memory_, log_;
};

TEST(UnitLinkThreads, AccessesAndTheFromHandshakeNeverInterleave) {
  WatchedUnit unit;
  axcfg_test::RecordingUi ui;
  CUnitLink link("Axis Configurator", unit, ui);
  ASSERT_EQ(link.Open(nullptr, false, false, false), 0);
  unit.Poke(0xA0, 0x0008);
  unit.Poke(0xA1, 0xFF00);
  unit.ackAfterReads = 20;  // the unit takes a while to acknowledge

  std::atomic<bool> stop{false};
  std::vector<std::thread> workers;
  for (int t = 0; t < 3; ++t) {
    workers.emplace_back([&, t] {
      uint16_t words[16];
      while (!stop) {
        link.Read(0x860 + 0x80 * t, 16, words, kReportNone);
        uint8_t status = 0;
        link.KeepAlive(status, true);
        link.Write(0x1000 + 0x20 * t, 16, words, kReportNone);
      }
    });
  }
  std::thread::id fromThread;
  int fromResult = -1;
  std::thread from([&] {
    fromThread = std::this_thread::get_id();
    for (int i = 0; i < 5; ++i) {
      unit.handshakeReads = 0;
      fromResult = link.RequestWriteFROM();
      if (fromResult != 0) break;
    }
  });
  from.join();
  stop = true;
  for (auto& w : workers) w.join();

  EXPECT_EQ(fromResult, 0);
  EXPECT_FALSE(unit.overlapped);
  // From each handshake's request (write 0x5555 to word 0x81) to its
  // confirmation, only the handshake's own thread touched the unit.
  // A handshake runs from its status read (word 0xA0) to its second write of
  // the handshake word 0x81 (request, then confirmation).
  bool inHandshake = false;
  int handshakes = 0, handshakeWrites = 0;
  for (const auto& op : unit.ops) {
    const bool mine = op.thread == fromThread;
    if (mine && op.address == 0xA0 && op.kind == 'R') {
      inHandshake = true;
      handshakeWrites = 0;
    }
    if (inHandshake) {
      EXPECT_TRUE(mine) << "another thread ran inside the FROM handshake";
    }
    if (mine && op.address == 0x81 && op.kind == 'W' && ++handshakeWrites == 2) {
      inHandshake = false;
      ++handshakes;
    }
  }
  EXPECT_EQ(handshakes, 5);
}

}  // namespace
