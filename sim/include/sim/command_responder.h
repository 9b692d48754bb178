#pragma once
// Answers the PLC commands addressed to the simulated PLC: the unit memory
// read (UR) and write (UW) of one slot; any other command gets error 42.
//
//   %SS#UR<slot:2 dec><address:5 hex><count:3 hex>          -> %SS$UR<words>
//   %SS#UW<slot><address><count><count words of 4 hex>      -> %SS$UW
//   error answer %SS!<nn>: 40 block check code, 41 format, 42 unknown command,
//   60 no unit in the slot, 61 address range beyond the unit's memory.
//
// "EE" and the PLC's own station number are answered with the station
// characters of the command; "FF" (broadcast) is carried out but never
// answered; frames for other stations are ignored. A frame ending in "&"
// continues in the next frame of the same station (which carries only more
// text); each such frame is acknowledged with "%SS&" and its code, and the
// command runs when the last frame arrives.
#include <optional>
#include <string>
#include <string_view>

#include "sim/unit_model.h"

namespace sim {

class CCommandResponder {
 public:
  enum class Target { Ours, Broadcast, Other, Malformed };
  struct Result {
    std::optional<std::string> answer;
    bool continuation = false;  // the answer only asks for the next frame
  };

  CCommandResponder(CUnitModel& unit, int station, int slot);

  Target Classify(std::string_view frame) const;
  Result Handle(std::string_view frame);
  // An error answer for the frame's station (or the PLC's own when unreadable).
  std::string ErrorAnswer(std::string_view frame, int code) const;

  int Station() const { return station_; }
  int Slot() const { return slot_; }

  static constexpr size_t kMaxCommandText = 8192;

 private:
  std::string Run(char start, const std::string& station, const std::string& body);
  std::string Error(char start, const std::string& station, int code) const;

  CUnitModel& unit_;
  int station_;
  int slot_;
  std::string pending_;  // text of a command that continues
};

}  // namespace sim
