#include "axcfg_unit/unit_link.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "axcfg_unit/tool_opr_exception.h"
#include "axcfg_unit/unit_addresses.h"
#include "platform/message_box.h"
#include "axcfg_unit/unit_strings.h"

namespace axcfg {

using namespace unitaddr;

namespace {
constexpr size_t kNameOffset = 2;
constexpr size_t kNameMax = 79;

bool AxisOk(int axis) { return axis >= 0 && axis < 8; }

// The first 79 characters, never cutting one in half.
std::string CutName(const std::string& name) {
  if (name.size() <= kNameMax) return name;
  size_t n = kNameMax;
  while (n > 0 && (static_cast<unsigned char>(name[n]) & 0xC0) == 0x80) --n;
  return name.substr(0, n);
}
}  // namespace

CUnitLink::CUnitLink(std::string applicationName, ILinkLibrary& library, ILinkUi& ui, ILinkDialogs* dialogs)
    : applicationName_(std::move(applicationName)), library_(library), ui_(ui), dialogs_(dialogs) {
  RegisterUnitStrings();
}

// ---- connection -------------------------------------------------------------

int CUnitLink::InitialiseLibrary() {
  if (flags_ & kFlagInitialised) return kLinkOk;
  library_.SetProductNo(context_.data(), kProductNo);
  if (library_.ReadSection(context_.data(), applicationName_) != 0) return kLinkInitFailed;
  flags_ |= kFlagInitialised;
  return kLinkOk;
}

void CUnitLink::ApplyApplicationName() {
  if (!(flags_ & (kFlagInitialised | kFlagOpen))) return;
  std::string name = CutName(applicationName_);
  if (flags_ & kFlagOpen) {
    library_.SetApplicationName(context_.data(), name);
  } else {
    std::memset(context_.data() + kNameOffset, 0, kNameMax + 1);
    std::memcpy(context_.data() + kNameOffset, name.data(), name.size());
  }
}

int CUnitLink::Open(void* owner, bool checkProgrammingTool, bool reportErrors, bool libraryOnly) {
  owner_ = owner;
  if (flags_ & kFlagOpen) return kLinkOk;
  if (!(flags_ & kFlagInitialised)) {
    int rc = InitialiseLibrary();
    if (rc != kLinkOk) {
      if (reportErrors) ReportError(rc, kReportMessageBox);
      return rc;
    }
  }
  ApplyApplicationName();
  library_.SetLanguage(context_.data(), language_ == 1 ? 0 : 1);
  if (libraryOnly) return kLinkOk;
  int rc = library_.Open(owner, context_.data());
  if (rc != 0) {
    flags_ &= static_cast<uint8_t>(~kFlagOpen);
    if (reportErrors) ReportError(rc, kReportMessageBox);
    return rc;
  }
  flags_ |= kFlagOpen;
  ApplyApplicationName();
  if (checkProgrammingTool) {
    rc = library_.CheckProgrammingTool(context_.data(), destinationNo_, destinationName_, applicationName_);
    if (rc != 0) {
      if (reportErrors) ReportError(rc, kReportMessageBox);
      library_.Close(context_.data());
      flags_ &= static_cast<uint8_t>(~kFlagOpen);
      return rc;
    }
  }
  return kLinkOk;
}

int CUnitLink::Close() {
  if (!(flags_ & kFlagOpen)) return kLinkNotOpen;
  library_.Close(context_.data());
  flags_ &= static_cast<uint8_t>(~kFlagOpen);
  return kLinkOk;
}

int CUnitLink::CommunicationSettings(void* owner) {
  if (!dialogs_) return 2;
  bool haveContext = (flags_ & kFlagInitialised) != 0;
  if (!haveContext && InitialiseLibrary() == kLinkOk) {
    haveContext = true;
    ApplyApplicationName();
    library_.SetLanguage(context_.data(), language_ == 1 ? 0 : 1);
  }
  uint16_t number = destinationNo_;
  std::string name = destinationName_.substr(0, 255);
  int rc = dialogs_->CommunicationSettings(haveContext ? context_.data() : nullptr, applicationName_, owner, number, name);
  if (haveContext && rc == 1) {
    destinationName_ = name;
    destinationNo_ = number;
  }
  return rc;
}

int CUnitLink::SpecifyStationNo(void* owner) {
  if (!owner || !dialogs_) return 2;
  if (Open(owner, false, true, false) != kLinkOk) return 2;
  int rc = dialogs_->SpecifyStation(context_.data(), owner, applicationName_, destinationNo_, destinationName_);
  Close();
  return rc;
}

bool CUnitLink::AcceptSlot(uint16_t slot, void* owner) {
  if (slot > kMaxSlot) return false;
  uint16_t old = slotNo_;
  slotNo_ = slot;
  if (Open(owner, true, true, false) != kLinkOk) {
    slotNo_ = old;
    return false;
  }
  // The connection reaches the PLC; the unit in the new slot must answer too.
  uint16_t model = 0;
  int rc = Read(kModelCode, 1, &model, kReportNone);
  Close();
  if (rc != 0) {
    ReportError(rc, kReportMessageBox);
    slotNo_ = old;
    return false;
  }
  return true;
}

std::string CUnitLink::GetDestinationText() {
  char slot[64];
  std::snprintf(slot, sizeof slot, UnitText(kStrSlotNo).c_str(), static_cast<int>(slotNo_));
  return library_.DestinationText(context_.data(), destinationNo_, destinationName_) + " - " + slot;
}

// ---- memory ---------------------------------------------------------------------

int CUnitLink::LockedRead(uint32_t byteAddress, uint32_t count, uint16_t* buffer) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  return library_.ReadWords(context_.data(), destinationNo_, slotNo_ & 0xFF, byteAddress / 2, count, buffer);
}

