// Tool operation through the connection server and the simulated unit: the
// controller's requests and the keep-alive move and stop a real (simulated)
// axis.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "axcfg_unit/keep_alive.h"
#include "axcfg_unit/tool_opr_controller.h"
#include "axcfg_unit/unit_addresses.h"
#include "axcfg_unit/unit_axis_config.h"
#include "axcfg_unit/unit_link.h"
#include "fake_unit.h"
#include "platform/message_box.h"

using namespace axcfg;

namespace {

class AnswerYes : public IToolOprPrompts {
 public:
  int Message(const std::string& text, unsigned) override {
    messages.push_back(text);
    return platform::IDYES;
  }
  bool InputValue(const ValueInputRule&, int64_t, int64_t&) override { return false; }
  std::vector<std::string> messages;
};

bool AxisRuns(CUnitLink& link, int axis) {
  uint16_t busy = 0xFFFF;
  link.Read(unitaddr::kStatusBusy, 1, &busy, kReportNone);
  return !(busy & unitaddr::AxisStatusBit(axis));
}

template <typename Pred>
bool WaitFor(Pred pred) {
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!pred()) {
    if (std::chrono::steady_clock::now() > limit) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

TEST(ToolOprOnSimulation, ServoAndJogUnderKeepAliveThenLeave) {
  axcfg_test::RecordingUi ui;
  CUnitLink link("Axis Configurator", TavLinkLibrary(), ui);
  ASSERT_EQ(link.Open(nullptr, true, true, false), 0);
  CUnitAxisConfig unit;
  ASSERT_EQ(ReadUnitAxisConfig(link, unit), 0);
  AnswerYes prompts;
  CToolOprController ctl(link, unit.layout, unit.family, prompts);
  CKeepAlive keep(link, 50, nullptr);
  ctl.SetKeepAlive(&keep);

  ASSERT_EQ(ctl.Enter(5), kToolOprActive) << (prompts.messages.empty() ? "" : prompts.messages.back());
  ASSERT_EQ(ctl.SetServo(0, true), ToolAction::kDone) << prompts.messages.back();
  uint16_t state = 0;
  ASSERT_TRUE(WaitFor([&] {
    link.Read(unitaddr::MonitorState(0), 1, &state, kReportNone);
    return (state & unitaddr::kMonStateServoOn) != 0;
  }));

  ASSERT_EQ(ctl.JogPress(0, true), ToolAction::kDone) << prompts.messages.back();
  EXPECT_TRUE(keep.IsRunning());
  EXPECT_TRUE(WaitFor([&] { return AxisRuns(link, 0); }));
  EXPECT_FALSE(ctl.CanExit(false));
  ASSERT_EQ(ctl.JogRelease(), ToolAction::kDone);
  EXPECT_TRUE(WaitFor([&] { return !AxisRuns(link, 0); }));
  EXPECT_TRUE(keep.IsRunning());  // the worker only ends by a stop, an error or a release
  keep.Stop();
  EXPECT_EQ(keep.Result(), 0);
  EXPECT_TRUE(ctl.CanExit(false));

  ASSERT_EQ(ctl.SetServo(0, false), ToolAction::kDone);
  EXPECT_TRUE(ctl.Leave());
  bool on = true;
  ASSERT_EQ(link.IsToolModeOn(on), 0);
  EXPECT_FALSE(on);
  EXPECT_EQ(link.Close(), 0);
}

}  // namespace
