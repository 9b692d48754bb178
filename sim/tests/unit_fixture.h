#pragma once
// A simulated PLC on a hand-driven clock, reached through frames only.
#include <gtest/gtest.h>

#include <memory>

#include "frame_client.h"
#include "sim/unit_addresses.h"
#include "sim/unit_codes.h"

namespace simtest {

class UnitFixture : public ::testing::Test {
 protected:
  explicit UnitFixture(sim::PlcConfig config = {}) : config_(config) { Restart(); }

  void Restart() {
    client_.reset();
    plc_ = std::make_unique<sim::CSimPlc>(config_, clock_);
    client_ = std::make_unique<CFrameClient>(*plc_);
  }
  CFrameClient& C() { return *client_; }

  // Lets time pass; the unit catches up at the next frame.
  void Wait(int ms) { clock_.Advance(ms); }
  // Waits while writing the keep-alive word every 50 ms, as the tool does.
  void WaitKeepingAlive(int ms) {
    for (int t = 0; t < ms; t += 50) {
      Wait(50);
      C().SetWord(sim::addr::kKeepAlive, 0xAAAA);
    }
  }
  bool Busy(int axis) { return !(C().Word(sim::addr::kStatusBusy) >> (8 + axis) & 1); }
  int32_t Position(int axis) { return C().Long(sim::addr::Monitor(axis) + sim::addr::kMonPosition); }
  uint32_t ErrorCode(int axis) { return static_cast<uint32_t>(C().Long(sim::addr::ErrorCode(axis))); }
  uint32_t WarningCode(int axis) { return static_cast<uint32_t>(C().Long(sim::addr::WarningCode(axis))); }
  void SetRequestBits(int axis, uint16_t bits) {
    C().SetWord(sim::addr::RequestBits(axis), C().Word(sim::addr::RequestBits(axis)) | bits);
  }
  void ClearRequestBits(int axis, uint16_t bits) {
    C().SetWord(sim::addr::RequestBits(axis), C().Word(sim::addr::RequestBits(axis)) & ~bits);
  }
  void EnterToolMode(int timeoutSeconds = 2) {
    C().SetWord(sim::addr::kToolTimeout, static_cast<uint16_t>(timeoutSeconds));
    C().SetWord(sim::addr::kToolMode, 0xAA55);
  }
  void ServoOn(int axis) {
    SetRequestBits(axis, 0x0001);
    Wait(5);
    ASSERT_TRUE(C().Word(sim::addr::Monitor(axis)) & 0x0080) << "servo of axis " << axis;
  }
  // Writes table k (0-based) of an axis: method 0 E, 1 P, 2 C; position
  // amount; absolute or incremental; speed; dwell.
  void SetTable(int axis, int k, int method, int32_t amount, bool absolute, uint32_t speed, uint16_t dwell = 0,
                uint16_t accel = 100, uint16_t decel = 100, int pattern = 0, uint16_t jump = 0, uint16_t aux = 0) {
    const auto a = static_cast<uint32_t>(amount);
    C().Write(sim::addr::Table(axis, k),
              {static_cast<uint16_t>(absolute ? 1 : 0), static_cast<uint16_t>(method | (pattern << 8)), 0, 0, accel,
               decel, static_cast<uint16_t>(speed & 0xFFFF), static_cast<uint16_t>(speed >> 16),
               static_cast<uint16_t>(a & 0xFFFF), static_cast<uint16_t>(a >> 16), 0, 0, dwell, aux, 0, jump});
  }
  // Writes the amount only (the other members of an interpolation group).
  void SetAmount(int axis, int k, int32_t amount) {
    C().SetLong(sim::addr::Table(axis, k) + sim::addr::table::kAmount, amount);
  }

  sim::CManualClock clock_;
  sim::PlcConfig config_;
  std::unique_ptr<sim::CSimPlc> plc_;
  std::unique_ptr<CFrameClient> client_;
};

}  // namespace simtest
