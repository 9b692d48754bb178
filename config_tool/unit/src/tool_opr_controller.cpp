#include "axcfg_unit/tool_opr_controller.h"

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_unit/keep_alive.h"
#include "axcfg_unit/monitor_strings.h"
#include "axcfg_unit/tool_opr_exception.h"
#include "axcfg_unit/tool_opr_strings.h"
#include "axcfg_unit/unit_addresses.h"
#include "axcfg_unit/unit_link.h"
#include "platform/message_box.h"

namespace axcfg {

using namespace unitaddr;
using platform::IDYES;
using platform::MB_DEFBUTTON2;
using platform::MB_ICONEXCLAMATION;
using platform::MB_ICONINFORMATION;
using platform::MB_ICONQUESTION;
using platform::MB_ICONSTOP;
using platform::MB_OK;
using platform::MB_YESNO;

namespace {

constexpr unsigned kQuestion = MB_YESNO | MB_ICONQUESTION;
constexpr unsigned kWarning = MB_OK | MB_ICONEXCLAMATION;

uint16_t Bit(int axis) { return static_cast<uint16_t>(1u << axis); }

int32_t Join32(const uint16_t* words) { return static_cast<int32_t>(words[0] | (uint32_t{words[1]} << 16)); }

void Split32(int64_t value, uint16_t* words) {
  const auto v = static_cast<uint32_t>(value);
  words[0] = static_cast<uint16_t>(v & 0xFFFF);
  words[1] = static_cast<uint16_t>(v >> 16);
}

int LowestAxis(uint16_t bits) {
  for (int axis = 0; axis < 8; ++axis)
    if (bits & Bit(axis)) return axis;
  return -1;
}

// The synchronous groups as the unit holds them: {mode, master bits, slave
// bits} twice, then one condition word per group (bit 0 = asynchronous).
struct SyncWords {
  uint16_t groups[kSyncGroupWords] = {};
  uint16_t condition[2] = {};
  uint16_t Mode(int g) const { return groups[3 * g]; }
  uint16_t Master(int g) const { return groups[3 * g + 1]; }
  uint16_t Slave(int g) const { return groups[3 * g + 2]; }
  // The first group (0 or 1) holding the axis, masters before slaves; -1.
  int GroupOf(int axis) const {
    for (int g = 0; g < 2; ++g)
      if ((Master(g) | Slave(g)) & Bit(axis)) return g;
    return -1;
  }
};

}  // namespace

CToolOprController::CToolOprController(CUnitLink& link, const CAxisLayout& layout, uint32_t family,
                                       IToolOprPrompts& prompts)
    : link_(link), layout_(layout), family_(family), prompts_(prompts) {}

// ---- entering and leaving ----

int CToolOprController::Enter(int toolTimeoutSeconds) {
  if (prompts_.Message(ToolOprText(kTopAskStart), kQuestion) != IDYES) return kToolOprCancelled;
  if (int rc = link_.WriteToolTimeout(toolTimeoutSeconds); rc != 0) {
    ShowCommError(rc);
    return kToolOprError;
  }
  return RequestToolMode(true, false);
}

int CToolOprController::EnterUnasked(int toolTimeoutSeconds, bool restart) {
  if (int rc = link_.WriteToolTimeout(toolTimeoutSeconds); rc != 0) {
    ShowCommError(rc);
    return kToolOprError;
  }
  return RequestToolMode(false, restart);
}

int CToolOprController::RequestToolMode(bool ask, bool restart) {
  for (int refusals = 0;;) {
    try {
      if (int rc = link_.RequestToolMode(); rc != 0) {
        ShowCommError(rc);
        return kToolOprError;
      }
      entered_ = true;
      return kToolOprActive;
    } catch (const CToolOprException& e) {
      if (++refusals >= 2) {
        prompts_.Message(ToolOprText(kTopCannotStart), MB_OK | MB_ICONSTOP);
        return kToolOprError;
      }
      if (!e.IsToolModeAlreadyOn()) {
        prompts_.Message(ToolOprText(kTopOtherOperation), MB_OK | MB_ICONSTOP);
        return kToolOprCancelled;
      }
      const bool yes = ask ? prompts_.Message(ToolOprText(kTopAskRestart), kQuestion) == IDYES : restart;
      if (!yes) return kToolOprCancelled;
      if (int rc = link_.CancelToolMode(); rc != 0) {
        ShowCommError(rc);
        return kToolOprError;
      }
    }
  }
}

bool CToolOprController::Leave() {
  if (prompts_.Message(ToolOprText(kTopAskQuit), kQuestion) != IDYES) return false;
  prompts_.Busy(true);
  int rc = 0;
  bool refused = false;
  try {
    rc = link_.CancelToolMode();
  } catch (const CToolOprException&) {
    refused = true;
  }
  prompts_.Busy(false);
  if (rc == 0 && !refused) {
    entered_ = false;
    return true;
  }
  std::string text = ToolOprText(kTopCancelFailed);
  if (!refused) text = link_.GetErrorString(rc) + "\n\n" + text;
  return prompts_.Message(text, kQuestion | MB_DEFBUTTON2) == IDYES;
}

// ---- checks and reports ----

int CToolOprController::ReadWords(uint32_t address, uint32_t count, uint16_t* words) {
  return link_.Read(address, count, words, kReportNone);
}

ToolAction CToolOprController::ShowCommError(int rc, unsigned heading) {
  std::string text = link_.GetErrorString(rc);
  if (heading != 0) text = ToolOprText(heading) + "\n\n" + text;
  prompts_.Message(text, kWarning);
  return ToolAction::kCommError;
}

ToolAction CToolOprController::ShowRefusal(const CToolOprException& e, unsigned heading) {
  prompts_.Message(ToolOprText(heading) + "\n\n" + e.GetRequestText() + "\n" + e.ErrorText(), kWarning);
  return ToolAction::kStopped;
}

ToolAction CToolOprController::CheckToolMode() {
  bool on = false;
  if (int rc = link_.IsToolModeOn(on); rc != 0) return ShowCommError(rc);
  if (on) return ToolAction::kDone;
  prompts_.Message(ToolOprText(kTopReleased), kWarning);
  return ToolAction::kReleased;
}

ToolAction CToolOprController::CheckConnected(int axis) {
  uint16_t word = 0;
  if (int rc = ReadWords(kStatusFrom, 1, &word); rc != 0) return ShowCommError(rc);
  if (axis >= 0 && axis < 8 && !(word & AxisStatusBit(axis))) return ToolAction::kDone;
  prompts_.Message(MonitorText(kMonAxisNotConnected), kWarning);
  return ToolAction::kStopped;
}

void CToolOprController::ArmKeepAlive() {
  if (keepAlive_ && !keepAlive_->IsRunning()) keepAlive_->Start();
}

// ---- servo and movements ----

ToolAction CToolOprController::ToggleServo(int axis) {
  uint16_t state = 0;
  if (int rc = ReadWords(MonitorState(axis & 7), 1, &state); rc != 0) return ShowCommError(rc, kTopServoError);
  return SetServo(axis, !(state & kMonStateServoOn));
}

ToolAction CToolOprController::SetServo(int axis, bool on) {
  try {
    if (int rc = link_.ServoOnOff(axis, on); rc != 0) return ShowCommError(rc, kTopServoError);
  } catch (const CToolOprException& e) {
    return ShowRefusal(e, kTopServoError);
  }
  return ToolAction::kDone;
}

ToolAction CToolOprController::JogPress(int axis, bool plus) {
  jog_ = JogState{axis, plus, true, false};
  ArmKeepAlive();
  try {
    if (int rc = link_.StartJog(axis, plus); rc != 0) return ShowCommError(rc, kTopJogError);
  } catch (const CToolOprException& e) {
    return ShowRefusal(e, kTopJogError);
  }
  jog_.running = true;
  startedAxes_ |= Bit(axis);
  return ToolAction::kDone;
}

ToolAction CToolOprController::JogRelease() {
  jog_.held = false;
  if (!jog_.running) return ToolAction::kDone;
  jog_.running = false;
  int rc = 0;
  try {
    rc = link_.StopJog(jog_.axis, jog_.plus);
  } catch (const CToolOprException& e) {
    if (keepAlive_) keepAlive_->Stop();
    return ShowRefusal(e, kTopJogError);
  }
  if (rc == 0) return ToolAction::kDone;
  if (keepAlive_) keepAlive_->Stop();
  return ShowCommError(rc, kTopJogError);
}

ToolAction CToolOprController::HomeReturn(int axis, bool start) {
  SyncWords sync;
  if (int rc = ReadWords(kSyncGroups, kSyncGroupWords, sync.groups); rc != 0) return ShowCommError(rc);
  if (int rc = ReadWords(kSyncCondition, 2, sync.condition); rc != 0) return ShowCommError(rc);
  int target = axis;
  if (const int g = sync.GroupOf(axis); g >= 0) {
    if (sync.Mode(g) == 0 && !(sync.condition[g] & 1)) {
      prompts_.Message(ToolOprText(kTopSyncModeAHome), kWarning);
      return ToolAction::kStopped;
    }
    if (sync.Mode(g) == 1) {
      uint16_t mode = 0;
      if (int rc = ReadWords(HomeReturnMode(axis), 1, &mode); rc != 0) return ShowCommError(rc);
      if (mode != 1 && mode != 4 && mode != 6 && mode != 8) {
        prompts_.Message(ToolOprText(kTopSyncModeBHome), kWarning);
        return ToolAction::kStopped;
      }
      if (!(sync.Master(g) & Bit(axis)) && LowestAxis(sync.Master(g)) >= 0) {
        prompts_.Message(ToolOprText(kTopSyncMaster), MB_OK | MB_ICONINFORMATION);
        target = LowestAxis(sync.Master(g));
      }
    }
  }
  if (!start) return DecelerationStop(target);
  try {
    if (int rc = link_.StartHomeReturn(target); rc != 0) return ShowCommError(rc);
  } catch (const CToolOprException& e) {
    return ShowRefusal(e, kTopHomeError);
  }
  startedAxes_ |= Bit(target);
  ArmKeepAlive();
  return ToolAction::kDone;
}

ToolAction CToolOprController::Positioning(int axis) {
  int target = axis;
  if (const int group = layout_.GetAxisGroupNo(axis); group > 0) {
    for (int member = 1; member <= 3; ++member) {
      const int a = layout_.GetGroupAxis(group - 1, member);
      if (a >= 0 && a < target) target = a;
    }
  }
  uint16_t busy = 0;
  if (int rc = ReadWords(kStatusBusy, 1, &busy); rc != 0) return ShowCommError(rc);
  ToolAction result = ToolAction::kDone;
  if (!(busy & AxisStatusBit(target))) {
    result = DecelerationStop(target);
  } else {
    try {
      if (int rc = link_.StartPositioning(target); rc != 0) return ShowCommError(rc);
      startedAxes_ |= Bit(target);
      ArmKeepAlive();
    } catch (const CToolOprException& e) {
      result = ShowRefusal(e, kTopPositioningError);
    }
  }
  if (target != axis) {
    bool on = false;
    if (link_.IsToolModeOn(on) == 0 && on)
      prompts_.Message(ToolOprText(kTopInterpolationAxis), MB_OK | MB_ICONINFORMATION);
  }
  return result;
}

ToolAction CToolOprController::DecelerationStop(int axis) {
  try {
    if (int rc = link_.DecelerationStop(axis); rc != 0) return ShowCommError(rc);
  } catch (const CToolOprException& e) {
    return ShowRefusal(e, kTopDecelError);
  }
  return ToolAction::kDone;
}

ToolAction CToolOprController::ClearErrorWarning(int axis, bool isError) {
  if (int rc = link_.ClearErrorWarning(static_cast<uint8_t>(Bit(axis & 7)), isError); rc != 0)
    return ShowCommError(rc);
  return ToolAction::kDone;
}

ToolAction CToolOprController::ChangeSynchronous(int axis) {
  SyncWords sync;
  if (int rc = ReadWords(kSyncGroups, kSyncGroupWords, sync.groups); rc != 0) return ShowCommError(rc);
  if (int rc = ReadWords(kSyncCondition, 2, sync.condition); rc != 0) return ShowCommError(rc);
  const int g = sync.GroupOf(axis);
  if (g < 0) {
    prompts_.Message(ToolOprText(kTopNoSync), kWarning);
    return ToolAction::kStopped;
  }
  if (sync.Mode(g) == 1) {
    prompts_.Message(ToolOprText(kTopSyncModeB), kWarning);
    return ToolAction::kStopped;
  }
  // Group g's own word: the first group's condition is the first word.
  const uint16_t word = static_cast<uint16_t>(sync.condition[g] ^ 1u);
  if (int rc = link_.Write(kSyncCondition + 2u * static_cast<uint32_t>(g), 1, &word, kReportNone); rc != 0)
    return ShowCommError(rc);
  return ToolAction::kDone;
}

// ---- value changes ----

ToolAction CToolOprController::ChangeStartingTable(int axis) {
  uint16_t table = 0;
  if (int rc = ReadWords(StartingTable(axis & 7), 1, &table); rc != 0) return ShowCommError(rc);
  int64_t value = 0;
  if (!prompts_.InputValue(ValueInputRules(kValueStartingTable, Label(axis)), table, value))
    return ToolAction::kCancelled;
  const auto word = static_cast<uint16_t>(value);
  if (link_.Write(StartingTable(axis & 7), 1, &word, kReportDialog) != 0) return ToolAction::kCommError;
  return ToolAction::kDone;
}

ToolAction CToolOprController::ChangeSpeedRate() {
  uint16_t rate = 0;
  if (int rc = ReadWords(kSpeedRate, 1, &rate); rc != 0) return ShowCommError(rc);
  int64_t value = 0;
  if (!prompts_.InputValue(ValueInputRules(kValueSpeedRate, {}), rate, value)) return ToolAction::kCancelled;
  const auto word = static_cast<uint16_t>(value);
  if (link_.Write(kSpeedRate, 1, &word, kReportMessageBox) != 0) return ToolAction::kCommError;
  return ToolAction::kDone;
}

bool CToolOprController::ReadUnitKind(int axis, uint16_t& unitCode, int& kind, ToolAction& result) {
  if (int rc = ReadWords(UnitCode(axis & 7), 1, &unitCode); rc != 0) {
    result = ShowCommError(rc);
    return false;
  }
  kind = PositionKindOfUnit(unitCode);
  return true;
}

ToolAction CToolOprController::ChangeJogSpeed(int axis) {
  uint16_t unit = 0;
  int kind = 0;
  ToolAction result{};
  if (!ReadUnitKind(axis, unit, kind, result)) return result;
  if (kind == 0) {
    prompts_.Message(ToolOprText(kTopJogSpeedUnitUnknown), kWarning);
    return ToolAction::kStopped;
  }
  uint16_t words[2] = {};
  if (int rc = ReadWords(JogTargetSpeed(axis & 7), 2, words); rc != 0) return ShowCommError(rc);
  const int64_t current = static_cast<uint32_t>(Join32(words));
  int64_t value = 0;
  if (!prompts_.InputValue(ValueInputRules(kValueJogSpeedBase + kind, Label(axis)), current, value))
    return ToolAction::kCancelled;
  Split32(value, words);
  if (link_.Write(JogTargetSpeed(axis & 7), 2, words, kReportMessageBox) != 0) return ToolAction::kCommError;
  return ToolAction::kDone;
}

ToolAction CToolOprController::ChangeCurrentValue(int axis, bool coordinateOrigin) {
  uint16_t unit = 0;
  int kind = 0;
  ToolAction result{};
  if (!ReadUnitKind(axis, unit, kind, result)) return result;
  if (kind == 0) {
    prompts_.Message(ToolOprText(kTopUnitUnknown), kWarning);
    return ToolAction::kStopped;
  }
  const unsigned heading = coordinateOrigin ? kTopOriginError : kTopCurrentValueError;
  uint16_t words[2] = {};
  const uint32_t from = coordinateOrigin ? CoordinateOrigin(axis & 7) : ConvertedValue(axis & 7);
  if (int rc = ReadWords(from, 2, words); rc != 0) return ShowCommError(rc, heading);
  int64_t value = 0;
  if (!prompts_.InputValue(ValueInputRules(kind, Label(axis), coordinateOrigin), Join32(words), value))
    return ToolAction::kCancelled;
  try {
    const auto v = static_cast<int32_t>(value);
    const int rc = coordinateOrigin ? link_.WriteCoordinateOrigin(axis, v) : link_.WriteCurrentValue(axis, v);
    if (rc != 0) return ShowCommError(rc, heading);
  } catch (const CToolOprException& e) {
    return ShowRefusal(e, heading);
  }
  return ToolAction::kDone;
}

ToolAction CToolOprController::Teach(int axis, CAxisCfgDoc& doc) {
  const int slot = axis & 7;
  int64_t table = 0;
  if (!prompts_.InputValue(ValueInputRules(kValueTeachTable, Label(axis)), teachTables_[slot], table))
    return ToolAction::kCancelled;
  teachTables_[slot] = static_cast<int>(table);
  uint16_t unit = 0;
  int kind = 0;
  ToolAction result{};
  if (!ReadUnitKind(axis, unit, kind, result)) return result;
  uint16_t words[2] = {};
  if (int rc = ReadWords(ConvertedValue(slot), 2, words); rc != 0) return ShowCommError(rc);
  // The value is in the unit's position unit: it is only taken where the
  // document's axis counts in the same unit.
  if (doc.GetParamBlock().GetUnitCode(slot) != unit) {
    prompts_.Message(ToolOprText(kTopTeachUnitDiffers), kWarning);
    return ToolAction::kStopped;
  }
  const int k = static_cast<int>(table) - 1;
  CPosData* row = doc.GetPosData(k);
  if (!row) return ToolAction::kStopped;
  // The views keep the row as it was (an undo step) and show it afterwards.
  doc.NotifyRowWillChange(k);
  row->SetMoveAmount(slot, Join32(words));
  doc.SetModifiedFlag();
  doc.UpdateAllViews(nullptr, k, &doc);
  return ToolAction::kDone;
}

// ---- leaving a window ----

bool CToolOprController::CanExit(bool monitoringStopped) {
  if (monitoringStopped) return true;
  // The axes' request words and, right behind them, the connection and busy
  // words (both 0 when active), in one read. A home return or positioning
  // start the unit has not taken yet (its bit still set) is about to run.
  uint16_t words[10] = {};
  if (int rc = ReadWords(RequestBits(0), 10, words); rc != 0) {
    ShowCommError(rc);
    return false;
  }
  uint16_t running = static_cast<uint16_t>(~words[8] & ~words[9] & kAllAxesStatus);
  for (int axis = 0; axis < 8; ++axis)
    if (words[axis] & (kBitHomeReturn | kBitPositioning)) running |= AxisStatusBit(axis);
  if (!(running & (layout_.GetUsedAxisMask() << 8)) && !jog_.running) return true;
  prompts_.Message(ToolOprText(kTopRunningAxis), kWarning);
  return false;
}

void CToolOprController::AbandonMotion(bool decelerate) {
  if (jog_.running) {
    jog_.running = false;
    try {
      link_.StopJog(jog_.axis, jog_.plus);
    } catch (const CToolOprException&) {
    }
  }
  if (decelerate) {
    for (int axis = 0; axis < 8; ++axis) {
      if (!(startedAxes_ & Bit(axis))) continue;
      try {
        link_.DecelerationStop(axis);
      } catch (const CToolOprException&) {
      }
    }
  }
  startedAxes_ = 0;
}

}  // namespace axcfg
