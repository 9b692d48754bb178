// Through the interface library, a started KELD_TAVMGR and the simulated PLC:
// the whole road of a unit memory read and write.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <thread>
#include <vector>

#include "tavinter/connection_record.h"
#include "tavinter/tavinter.h"

namespace {

struct Connection {
  std::array<unsigned char, TAV_CONNECTION_RECORD_SIZE> bytes{};
  explicit Connection(const char* name) {
    tavinter::CConnectionRecord r(bytes.data());
    r.SetName(name);
    r.SetKind(tavinter::kKindSimulation);
    r.SetTimeout(3);
    r.SetLanguage(1);
  }
  unsigned char* data() { return bytes.data(); }
};

TEST(SimulationEndToEnd, ReadsAndWritesUnitWordsThroughTheServer) {
  Connection c("e2e");
  ASSERT_EQ(TavOpen(nullptr, c.data()), 0);
  uint16_t model = 0;
  ASSERT_EQ(TavReadUnitWords(c.data(), 1, TAV_MEMORY_UNIT, 0, 0x002, 1, &model), 0);
  EXPECT_EQ(model, 5154);

  // A write and read-back across a frame boundary (500 words a frame).
  std::vector<uint16_t> out(1200), in(1200);
  for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<uint16_t>(i * 7 + 1);
  const long base = 0x850;  // the first positioning tables of axis 1
  ASSERT_EQ(TavWriteUnitWords(c.data(), 1, TAV_MEMORY_UNIT, 0, base, 1200, out.data()), 0);
  ASSERT_EQ(TavReadUnitWords(c.data(), 1, TAV_MEMORY_UNIT, 0, base, 1200, in.data()), 0);
  EXPECT_EQ(in, out);

  // The unit answers "!60" for an empty slot; the library reports it as -11000 - 60.
  EXPECT_EQ(TavReadUnitWords(c.data(), 1, TAV_MEMORY_UNIT, 5, 0x002, 1, &model), -11060);
  // Another station never answers: the server reports no answer.
  EXPECT_EQ(TavReadUnitWords(c.data(), 7, TAV_MEMORY_UNIT, 0, 0x002, 1, &model), -10012);
  EXPECT_EQ(TavClose(c.data()), 0);
}

TEST(SimulationEndToEnd, TwoClientsShareOneServerThatEndsWhenIdle) {
  Connection a("first"), b("second");
  ASSERT_EQ(TavOpen(nullptr, a.data()), 0);
  ASSERT_EQ(TavOpen(nullptr, b.data()), 0);
  TavStatusSnapshot status{};
  ASSERT_EQ(TavGetStatus(&status), 0);
  EXPECT_TRUE(status.portInUse[325]);
  EXPECT_EQ(status.portClients[325], 2);
  EXPECT_EQ(TavClose(a.data()), 0);
  uint16_t model = 0;
  EXPECT_EQ(TavReadUnitWords(b.data(), 1, TAV_MEMORY_UNIT, 0, 0x002, 1, &model), 0);
  EXPECT_EQ(TavClose(b.data()), 0);
  // More than three seconds without clients: the server withdraws and ends.
  bool ended = false;
  for (int i = 0; i < 80 && !ended; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    TavGetStatus(&status);
    ended = !status.portInUse[325];
  }
  EXPECT_TRUE(ended);
  // The next open starts a new server copy.
  Connection again("again");
  ASSERT_EQ(TavOpen(nullptr, again.data()), 0);
  EXPECT_EQ(TavReadUnitWords(again.data(), 1, TAV_MEMORY_UNIT, 0, 0x002, 1, &model), 0);
  EXPECT_EQ(TavClose(again.data()), 0);
}

}  // namespace
