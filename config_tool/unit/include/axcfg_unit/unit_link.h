#pragma once
// The configuration tool's one connection to the positioning unit: opening
// and closing it through the communication library, the destination and
// slot, locked reads and writes of the unit's shared memory by byte address,
// error texts and reports, and the tool-operation requests with their checks.
#include <array>
#include <cstdint>
#include <mutex>
#include <string>

#include "axcfg_unit/link_dialogs.h"
#include "axcfg_unit/link_library.h"
#include "axcfg_unit/link_ui.h"

namespace axcfg {

// Results the link adds to the library's codes.
enum LinkResult : int {
  kLinkOk = 0,
  kLinkInitFailed = -300000,
  kLinkSystemError = -300001,
  kLinkBadArgument = -300002,  // an axis outside 0..7
  kLinkFromNotAcknowledged = -300003,
  kLinkNotOpen = 100001,
};

// How Read and Write report a failure.
enum ReportMode : uint8_t { kReportDialog = 0, kReportMessageBox = 1, kReportNone = 2 };

// Request codes of the tool-operation requests.
enum ToolRequest : uint8_t {
  kReqToolMode = 0x00, kReqCancelToolMode = 0x01, kReqWriteFrom = 0x05, kReqEmergencyStop = 0x10,
  kReqServoOn = 0x12, kReqServoOff = 0x13, kReqPositioning = 0x14, kReqJog = 0x15, kReqHomeReturn = 0x16,
  kReqDecelStop = 0x17, kReqErrorCancel = 0x18, kReqHistoryUpdate = 0x19, kReqHistoryClear = 0x1A,
  kReqZeroOffset = 0x1B,
};

// Bits of KeepAlive's status byte.
enum KeepAliveStatus : uint8_t {
  kKeepAliveWritten = 0x01,   // the last keep-alive write succeeded
  kKeepAliveModeLeft = 0x10,  // the unit left tool operation mode
};

class CUnitLink {
 public:
  static constexpr int kProductNo = 11;
  static constexpr int kMaxSlot = 28;

  // Without dialogs the settings and station calls answer "cancelled".
  CUnitLink(std::string applicationName, ILinkLibrary& library, ILinkUi& ui, ILinkDialogs* dialogs = nullptr);
  CUnitLink(const CUnitLink&) = delete;
  CUnitLink& operator=(const CUnitLink&) = delete;

  // The application's language (1 Japanese): the library's texts follow it.
  void SetApplicationLanguage(int language) { language_ = language; }
  const std::string& ApplicationName() const { return applicationName_; }

  int Open(void* owner, bool checkProgrammingTool, bool reportErrors, bool libraryOnly);
  int Close();
  bool IsOpen() const { return (flags_ & kFlagOpen) != 0; }
  bool IsLibraryInitialised() const { return (flags_ & kFlagInitialised) != 0; }

  int CommunicationSettings(void* owner);
  int SpecifyStationNo(void* owner);
  uint16_t GetSlotNo() const { return slotNo_; }
  void SetSlotNo(uint16_t slot) { slotNo_ = slot; }
  // The slot dialog's OK: the slot is taken only when a connection with it
  // succeeds (the failure is reported by Open); false keeps the old slot.
  bool AcceptSlot(uint16_t slot, void* owner);
  std::string GetDestinationText();
  uint16_t DestinationNo() const { return destinationNo_; }
  // Sets the station and destination name directly (without the dialogs).
  void SetDestination(uint16_t number, std::string name) {
    destinationNo_ = number;
    destinationName_ = std::move(name);
  }
  const std::string& DestinationName() const { return destinationName_; }

  int Read(uint32_t byteAddress, uint32_t wordCount, uint16_t* buffer, uint8_t reportMode);
  int Write(uint32_t byteAddress, uint32_t wordCount, const uint16_t* buffer, uint8_t reportMode);
  int ReportError(int code, uint8_t mode);
  std::string GetErrorString(int code);

  // Tool-operation requests: 0 or a library code; refusals throw CToolOprException.
  int CheckRequest(int axis, uint8_t requestCode, unsigned checks);
  int IsToolModeOn(bool& on);
  int RequestToolMode();
  int CancelToolMode();
  int WriteToolTimeout(int value);
  int KeepAlive(uint8_t& status, bool alive);
  int ServoOnOff(int axis, bool on);
  int StartPositioning(int axis);
  int StartJog(int axis, bool direction);
  int StopJog(int axis, bool direction);
  int StartHomeReturn(int axis);
  int DecelerationStop(int axis);
  int WriteCurrentValue(int axis, int32_t value);
  int WriteCoordinateOrigin(int axis, int32_t value);
  int ClearErrorWarning(uint8_t bits, bool isError);
  // The FROM write handshake; gives up with kLinkFromNotAcknowledged when the
  // unit has not acknowledged within limitMs (the link's limit when negative).
  int RequestWriteFROM(int limitMs = -1);
  // How long RequestWriteFROM waits for the acknowledgement (5000 ms unless set).
  void SetFromAckLimit(int limitMs) { fromAckLimitMs_ = limitMs; }

  enum CheckBits : unsigned { kCheckFrom = 1, kCheckBusy = 2, kCheckBoth = 3 };

 private:
  static constexpr uint8_t kFlagInitialised = 0x01;
  static constexpr uint8_t kFlagOpen = 0x02;

  int InitialiseLibrary();
  void ApplyApplicationName();
  int LockedRead(uint32_t byteAddress, uint32_t count, uint16_t* buffer);
  int LockedWrite(uint32_t byteAddress, uint32_t count, const uint16_t* buffer);
  int ReadWord(uint32_t byteAddress, uint16_t& word) { return LockedRead(byteAddress, 1, &word); }
  int WriteWord(uint32_t byteAddress, uint16_t word) { return LockedWrite(byteAddress, 1, &word); }
  int Write32(uint32_t byteAddress, int32_t value);
  int ChangeRequestBits(int axis, uint8_t requestCode, unsigned checks, uint16_t bits, bool set);

  void* owner_ = nullptr;
  std::string applicationName_;
  uint8_t flags_ = 0;
  std::array<uint8_t, kLinkContextSize> context_{};
  std::string destinationName_;
  uint16_t destinationNo_ = 0;
  uint16_t slotNo_ = 0;
  std::recursive_mutex lock_;
  ILinkLibrary& library_;
  ILinkUi& ui_;
  ILinkDialogs* dialogs_;
  int language_ = 0;
  int fromAckLimitMs_ = 5000;
};

}  // namespace axcfg