int CUnitLink::LockedWrite(uint32_t byteAddress, uint32_t count, const uint16_t* buffer) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  return library_.WriteWords(context_.data(), destinationNo_, slotNo_ & 0xFF, byteAddress / 2, count, buffer);
}

int CUnitLink::Read(uint32_t byteAddress, uint32_t wordCount, uint16_t* buffer, uint8_t reportMode) {
  int rc = LockedRead(byteAddress, wordCount, buffer);
  if (rc == 0 || reportMode == kReportNone) return rc;
  return ReportError(rc, reportMode);
}

int CUnitLink::Write(uint32_t byteAddress, uint32_t wordCount, const uint16_t* buffer, uint8_t reportMode) {
  int rc = LockedWrite(byteAddress, wordCount, buffer);
  if (rc == 0 || reportMode == kReportNone) return rc;
  return ReportError(rc, reportMode);
}

int CUnitLink::Write32(uint32_t byteAddress, int32_t value) {
  const uint32_t v = static_cast<uint32_t>(value);
  if (int rc = WriteWord(byteAddress, static_cast<uint16_t>(v & 0xFFFF)); rc != 0) return rc;
  return WriteWord(byteAddress + 2, static_cast<uint16_t>(v >> 16));
}

// ---- errors ---------------------------------------------------------------------

std::string CUnitLink::GetErrorString(int code) {
  if (code == kLinkFromNotAcknowledged) return UnitText(kStrFromNotAcknowledged);
  if (code == kLinkInitFailed || code == kLinkSystemError || code == kLinkBadArgument)
    return UnitText(kStrCommunicationSystemError) + "[" + std::to_string(code) + "]";
  return library_.ErrorText(context_.data(), code);
}

int CUnitLink::ReportError(int code, uint8_t mode) {
  std::string text = GetErrorString(code);
  if (mode == kReportDialog) return ui_.CommunicationError(text, owner_);
  return ui_.MessageBox(text, platform::MB_OK | platform::MB_ICONEXCLAMATION);
}

// ---- tool operation -----------------------------------------------------------

int CUnitLink::CheckRequest(int axis, uint8_t requestCode, unsigned checks) {
  uint16_t word = 0;
  if (checks & kCheckFrom) {
    if (int rc = ReadWord(kStatusFrom, word); rc != 0) return rc;
    if (!(word & kStatusFromIdle)) throw CToolOprException(requestCode, kRefusedWritingFrom);
  }
  if (checks & kCheckBusy) {
    if (int rc = ReadWord(kStatusBusy, word); rc != 0) return rc;
    if (AxisOk(axis) && !(word & AxisStatusBit(axis))) throw CToolOprException(requestCode, kRefusedAxisRunning);
  }
  return kLinkOk;
}

int CUnitLink::IsToolModeOn(bool& on) {
  uint16_t word = 0;
  int rc = ReadWord(kToolMode, word);
  on = rc == 0 && word == kToolModeOn;
  return rc;
}

int CUnitLink::RequestToolMode() {
  uint16_t busyWord = 0, mode = 0;
  if (int rc = ReadWord(kStatusBusy, busyWord); rc != 0) return rc;
  const bool busy = (busyWord & kAllAxesStatus) != kAllAxesStatus;
  if (int rc = ReadWord(kToolMode, mode); rc != 0) return rc;
  if (mode == kToolModeOn) throw CToolOprException(kReqToolMode, kRefusedToolModeOn);
  if (mode != 0) throw CToolOprException(kReqToolMode, busy ? kRefusedAxisRunning : kRefusedOtherToolMode);
  if (busy) throw CToolOprException(kReqToolMode, kRefusedAxisRunning);
  return WriteWord(kToolMode, kToolModeOn);
}

int CUnitLink::CancelToolMode() {
  if (int rc = WriteWord(kKeepAlive, 0); rc != 0) return rc;
  return WriteWord(kToolMode, 0);
}

int CUnitLink::WriteToolTimeout(int value) { return WriteWord(kToolTimeout, static_cast<uint16_t>(value & 0xFFFF)); }

