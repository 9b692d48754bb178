#pragma once
// What the buttons of tool operation do, for the windows and the command
// line alike: entering and leaving tool operation mode, servo, JOG, home
// return, positioning, stops, value changes and teaching. Questions, messages
// and value input go through IToolOprPrompts; the unit through CUnitLink.
// Values the buttons need are read from the unit when they are pressed, so a
// decision never rests on a snapshot a period old.
#include <array>
#include <cstdint>
#include <string>

#include "axcfg_data/axis_layout.h"
#include "axcfg_unit/value_input.h"

namespace axcfg {

class CAxisCfgDoc;
class CKeepAlive;
class CToolOprException;
class CUnitLink;

class IToolOprPrompts {
 public:
  virtual ~IToolOprPrompts() = default;
  // A message box or question (platform MB_* type); the button chosen.
  virtual int Message(const std::string& text, unsigned type) = 0;
  // The value input of `rule` starting at `initial`; false when cancelled.
  virtual bool InputValue(const ValueInputRule& rule, int64_t initial, int64_t& value) = 0;
  // A wait cursor around requests that may take a reply time-out.
  virtual void Busy(bool) {}
};

// Results of the "Tool operation" dialog and the operation windows.
enum ToolOprEnd : int { kToolOprActive = 1, kToolOprCancelled = 2, kToolOprError = 3, kToolOprReleased = 5 };

// What became of one button.
enum class ToolAction {
  kDone,
  kCancelled,  // the user said No or cancelled the value input
  kStopped,    // a refusal or a message stopped it; nothing (more) was sent
  kCommError,  // a communication failure (shown)
  kReleased,   // the unit is no longer in tool operation mode (shown)
};

class CToolOprController {
 public:
  CToolOprController(CUnitLink& link, const CAxisLayout& layout, uint32_t family, IToolOprPrompts& prompts);

  // Units of the interpolation family switch their servo themselves.
  bool ServoAvailable() const { return family_ == 0; }

  // Arms this keep-alive when a movement starts (may be null).
  void SetKeepAlive(CKeepAlive* keepAlive) { keepAlive_ = keepAlive; }

  // Entering: the question, the time-out write, the tool-mode request with
  // at most one restart. kToolOprActive, kToolOprCancelled or kToolOprError.
  int Enter(int toolTimeoutSeconds);
  // Entering without the first question and answering the restart question
  // with `restart` (the command line).
  int EnterUnasked(int toolTimeoutSeconds, bool restart);
  // True when tool operation mode was entered by Enter of this controller.
  bool Entered() const { return entered_; }
  // Leaving: the question and the cancel; true when the dialog may close.
  bool Leave();

  // kDone while tool operation mode is on; otherwise the released message.
  ToolAction CheckToolMode();
  // kDone for a connected axis; otherwise "The axis is not connected.".
  ToolAction CheckConnected(int axis);

  ToolAction ToggleServo(int axis);
  ToolAction SetServo(int axis, bool on);
  ToolAction JogPress(int axis, bool plus);
  // Stops the JOG of the press (its axis and direction), whatever the
  // pointer or the scroll position is now. A failure also stops the
  // keep-alive so that the unit's time-out stops the axis.
  ToolAction JogRelease();
  bool JogRunning() const { return jog_.running; }
  ToolAction HomeReturn(int axis, bool start);
  // Starts, or stops when it runs, the axis or its interpolation group's
  // smallest axis.
  ToolAction Positioning(int axis);
  ToolAction DecelerationStop(int axis);
  ToolAction ClearErrorWarning(int axis, bool isError);
  ToolAction ChangeSynchronous(int axis);
  ToolAction ChangeStartingTable(int axis);
  ToolAction ChangeSpeedRate();
  ToolAction ChangeJogSpeed(int axis);
  ToolAction ChangeCurrentValue(int axis, bool coordinateOrigin);
  // Teaching: the table No. input, then the axis's current value becomes the
  // movement amount of that table in the document. Nothing is sent.
  ToolAction Teach(int axis, CAxisCfgDoc& doc);
  int TeachTable(int axis) const { return teachTables_.at(axis & 7); }

  // "&Exit" of an operation window: false (after the message) while a
  // connected axis runs or a JOG is marked running, read afresh.
  bool CanExit(bool monitoringStopped);
  // A window ending on an error or a release: the held JOG is stopped, and
  // on an error what this controller started is decelerated; each request
  // once, without messages.
  void AbandonMotion(bool decelerate);

 private:
  int RequestToolMode(bool ask, bool restart);
  void ArmKeepAlive();
  ToolAction ShowCommError(int rc, unsigned heading = 0);
  ToolAction ShowRefusal(const CToolOprException& e, unsigned heading);
  int ReadWords(uint32_t address, uint32_t count, uint16_t* words);
  bool ReadUnitKind(int axis, uint16_t& unitCode, int& kind, ToolAction& result);
  std::string Label(int axis) const { return layout_.GetAxisLabel(axis); }

  CUnitLink& link_;
  CAxisLayout layout_;
  uint32_t family_;
  IToolOprPrompts& prompts_;
  CKeepAlive* keepAlive_ = nullptr;
  bool entered_ = false;
  struct JogState {
    int axis = -1;
    bool plus = true;
    bool held = false;
    bool running = false;
  } jog_;
  uint16_t startedAxes_ = 0;  // axes whose movement this controller started
  std::array<int, 8> teachTables_{1, 1, 1, 1, 1, 1, 1, 1};
};

}  // namespace axcfg
