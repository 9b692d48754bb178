#pragma once
// The command dialogue with a Hayes-style modem on a byte link: the
// initialisation at open, dialling with its progress checks, the hang-up with
// the escape sequence, and reading one result for a client. Result lines are
// read one at a time; the echo of the command just sent and blank lines are
// skipped (and, in a command's answer, an incoming call's RING and caller
// line), and bytes after a result line stay for the next read.
#include <cstdint>
#include <functional>
#include <string>
#include <utility>

#include "connsrv/byte_link.h"
#include "connsrv/modem_result.h"
#include "connsrv/result_codes.h"

namespace connsrv {

// Reader modes (kept in the channel's state and shown in its log).
enum ModemReaderMode : int {
  kModemReadOk = 512,         // command answers: "OK" and the failures
  kModemReadConnect = 1024,   // while dialling: "CONNECT", "RING" and the failures
  kModemReadResult = 2048,    // one result for a client
};

// Waits of the dialogue, in milliseconds.
struct ModemTimings {
  int dtrSettleMs = 1000;      // after raising DTR
  int characterGapMs = 10;     // between characters of the slow initialisation
  int initLimitMs = 10000;     // the whole initialisation at open
  int initRepeatMs = 1000;     // between the two initialisations before a dial
  int beforeDialMs = 1000;     // after the initialisation, before the dial command
  int afterDialMs = 5000;      // after the dial command, before the first read
  int dialReadMs = 1000;       // one read of the dial loop
  int guardMs = 1000;          // silence before the escape and before "ATH0"
  int escapeGapMs = 100;       // between the escape characters
  int lateConnectMs = 2000;    // watching for a late CONNECT after stopping a dial
  int callerIdMs = 6000;       // from an incoming call's RING to its caller number
  int defaultDialLimitSec = 60;  // when the channel sets no dial limit
};

// One modem result read for a client.
struct ModemClientResult {
  bool anything = false;    // false: nothing came
  ModemResult result = ModemResult::kOther;
  std::string codeText;     // what the client receives
  std::string callerNumber; // for an incoming call, when asked for
};

class CModemDialogue {
 public:
  using DtrControl = std::function<void(bool raised)>;

  CModemDialogue(IByteLink& link, IClock& clock, ILogSink* log, DtrControl dtr, ModemTimings timings = {})
      : link_(link), clock_(clock), log_(log), dtr_(std::move(dtr)), t_(timings) {}

  // Sets the initialisation command (empty: none) and derives the result mode.
  void SetInitCommand(const std::string& command);
  const std::string& InitCommand() const { return init_; }
  bool Numeric() const { return numeric_; }
  int ReaderMode() const { return readerMode_; }
  // How long an answer to a command may take.
  void SetAnswerTimeoutMs(int ms) { answerTimeoutMs_ = ms > 0 ? ms : 3000; }

  // The initialisation at open: DTR up, the command sent (and once more one
  // character at a time when the first try got no answer). 0 or kErrModemInit.
  int Initialise();

  // Dials: initialisation twice, the dial command, then result lines until a
  // connection, a failure, the dial limit (seconds from the dial) or
  // cancelled() returning true. 0, kErrDialFailed or kErrDialCancelled.
  int Dial(const std::string& dialCommand, int dialLimitSec, const std::function<bool()>& cancelled);

  // Hangs up: the escape sequence, "ATH0", then the closing command when
  // given. 0, kErrHangUpEscape or kErrHangUpClosing. DTR and the port are the
  // caller's.
  int HangUp(const std::string& closingCommand);

  // Reads one result for a client, waiting at most waitMs for its first
  // byte. With untilCallerId, an incoming call's result is read on until the
  // line carrying the caller's number ("ID ...") has come.
  ModemClientResult ReadClientResult(int waitMs, bool callerIdAsked, bool untilCallerId);

  // Hands over the bytes read but not yet taken as lines (after a dial, what
  // came behind the CONNECT belongs to the call).
  std::string TakeKept() { return std::exchange(kept_, std::string()); }

  // Forgets bytes kept from earlier reads (with the link's queues).
  void Purge();

  // Reads one result line within timeoutMs (counted from the call), skipping
  // blank lines and the echo of echoOf. 0 with the line; kErrNoAnswer when
  // nothing complete came; kErrRead when the link failed; kErrTooLong when
  // more than capacity bytes came without a result line.
  int ReadLine(const std::string& echoOf, int timeoutMs, size_t capacity, std::string& line);

 private:
  bool Send(const std::string& text);
  bool SendSlowly(const std::string& text);
  // Reads the answer to a command: ReadLine, passing over an incoming
  // call's RING and caller line, which the modem may send at any time.
  int ReadAnswer(const std::string& echoOf, int timeoutMs, std::string& line);
  // Sends the command with a CR and reads its answer; true when it is OK.
  bool Command(const std::string& command, int timeoutMs, std::string* answer = nullptr);
  // After a dial is abandoned: stops the modem dialling and hangs up when a
  // CONNECT still arrives.
  void StopDialling();
  // Takes one complete line out of the kept bytes.
  bool TakeLine(std::string& line);
  void Log(uint8_t direction, const std::string& bytes) {
    if (log_ && !bytes.empty()) log_->Record(direction, bytes.data(), bytes.size());
  }

  IByteLink& link_;
  IClock& clock_;
  ILogSink* log_;
  DtrControl dtr_;
  ModemTimings t_;
  std::string init_;
  bool numeric_ = false;
  int readerMode_ = kModemReadOk;
  int answerTimeoutMs_ = 3000;
  std::string kept_;  // bytes read but not yet taken as lines
};

}  // namespace connsrv
