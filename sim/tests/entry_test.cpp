// The in-process entry point as the simulation channel calls it. Every test
// runs in its own process with its own data folder, so the process's PLC is
// created afresh from the environment each time.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "plcframe/frame_codec.h"
#include "sim/plcsim_entry.h"
#include "test_home.h"

namespace {

// Calls the entry point with a completed frame; returns the result code.
int Exchange(int station, const std::string& text, std::string& answer, int capacity = 2050, bool complete = true) {
  const std::string frame = complete ? plcframe::CompleteFrame(text) : text;
  std::string buf(static_cast<size_t>(capacity), '\0');
  int length = -1;
  const int rc = PlcSimExchange(station, frame.data(), static_cast<int>(frame.size()), buf.data(), capacity, &length);
  answer = rc == 0 ? buf.substr(0, static_cast<size_t>(length)) : std::string();
  if (rc != 0) {
    EXPECT_EQ(length, 0);
  }
  return rc;
}

std::string Answer(const std::string& text) { return plcframe::CompleteFrame(text); }

// Each test starts without a process PLC, without saved memory and with the
// default environment, also when the tests run in one process.
class PlcSimEntry : public ::testing::Test {
 protected:
  void SetUp() override {
    PlcSimShutdown();
    for (const char* name : {"KELD_SIM_MODEL", "KELD_SIM_STATION", "KELD_SIM_SLOT", "KELD_SIM_AXES", "KELD_SIM_FAULTS"})
      unsetenv(name);
    std::filesystem::remove_all(Folder());
  }
  void TearDown() override { PlcSimShutdown(); }
  static std::string Folder() { return keldtest::TestHome() + "/data/plcsim"; }
};

TEST_F(PlcSimEntry, ConfiguredFromTheEnvironment) {
  setenv("KELD_SIM_MODEL", "5156", 1);
  setenv("KELD_SIM_STATION", "4", 1);
  setenv("KELD_SIM_SLOT", "2", 1);
  setenv("KELD_SIM_AXES", "0x3", 1);
  std::string a;
  ASSERT_EQ(Exchange(4, "%04#UR0200002001", a), 0);
  EXPECT_EQ(a, Answer("%04$UR1424"));
  // axes 1 and 2 connected (active low), no FROM write running
  ASSERT_EQ(Exchange(4, "%04#UR02000A0001", a), 0);
  EXPECT_EQ(a, Answer("%04$URFCFF"));
  EXPECT_EQ(Exchange(4, "%04#UR0000002001", a), 0);
  EXPECT_EQ(a, Answer("%04!60"));
  // no answer: another station, a broadcast
  EXPECT_NE(Exchange(1, "%01#UR0200002001", a), 0);
  EXPECT_NE(Exchange(255, "%FF#UW02000B00010003", a), 0);
  ASSERT_EQ(Exchange(0, "%EE#UR02000B0001", a), 0);
  EXPECT_EQ(a, Answer("%EE$UR0003"));
  PlcSimShutdown();
}

TEST_F(PlcSimEntry, InvalidEnvironmentFallsBackToTheDefaultUnit) {
  setenv("KELD_SIM_MODEL", "5153", 1);
  setenv("KELD_SIM_AXES", "0x1F", 1);  // axis 5 on a 4-axis model
  std::string a;
  ASSERT_EQ(Exchange(1, "%01#UR0000002001", a), 0);
  EXPECT_EQ(a, Answer("%01$UR1422"));
  PlcSimShutdown();
}

TEST_F(PlcSimEntry, BadArgumentsAndSmallBuffers) {
  std::string a;
  int length = 7;
  char buf[8];
  EXPECT_NE(PlcSimExchange(1, nullptr, 5, buf, sizeof buf, &length), 0);
  EXPECT_EQ(length, 0);
  EXPECT_NE(PlcSimExchange(1, "%", -1, buf, sizeof buf, &length), 0);
  EXPECT_NE(PlcSimExchange(1, "%", 1, buf, sizeof buf, nullptr), 0);
  // the answer of 13 bytes does not fit in 12
  EXPECT_NE(Exchange(1, "%01#UR0000002001", a, 12), 0);
  EXPECT_EQ(Exchange(1, "%01#UR0000002001", a, 13), 0);
  EXPECT_EQ(a.size(), 13u);
  // garbage gets a format error, never a crash
  EXPECT_EQ(Exchange(1, std::string("\x00\xff%%\r\r", 6), a, 2050, false), 0);
  EXPECT_EQ(a.substr(0, 6), "%01!41");
  PlcSimShutdown();
}

TEST_F(PlcSimEntry, ContinuedFramesInOneCall) {
  const std::string frames = plcframe::CompleteFrame("%01#UW00000B00020001&") + plcframe::CompleteFrame("%010002");
  std::string a;
  ASSERT_EQ(Exchange(1, frames, a, 2050, false), 0);
  EXPECT_EQ(a, Answer("%01$UW"));
  ASSERT_EQ(Exchange(1, "%01#UR00000B0002", a), 0);
  EXPECT_EQ(a, Answer("%01$UR00010002"));
  PlcSimShutdown();
}

TEST_F(PlcSimEntry, MemoryIsSavedAtShutdownAndReloaded) {
  std::string a;
  ASSERT_EQ(Exchange(1, "%01#UW00000B50010009", a), 0);
  PlcSimShutdown();
  EXPECT_TRUE(std::filesystem::exists(Folder() + "/station01-slot00-model5154.working")) << Folder();
  ASSERT_EQ(Exchange(1, "%01#UR00000B5001", a), 0);
  EXPECT_EQ(a, Answer("%01$UR0009"));
  PlcSimShutdown();
}

TEST_F(PlcSimEntry, RunsInRealTime) {
  // the download handshake answers about 100 ms after the request
  std::string a;
  ASSERT_EQ(Exchange(1, "%01#UW00000810011111", a), 0);
  const auto start = std::chrono::steady_clock::now();
  std::string word = "1111";
  while (word == "1111" && std::chrono::steady_clock::now() - start < std::chrono::seconds(3)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_EQ(Exchange(1, "%01#UR0000081001", a), 0);
    word = a.substr(6, 4);
  }
  EXPECT_EQ(word, "2222");
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(90));
  PlcSimShutdown();
}

TEST_F(PlcSimEntry, FaultsFromTheEnvironment) {
  setenv("KELD_SIM_FAULTS", "drop=2", 1);
  std::string a;
  EXPECT_EQ(Exchange(1, "%01#UR0000002001", a), 0);
  EXPECT_NE(Exchange(1, "%01#UR0000002001", a), 0);
  EXPECT_EQ(Exchange(1, "%01#UR0000002001", a), 0);
  PlcSimShutdown();
}

}  // namespace
