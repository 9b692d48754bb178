#pragma once
// A Hayes-style modem in front of the simulated PLC. In command mode it takes
// "AT" command lines (ended by the S3 character, CR) and answers OK or ERROR
// (verbose words, or digits with V0): E echo, V result form, Q quiet, Z and &F
// reset, Sn=v and Sn? registers, H hang-up, O back on line, I identification,
// D dial. A dial answers CONNECT after the connect delay, BUSY or NO ANSWER for
// the numbers configured so; any character typed while dialling aborts it
// (NO CARRIER). On line, the bytes go to the PLC and its answers come back;
// the escape sequence (three S2 characters, "+" by default, with the S12 guard
// time of silence before and after) returns to command mode with OK, where
// ATH0 hangs up and ATO goes back on line.
//
// The far end can end a call (after a set time on line, or when asked):
// "NO CARRIER" and back to command mode. An incoming call rings while the
// modem is idle: "RING" (followed by "ID " and the caller's number when one
// is set) at a fixed interval; ATA answers it, and S0 > 0 answers it by
// itself after that many rings (S1 counts them). Every command line, result
// and escape can be reported to a log function.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/fault_injector.h"
#include "sim/sim_clock.h"
#include "sim/stream_framer.h"

namespace sim {

struct ModemConfig {
  int connectDelayMs = 1000;
  std::vector<std::string> busyNumbers;      // digits only are compared
  std::vector<std::string> noAnswerNumbers;
  bool noDialtone = false;     // every dial ends with NO DIALTONE
  int carrierLossAfterMs = 0;  // > 0: the far end hangs up this long after CONNECT
  int ringEveryMs = 0;         // > 0: an incoming call rings this often while idle
  std::string callerId;        // sent as "ID <number>" after each RING
};

class CModemEmulator {
 public:
  // Hands one frame to the PLC and returns what it sends back.
  using FrameHandler = std::function<std::vector<AnswerPart>(std::string_view frame)>;

  CModemEmulator(const ModemConfig& config, ISimClock& clock, FrameHandler plc);

  // Bytes from the terminal side; returns what the modem sends back at once.
  std::vector<AnswerPart> Receive(std::string_view bytes);
  // Results that fall due with time (dial result, escape OK).
  std::string Poll();
  // When Poll next has something to do; -1 when nothing is pending.
  int64_t NextDeadline() const;
  // The far end hangs up now: "NO CARRIER" when a call was up, else nothing.
  std::string DropCarrier();
  // Receives a line for each command line, result and escape.
  void SetLog(std::function<void(const std::string&)> log) { log_ = std::move(log); }

  bool Connected() const { return state_ == State::Online || state_ == State::OnlineCommand; }
  bool Online() const { return state_ == State::Online; }

 private:
  enum class State { Command, Dialing, Online, OnlineCommand };
  enum Result { kOk = 0, kConnect = 1, kRing = 2, kNoCarrier = 3, kError = 4, kNoDialtone = 6, kBusy = 7, kNoAnswer = 8 };

  // The result as the modem sends it (reported to the log).
  std::string ResultText(Result r);
  std::string RunLine(const std::string& line);
  std::string StartDial(std::string_view dialString);
  // Answers the ringing call: CONNECT after the connect delay.
  void StartAnswer();
  // The call has ended: command mode, the ring count starts again.
  void EndCall();
  std::string Ring();
  void Log(const std::string& text) {
    if (log_) log_(text);
  }
  void Reset();
  int64_t GuardMs() const { return static_cast<int64_t>(s_[12]) * 20; }
  char EscapeChar() const { return static_cast<char>(s_[2]); }
  bool EscapeEnabled() const { return s_[2] < 128; }

  ModemConfig config_;
  ISimClock& clock_;
  FrameHandler plc_;
  CStreamFramer framer_;
  State state_ = State::Command;
  bool echo_ = true, verbose_ = true, quiet_ = false;
  uint8_t s_[256] = {};
  std::string line_;
  int64_t dialDueAt_ = -1;
  Result dialResult_ = kConnect;
  int64_t lastByteAt_ = 0;
  int escapeCount_ = 0;
  int64_t escapeDueAt_ = -1;
  int64_t carrierDueAt_ = -1;  // the far end hangs up
  int64_t nextRingAt_ = -1;    // the next ring of an incoming call
  std::function<void(const std::string&)> log_;
};

}  // namespace sim
