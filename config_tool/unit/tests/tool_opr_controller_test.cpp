#include <gtest/gtest.h>

#include <deque>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_unit/keep_alive.h"
#include "axcfg_unit/tool_opr_controller.h"
#include "axcfg_unit/unit_link.h"
#include "fake_unit.h"
#include "platform/message_box.h"

using namespace axcfg;
using axcfg_test::FakeUnit;
using axcfg_test::RecordingUi;

namespace {

// Word addresses of the scripted unit (byte address / 2).
constexpr uint32_t kToolMode = 0x90, kKeepAlive = 0x91, kTimeout = 0x94, kConnection = 0xA0, kBusy = 0xA1;
constexpr uint32_t kSyncGroups = 0xB7, kSyncCondition = 0x2B0, kSpeedRate = 0x88;
uint32_t Request(int axis) { return 0x98 + axis; }
uint32_t MonState(int axis) { return 0x430 + 0x40 * axis; }
uint32_t Converted(int axis) { return 0x43E + 0x40 * axis; }
uint32_t UnitCode(int axis) { return 0x800 + 0x2800 * axis; }
uint32_t HomeMode(int axis) { return 0x820 + 0x2800 * axis; }
uint32_t JogSpeed(int axis) { return 0x82C + 0x2800 * axis; }
uint32_t Origin(int axis) { return 0x84A + 0x2800 * axis; }
uint32_t StartTable(int axis) { return 0x100 + axis; }

class ScriptedPrompts : public IToolOprPrompts {
 public:
  int Message(const std::string& text, unsigned type) override {
    messages.push_back(text);
    types.push_back(type);
    if (answers.empty()) return platform::DefaultButton(type);
    const int a = answers.front();
    answers.pop_front();
    return a;
  }
  bool InputValue(const ValueInputRule& rule, int64_t initial, int64_t& value) override {
    rules.push_back(rule);
    initials.push_back(initial);
    if (inputs.empty()) return false;
    value = inputs.front();
    inputs.pop_front();
    return true;
  }
  std::vector<std::string> messages;
  std::vector<unsigned> types;
  std::deque<int> answers;
  std::vector<ValueInputRule> rules;
  std::vector<int64_t> initials;
  std::deque<int64_t> inputs;
};

CAxisLayout FourAxes() {
  // Group A of axes 1 and 2, then axes 3 and 4 alone.
  CAxisLayout layout;
  layout.Clear();
  layout.Append(0x01020003);
  layout.Append(0x00010004);
  layout.Append(0x00010008);
  return layout;
}

struct ControllerTest : ::testing::Test {
  FakeUnit unit;
  RecordingUi ui;
  CUnitLink link{"Axis Configurator", unit, ui};
  ScriptedPrompts prompts;
  CToolOprController ctl{link, FourAxes(), 0, prompts};
  void SetUp() override {
    link.Open(nullptr, false, false, false);
    unit.Poke(kConnection, 0x0008);  // all connected, no FROM write
    unit.Poke(kBusy, 0xFF00);        // nothing running
  }
  const std::string& LastMessage() const { return prompts.messages.back(); }
};

TEST_F(ControllerTest, EnterAsksWritesTheTimeOutAndRequestsToolMode) {
  prompts.answers = {platform::IDNO};
  EXPECT_EQ(ctl.Enter(7), kToolOprCancelled);
  EXPECT_TRUE(unit.writes.empty());

  prompts.answers = {platform::IDYES};
  EXPECT_EQ(ctl.Enter(7), kToolOprActive);
  EXPECT_EQ(unit.Peek(kTimeout), 7);
  EXPECT_EQ(unit.Peek(kToolMode), 0xAA55);
  EXPECT_TRUE(ctl.Entered());
  EXPECT_EQ(prompts.messages.back(), "Start Tool operation.\nIs it OK?");
}

TEST_F(ControllerTest, EnterReportsAFailedTimeOutWrite) {
  unit.failAddress = kTimeout;
  prompts.answers = {platform::IDYES};
  EXPECT_EQ(ctl.Enter(7), kToolOprError);
  EXPECT_EQ(LastMessage(), "library error -10012");
  EXPECT_EQ(unit.Peek(kToolMode), 0);
}

TEST_F(ControllerTest, EnterRestartsOnceWhenToolModeIsAlreadyOn) {
  unit.Poke(kToolMode, 0xAA55);
  prompts.answers = {platform::IDYES, platform::IDYES};
  EXPECT_EQ(ctl.Enter(3), kToolOprActive);
  EXPECT_EQ(prompts.messages[1], "Tool operation is already activated. Restart Tool operation.\nIs it OK?");
  EXPECT_EQ(unit.Peek(kToolMode), 0xAA55);

  // Restart declined.
  prompts.answers = {platform::IDYES, platform::IDNO};
  EXPECT_EQ(ctl.Enter(3), kToolOprCancelled);

  // Still refused after the restart (an axis runs now): asked once, then the end.
  unit.Poke(kBusy, 0xFE00);
  prompts.messages.clear();
  prompts.types.clear();
  prompts.answers = {platform::IDYES, platform::IDYES};
  EXPECT_EQ(ctl.Enter(3), kToolOprError);
  ASSERT_EQ(prompts.messages.size(), 3u);
  EXPECT_EQ(prompts.messages[2], "You cannot start Tool operation.");
  EXPECT_EQ(prompts.types[2] & platform::MB_ICONMASK, platform::MB_ICONSTOP);
}

TEST_F(ControllerTest, EnterRefusedForAnotherOperationAndFromTheCommandLine) {
  unit.Poke(kToolMode, 0x1234);
  prompts.answers = {platform::IDYES};
  EXPECT_EQ(ctl.Enter(3), kToolOprCancelled);
  EXPECT_EQ(LastMessage(), "You cannot start Tool operation as the axis is running in another operation.");

  // Unasked: the restart question is answered by the caller's choice.
  unit.Poke(kToolMode, 0xAA55);
  prompts.messages.clear();
  EXPECT_EQ(ctl.EnterUnasked(3, false), kToolOprCancelled);
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_EQ(ctl.EnterUnasked(3, true), kToolOprActive);
}

TEST_F(ControllerTest, LeaveCancelsToolModeAndAsksOnFailure) {
  unit.Poke(kToolMode, 0xAA55);
  prompts.answers = {platform::IDNO};
  EXPECT_FALSE(ctl.Leave());
  EXPECT_EQ(unit.Peek(kToolMode), 0xAA55);
  prompts.answers = {platform::IDYES};
  EXPECT_TRUE(ctl.Leave());
  EXPECT_EQ(unit.Peek(kToolMode), 0);

  unit.failAddress = kKeepAlive;
  prompts.answers = {platform::IDYES, platform::IDNO};
  EXPECT_FALSE(ctl.Leave());
  EXPECT_EQ(LastMessage(),
            "library error -10012\n\nFailed in cancelling the Tool operation mode.\n"
            "Is it OK to finish the Tool operation?");
  EXPECT_EQ(prompts.types.back() & platform::MB_DEFMASK, platform::MB_DEFBUTTON2);
  prompts.answers = {platform::IDYES, platform::IDYES};
  EXPECT_TRUE(ctl.Leave());
}

TEST_F(ControllerTest, JogStopsTheAxisAndDirectionOfThePressEvenDuringAFromWrite) {
  unit.Poke(Request(2), 0x0001);
  ASSERT_EQ(ctl.JogPress(2, false), ToolAction::kDone);
  EXPECT_EQ(unit.Peek(Request(2)), 0x0005);
  EXPECT_TRUE(ctl.JogRunning());
  unit.Poke(kConnection, 0x0000);  // a FROM write starts: the stop must still go through
  ASSERT_EQ(ctl.JogRelease(), ToolAction::kDone);
  EXPECT_EQ(unit.Peek(Request(2)), 0x0001);
  EXPECT_FALSE(ctl.JogRunning());
  EXPECT_TRUE(prompts.messages.empty());
  // A second release sends nothing.
  const auto writes = unit.writes.size();
  EXPECT_EQ(ctl.JogRelease(), ToolAction::kDone);
  EXPECT_EQ(unit.writes.size(), writes);

  // A start refused during the FROM write shows the request and its reason.
  EXPECT_EQ(ctl.JogPress(1, true), ToolAction::kStopped);
  EXPECT_EQ(LastMessage().rfind("The following error occurred in the JOG operation.\n\n", 0), 0u);
  EXPECT_FALSE(ctl.JogRunning());
  EXPECT_EQ(ctl.DecelerationStop(1), ToolAction::kDone);
  EXPECT_EQ(unit.Peek(Request(1)) & 0x0100, 0x0100);
}

TEST_F(ControllerTest, AFailedJogStopEndsTheKeepAlive) {
  unit.Poke(kToolMode, 0xAA55);
  CKeepAlive keep(link, 5, nullptr);
  ctl.SetKeepAlive(&keep);
  ASSERT_EQ(ctl.JogPress(0, true), ToolAction::kDone);
  EXPECT_TRUE(keep.IsRunning());
  unit.failAddress = Request(0);
  EXPECT_EQ(ctl.JogRelease(), ToolAction::kCommError);
  EXPECT_FALSE(keep.IsRunning());
  EXPECT_EQ(LastMessage(), "The following error occurred in the JOG operation.\n\nlibrary error -10012");
}

TEST_F(ControllerTest, ServoTogglesFromTheMonitorWord) {
  unit.Poke(MonState(3), 0x0040);  // ready, servo OFF
  EXPECT_EQ(ctl.ToggleServo(3), ToolAction::kDone);
  EXPECT_EQ(unit.Peek(Request(3)), 0x0001);
  unit.Poke(MonState(3), 0x00C0);
  EXPECT_EQ(ctl.ToggleServo(3), ToolAction::kDone);
  EXPECT_EQ(unit.Peek(Request(3)), 0x0000);
  unit.Poke(MonState(3), 0x0000);  // not ready
  EXPECT_EQ(ctl.ToggleServo(3), ToolAction::kStopped);
  EXPECT_EQ(LastMessage().rfind("The following error occurred when changing the servo between ON and OFF.\n\n", 0),
            0u);
  EXPECT_TRUE(ctl.ServoAvailable());
}

TEST_F(ControllerTest, CurrentValueAndOriginFollowTheUnitCode) {
  unit.Poke(UnitCode(1), 0x0100);
  unit.Poke(Converted(1), 0xFFFF);  // -1 = -0.1 um
  unit.Poke(Converted(1) + 1, 0xFFFF);
  prompts.inputs = {-125};
  EXPECT_EQ(ctl.ChangeCurrentValue(1, false), ToolAction::kDone);
  EXPECT_EQ(prompts.rules.back().kind, 2);
  EXPECT_EQ(prompts.rules.back().decimals, 1);
  EXPECT_EQ(prompts.initials.back(), -1);
  EXPECT_EQ(unit.Peek(0xC8 + 2), 0xFF83);  // new current value of axis 1, low word
  EXPECT_EQ(unit.Peek(0xC8 + 3), 0xFFFF);
  EXPECT_EQ(unit.Peek(0xC0), 0x0002);  // the update request bit of axis 1

  unit.Poke(Origin(1), 40);
  prompts.inputs = {77};
  EXPECT_EQ(ctl.ChangeCurrentValue(1, true), ToolAction::kDone);
  EXPECT_EQ(prompts.rules.back().title, "Coordinate origin - 2 axis [A]");
  EXPECT_EQ(prompts.initials.back(), 40);
  EXPECT_EQ(unit.Peek(Origin(1)), 77);

  // Running: the unit refuses; the heading names the input.
  unit.Poke(kBusy, 0xFD00);
  prompts.inputs = {5};
  EXPECT_EQ(ctl.ChangeCurrentValue(1, true), ToolAction::kStopped);
  EXPECT_EQ(LastMessage().rfind("During the coodinate origin input, the following error occurred.\n\n", 0), 0u);

  // An unknown unit code asks nothing and sends nothing.
  unit.Poke(UnitCode(2), 0x0102);
  const auto writes = unit.writes.size();
  const auto asked = prompts.rules.size();
  EXPECT_EQ(ctl.ChangeCurrentValue(2, false), ToolAction::kStopped);
  EXPECT_EQ(LastMessage(), "The zero offset cannot be changed as the unit is not obtained correctly.");
  EXPECT_EQ(ctl.ChangeJogSpeed(2), ToolAction::kStopped);
  EXPECT_EQ(unit.writes.size(), writes);
  EXPECT_EQ(prompts.rules.size(), asked);
  prompts.inputs = {};
  EXPECT_EQ(ctl.ChangeCurrentValue(0, false), ToolAction::kCancelled);
}

TEST_F(ControllerTest, JogSpeedStartingTableAndSpeedRateWrites) {
  unit.Poke(UnitCode(3), 0x0200);  // inch: speeds with 3 decimals
  unit.Poke(JogSpeed(3), 0x86A0);  // 100000
  unit.Poke(JogSpeed(3) + 1, 0x0001);
  prompts.inputs = {32767000};
  EXPECT_EQ(ctl.ChangeJogSpeed(3), ToolAction::kDone);
  EXPECT_EQ(prompts.rules.back().kind, 104);
  EXPECT_EQ(prompts.rules.back().decimals, 3);
  EXPECT_EQ(prompts.initials.back(), 100000);
  EXPECT_EQ(unit.Peek(JogSpeed(3)), 32767000 & 0xFFFF);
  EXPECT_EQ(unit.Peek(JogSpeed(3) + 1), 32767000 >> 16);

  unit.Poke(StartTable(2), 12);
  prompts.inputs = {600};
  EXPECT_EQ(ctl.ChangeStartingTable(2), ToolAction::kDone);
  EXPECT_EQ(prompts.initials.back(), 12);
  EXPECT_EQ(prompts.rules.back().maximum, 600);
  EXPECT_EQ(unit.Peek(StartTable(2)), 600);

  unit.Poke(kSpeedRate, 100);
  prompts.inputs = {65535};
  EXPECT_EQ(ctl.ChangeSpeedRate(), ToolAction::kDone);
  EXPECT_EQ(prompts.initials.back(), 100);
  EXPECT_EQ(unit.Peek(kSpeedRate), 65535);
  unit.failAddress = kSpeedRate;
  prompts.inputs = {50};
  EXPECT_EQ(ctl.ChangeSpeedRate(), ToolAction::kCommError);
}

TEST_F(ControllerTest, ErrorAndWarningClearWriteTheAxisBit) {
  EXPECT_EQ(ctl.ClearErrorWarning(3, true), ToolAction::kDone);
  EXPECT_EQ(unit.Peek(0x111), 0x0008);
  EXPECT_EQ(ctl.ClearErrorWarning(2, false), ToolAction::kDone);
  EXPECT_EQ(unit.Peek(0x1A9), 0x0004);
}

TEST_F(ControllerTest, TeachingStoresTheCurrentValueInTheDocumentsTable) {
  CAxisCfgDoc doc;
  doc.GetParamBlock().SetUnitCode(2, 0x0101);
  unit.Poke(UnitCode(2), 0x0101);
  unit.Poke(Converted(2), 1234);
  prompts.inputs = {600};
  EXPECT_EQ(ctl.Teach(2, doc), ToolAction::kDone);
  EXPECT_EQ(prompts.initials.back(), 1);
  EXPECT_EQ(doc.GetPosData(599)->GetMoveAmount(2), 1234);
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(ctl.TeachTable(2), 600);
  EXPECT_TRUE(unit.writes.empty());

  // The unit counts in another unit than the document: nothing changes.
  unit.Poke(UnitCode(2), 0x0100);
  unit.Poke(Converted(2), 999);
  prompts.inputs = {600};
  EXPECT_EQ(ctl.Teach(2, doc), ToolAction::kStopped);
  EXPECT_EQ(prompts.initials.back(), 600);
  EXPECT_EQ(doc.GetPosData(599)->GetMoveAmount(2), 1234);
}

TEST_F(ControllerTest, SynchronousConditionTogglesTheGroupsOwnWord) {
  // Group 1: mode A, master axis 3, slave axis 4; group 2: mode B, axes 1 and 2.
  const uint16_t groups[6] = {0, 0x04, 0x08, 1, 0x01, 0x02};
  for (int i = 0; i < 6; ++i) unit.Poke(kSyncGroups + i, groups[i]);
  unit.Poke(kSyncCondition, 0x0000);
  unit.Poke(kSyncCondition + 1, 0x0000);
  EXPECT_EQ(ctl.ChangeSynchronous(3), ToolAction::kDone);
  EXPECT_EQ(unit.Peek(kSyncCondition), 0x0001);
  EXPECT_EQ(unit.Peek(kSyncCondition + 1), 0x0000);
  EXPECT_EQ(ctl.ChangeSynchronous(2), ToolAction::kDone);
  EXPECT_EQ(unit.Peek(kSyncCondition), 0x0000);

  EXPECT_EQ(ctl.ChangeSynchronous(0), ToolAction::kStopped);
  EXPECT_EQ(LastMessage(), "As the mode is the synchronous mode B, the synchronous condition cannot be changed.");
  for (int i = 0; i < 6; ++i) unit.Poke(kSyncGroups + i, 0);
  EXPECT_EQ(ctl.ChangeSynchronous(0), ToolAction::kStopped);
  EXPECT_EQ(LastMessage(), "As the synchronous operation is not set, the synchronous condition cannot be changed.");
  unit.failAddress = kSyncCondition;
  EXPECT_EQ(ctl.ChangeSynchronous(0), ToolAction::kCommError);
}

TEST_F(ControllerTest, HomeReturnFollowsTheSynchronousCheck) {
  const uint16_t groups[6] = {0, 0x04, 0x08, 1, 0x01, 0x02};
  for (int i = 0; i < 6; ++i) unit.Poke(kSyncGroups + i, groups[i]);
  // Mode A, synchronous: refused, nothing sent.
  EXPECT_EQ(ctl.HomeReturn(3, true), ToolAction::kStopped);
  EXPECT_EQ(LastMessage().rfind("In the synchronous mode A, ", 0), 0u);
  EXPECT_EQ(unit.Peek(Request(3)), 0);
  // Asynchronous: started.
  unit.Poke(kSyncCondition, 1);
  EXPECT_EQ(ctl.HomeReturn(3, true), ToolAction::kDone);
  EXPECT_EQ(unit.Peek(Request(3)), 0x0008);
  // Mode B with a mode that cannot be used.
  unit.Poke(HomeMode(1), 2);
  EXPECT_EQ(ctl.HomeReturn(1, true), ToolAction::kStopped);
  EXPECT_EQ(unit.Peek(Request(0)) | unit.Peek(Request(1)), 0);
  // Mode B slave with a usable mode: the master is started, and the user told.
  unit.Poke(HomeMode(1), 8);
  EXPECT_EQ(ctl.HomeReturn(1, true), ToolAction::kDone);
  EXPECT_EQ(prompts.types.back() & platform::MB_ICONMASK, platform::MB_ICONINFORMATION);
  EXPECT_EQ(unit.Peek(Request(0)), 0x0008);
  EXPECT_EQ(unit.Peek(Request(1)), 0);
  // An axis in no group; stop decelerates.
  for (int i = 0; i < 6; ++i) unit.Poke(kSyncGroups + i, 0);
  EXPECT_EQ(ctl.HomeReturn(2, false), ToolAction::kDone);
  EXPECT_EQ(unit.Peek(Request(2)), 0x0100);
}

TEST_F(ControllerTest, PositioningGoesToTheGroupsSmallestAxis) {
  unit.Poke(kToolMode, 0xAA55);
  EXPECT_EQ(ctl.Positioning(1), ToolAction::kDone);
  EXPECT_EQ(unit.Peek(Request(0)), 0x0010);
  EXPECT_EQ(unit.Peek(Request(1)), 0);
  EXPECT_EQ(LastMessage().rfind("The process of interpolation positioning start/stop was done.", 0), 0u);
  // Running now: the same button decelerates.
  unit.Poke(kBusy, 0xFE00);
  const auto shown = prompts.messages.size();
  EXPECT_EQ(ctl.Positioning(0), ToolAction::kDone);
  EXPECT_EQ(unit.Peek(Request(0)), 0x0110);
  EXPECT_EQ(prompts.messages.size(), shown);
  // A single axis is started itself.
  unit.Poke(kBusy, 0xFF00);
  EXPECT_EQ(ctl.Positioning(3), ToolAction::kDone);
  EXPECT_EQ(unit.Peek(Request(3)), 0x0010);
}

TEST_F(ControllerTest, ExitLooksAtTheUnitNowAndAtAHeldJog) {
  EXPECT_TRUE(ctl.CanExit(false));
  unit.Poke(kBusy, 0xF700);  // axis 4 running
  EXPECT_FALSE(ctl.CanExit(false));
  EXPECT_EQ(LastMessage(), "It cannot be finished as there is a running axis.\nStop all axes and then finish.");
  EXPECT_TRUE(ctl.CanExit(true));
  unit.Poke(kConnection, 0x0808);  // ... but not connected
  EXPECT_TRUE(ctl.CanExit(false));
  unit.Poke(kBusy, 0xFF00);
  unit.Poke(kConnection, 0x0008);
  ASSERT_EQ(ctl.JogPress(0, true), ToolAction::kDone);
  EXPECT_FALSE(ctl.CanExit(false));  // the unit may not show it running yet
  unit.failAddress = kConnection;
  EXPECT_FALSE(ctl.CanExit(false));
}

TEST_F(ControllerTest, AbandonClearsTheJogAndDeceleratesWhatWasStarted) {
  ASSERT_EQ(ctl.JogPress(0, true), ToolAction::kDone);
  ASSERT_EQ(ctl.HomeReturn(3, true), ToolAction::kDone);
  ctl.AbandonMotion(false);
  EXPECT_EQ(unit.Peek(Request(0)), 0);
  EXPECT_EQ(unit.Peek(Request(3)), 0x0008);
  ASSERT_EQ(ctl.HomeReturn(3, true), ToolAction::kDone);
  ctl.AbandonMotion(true);
  EXPECT_EQ(unit.Peek(Request(3)), 0x0108);
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(ControllerTest, ChecksOfModeAndConnection) {
  EXPECT_EQ(ctl.CheckToolMode(), ToolAction::kReleased);
  EXPECT_EQ(LastMessage(), "The tool operation status of the unit was released.\nFinish Tool operation.");
  unit.Poke(kToolMode, 0xAA55);
  EXPECT_EQ(ctl.CheckToolMode(), ToolAction::kDone);
  unit.Poke(kConnection, 0x0408);
  EXPECT_EQ(ctl.CheckConnected(2), ToolAction::kStopped);
  EXPECT_EQ(LastMessage(), "The axis is not connected.");
  EXPECT_EQ(ctl.CheckConnected(1), ToolAction::kDone);
}

}  // namespace
