#pragma once
// Drives a simulated PLC through framed UR/UW commands, as the tools do.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "plcframe/frame_codec.h"
#include "sim/sim_plc.h"

namespace simtest {

class CFrameClient {
 public:
  explicit CFrameClient(sim::CSimPlc& plc, std::string station = "01", int slot = 0)
      : plc_(plc), station_(std::move(station)), slot_(slot) {}

  // Sends "%" station text with its code and CR; returns every answer byte.
  std::string Send(const std::string& text) { return SendFrame(plcframe::CompleteFrame("%" + station_ + text)); }
  std::string SendFrame(const std::string& frame) {
    std::string answer;
    for (const auto& part : plc_.Handle(frame).parts) answer += part.bytes;
    return answer;
  }

  std::string ReadText(uint32_t address, uint32_t count) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "#UR%02d%05X%03X", slot_, address, count);
    return buf;
  }
  std::vector<uint16_t> Read(uint32_t address, uint32_t count) {
    const std::string answer = Send(ReadText(address, count));
    const std::string head = "%" + station_ + "$UR";
    std::vector<uint16_t> words;
    EXPECT_EQ(answer.rfind(head, 0), 0u) << answer;
    EXPECT_EQ(answer.size(), head.size() + 4 * count + 3) << answer;
    EXPECT_TRUE(plcframe::CheckFrameCode(answer)) << answer;
    for (uint32_t i = 0; i < count && head.size() + 4 * i + 4 <= answer.size(); ++i)
      words.push_back(static_cast<uint16_t>(std::stoul(answer.substr(head.size() + 4 * i, 4), nullptr, 16)));
    return words;
  }
  std::string WriteText(uint32_t address, const std::vector<uint16_t>& words) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "#UW%02d%05X%03zX", slot_, address, words.size());
    std::string text = buf;
    for (uint16_t w : words) {
      std::snprintf(buf, sizeof buf, "%04X", w);
      text += buf;
    }
    return text;
  }
  void Write(uint32_t address, const std::vector<uint16_t>& words) {
    EXPECT_EQ(Send(WriteText(address, words)), plcframe::CompleteFrame("%" + station_ + "$UW"));
  }

  uint16_t Word(uint32_t address) {
    auto w = Read(address, 1);
    return w.empty() ? 0 : w[0];
  }
  int32_t Long(uint32_t address) {
    auto w = Read(address, 2);
    return w.size() < 2 ? 0 : static_cast<int32_t>(w[0] | (static_cast<uint32_t>(w[1]) << 16));
  }
  void SetWord(uint32_t address, uint16_t value) { Write(address, {value}); }
  void SetLong(uint32_t address, int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    Write(address, {static_cast<uint16_t>(v & 0xFFFF), static_cast<uint16_t>(v >> 16)});
  }

 private:
  sim::CSimPlc& plc_;
  std::string station_;
  int slot_;
};

}  // namespace simtest