int CUnitLink::KeepAlive(uint8_t& status, bool alive) {
  uint16_t mode = 0;
  if (int rc = ReadWord(kToolMode, mode); rc != 0) return rc;
  if (mode != kToolModeOn) {
    status = kKeepAliveModeLeft;
    return kLinkOk;
  }
  int rc = WriteWord(kKeepAlive, alive ? kAlive : 0);
  if (rc == 0) status |= kKeepAliveWritten;
  return rc;
}

int CUnitLink::ChangeRequestBits(int axis, uint8_t requestCode, unsigned checks, uint16_t bits, bool set) {
  if (!AxisOk(axis)) return kLinkBadArgument;
  if (int rc = CheckRequest(axis, requestCode, checks); rc != 0) return rc;
  if (requestCode == kReqServoOn || requestCode == kReqServoOff) {
    uint16_t state = 0;
    if (int rc = ReadWord(MonitorState(axis), state); rc != 0) return rc;
    if (!(state & kMonStateReady)) throw CToolOprException(requestCode, kRefusedNotReady);
  }
  uint16_t word = 0;
  if (int rc = ReadWord(RequestBits(axis), word); rc != 0) return rc;
  word = set ? static_cast<uint16_t>(word | bits) : static_cast<uint16_t>(word & ~bits);
  return WriteWord(RequestBits(axis), word);
}

int CUnitLink::ServoOnOff(int axis, bool on) {
  return ChangeRequestBits(axis, on ? kReqServoOn : kReqServoOff, kCheckBoth, kBitServo, on);
}
int CUnitLink::StartPositioning(int axis) {
  return ChangeRequestBits(axis, kReqPositioning, kCheckBoth, kBitPositioning, true);
}
int CUnitLink::StartJog(int axis, bool direction) {
  return ChangeRequestBits(axis, kReqJog, kCheckFrom, direction ? kBitJogForward : kBitJogBackward, true);
}
// Stops are never refused: a stop held back by a FROM write would leave the
// axis moving while the keep-alive goes on.
int CUnitLink::StopJog(int axis, bool direction) {
  return ChangeRequestBits(axis, kReqJog, 0, direction ? kBitJogForward : kBitJogBackward, false);
}
int CUnitLink::StartHomeReturn(int axis) {
  return ChangeRequestBits(axis, kReqHomeReturn, kCheckBoth, kBitHomeReturn, true);
}
int CUnitLink::DecelerationStop(int axis) {
  return ChangeRequestBits(axis, kReqDecelStop, 0, kBitDecelStop, true);
}

int CUnitLink::WriteCurrentValue(int axis, int32_t value) {
  if (!AxisOk(axis)) return kLinkBadArgument;
  if (int rc = CheckRequest(axis, kReqZeroOffset, kCheckBoth); rc != 0) return rc;
  if (int rc = Write32(NewCurrentValue(axis), value); rc != 0) return rc;
  uint16_t word = 0;
  if (int rc = ReadWord(kCurrentValueRequest, word); rc != 0) return rc;
  return WriteWord(kCurrentValueRequest, static_cast<uint16_t>(word | (1u << axis)));
}

int CUnitLink::WriteCoordinateOrigin(int axis, int32_t value) {
  if (!AxisOk(axis)) return kLinkBadArgument;
  if (int rc = CheckRequest(axis, kReqZeroOffset, kCheckBoth); rc != 0) return rc;
  return Write32(CoordinateOrigin(axis), value);
}

int CUnitLink::ClearErrorWarning(uint8_t bits, bool isError) {
  return WriteWord(isError ? kErrorClear : kWarningClear, bits);
}

int CUnitLink::RequestWriteFROM(int limitMs) {
  using namespace std::chrono;
  // The unit answers within milliseconds on a fast link; between reads the
  // handshake pauses briefly instead of flooding the link for seconds.
  constexpr auto kPollPause = milliseconds(5);
  const auto limit = milliseconds(limitMs < 0 ? fromAckLimitMs_ : limitMs);
  std::lock_guard<std::recursive_mutex> guard(lock_);
  uint16_t word = 0;
  if (int rc = ReadWord(kStatusFrom, word); rc != 0) return rc;
  if (!(word & kStatusFromIdle)) throw CToolOprException(kReqWriteFrom, kRefusedWritingFrom);
  if (int rc = WriteWord(kHandshake, kFromRequest); rc != 0) return rc;
  const auto start = steady_clock::now();
  for (;;) {
    if (int rc = ReadWord(kHandshake, word); rc != 0) return rc;
    if (word == kFromAcknowledged) return WriteWord(kHandshake, kFromConfirm);
    const auto waited = steady_clock::now() - start;
    if (word != kFromRequest || waited > limit) {
      WriteWord(kHandshake, 0);
      return kLinkFromNotAcknowledged;
    }
    std::this_thread::sleep_for(std::min<steady_clock::duration>(kPollPause, limit - waited + milliseconds(1)));
  }
}

}  // namespace axcfg
