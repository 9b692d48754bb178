#pragma once
// The modem settings of one COM port (1..15), as the interface library keeps
// them in the port's channel record: dial mode, the dial command for "other",
// the initial command and the two time-outs. The whole record is kept, so
// that writing it back leaves the library's own fields as they were.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace modembook {

constexpr int kPortCount = 15;

enum DialMode : int16_t { kDialPulse = 0, kDialTone = 1, kDialOther = 2 };

class CPortModemSettings {
 public:
  static constexpr size_t kRecordSize = 304;
  static constexpr size_t kDialCommandMax = 10;
  // The record's initial-command field is 40 bytes with its NUL.
  static constexpr size_t kInitCommandMax = 39;
  static constexpr int kDefaultPlcTimeout = 10, kDefaultLineTimeout = 60;

  CPortModemSettings();

  int16_t dialMode = kDialTone;
  std::string dialCommand = "AT";
  std::string initCommand;
  int plcTimeout = kDefaultPlcTimeout;
  int lineTimeout = kDefaultLineTimeout;
  // The library's record of the port as last read.
  std::array<uint8_t, kRecordSize> record{};

  // The initial command, time-outs and dial command of a fresh port; the
  // dial mode keeps the library's default, tone.
  void ResetToDefaults();
  // "ATDP" for pulse, "ATDT" for tone, the dial command for "other".
  std::string DialPrefix() const;

  bool operator==(const CPortModemSettings& o) const {
    return dialMode == o.dialMode && dialCommand == o.dialCommand && initCommand == o.initCommand &&
           plcTimeout == o.plcTimeout && lineTimeout == o.lineTimeout;
  }
};

std::string DefaultInitCommand();

// The values the time-out lists offer: PLC 1..30 and 35..60 by 5; line
// 1..60 and 70..180 by 10.
const std::vector<int>& PlcTimeoutChoices();
const std::vector<int>& LineTimeoutChoices();
bool ValidPlcTimeout(int seconds);
bool ValidLineTimeout(int seconds);
// Commands go to the modem as they stand: printable ASCII within the field.
bool ValidDialCommand(const std::string& text);
bool ValidInitCommand(const std::string& text);

}  // namespace modembook
