#include "connsrv/modem_dialogue.h"

#include <algorithm>
#include <cctype>

#include "connsrv/result_codes.h"

namespace connsrv {

namespace {

constexpr size_t kInitAnswerBytes = 80;
constexpr size_t kDialReadBytes = 150;
constexpr size_t kClientResultBytes = 256;

std::string Trimmed(const std::string& s) { return TrimmedModemLine(s); }

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
         });
}

}  // namespace

void CModemDialogue::SetInitCommand(const std::string& command) {
  init_ = command;
  numeric_ = NumericModeFor(command);
}

void CModemDialogue::Purge() {
  kept_.clear();
  link_.Purge();
}

bool CModemDialogue::Send(const std::string& text) {
  if (!link_.Write(text.data(), text.size())) return false;
  Log(kLogSent, text);
  return true;
}

bool CModemDialogue::SendSlowly(const std::string& text) {
  for (char c : text) {
    if (!Send(std::string(1, c))) return false;
    clock_.SleepMs(t_.characterGapMs);
  }
  return true;
}

bool CModemDialogue::TakeLine(std::string& line) {
  const size_t end = kept_.find_first_of("\r\n");
  if (end == std::string::npos) return false;
  line = kept_.substr(0, end);
  kept_.erase(0, end + 1);
  return true;
}

int CModemDialogue::ReadLine(const std::string& echoOf, int timeoutMs, size_t capacity, std::string& line) {
  line.clear();
  const int64_t start = clock_.NowMs();
  const std::string echo = Trimmed(echoOf);
  char buffer[256];
  for (;;) {
    std::string taken;
    while (TakeLine(taken)) {
      std::string t = Trimmed(taken);
      // Blank lines frame verbose results; with echo on the command comes back first.
      if (t.empty() || (!echo.empty() && SameIgnoringCase(t, echo))) continue;
      line = t;
      return kOk;
    }
    if (kept_.size() > capacity) {
      Log(kLogDiscarded, kept_);
      kept_.clear();
      return kErrTooLong;
    }
    const int64_t left = timeoutMs - (clock_.NowMs() - start);
    if (left <= 0) return kErrNoAnswer;
    const size_t room = std::min(sizeof buffer, capacity + 1 - kept_.size());
    const int n = link_.Read(buffer, room, static_cast<int>(left));
    if (n < 0) return kErrRead;
    if (n > 0) {
      kept_.append(buffer, static_cast<size_t>(n));
      Log(kLogReceived, std::string(buffer, static_cast<size_t>(n)));
    }
  }
}

int CModemDialogue::ReadAnswer(const std::string& echoOf, int timeoutMs, std::string& line) {
  const int64_t start = clock_.NowMs();
  for (;;) {
    const int left = static_cast<int>(timeoutMs - (clock_.NowMs() - start));
    const int rc = ReadLine(echoOf, std::max(0, left), kInitAnswerBytes, line);
    if (rc != kOk || (ClassifyModemLine(line) != ModemResult::kRing && line.rfind("ID", 0) != 0)) return rc;
  }
}

bool CModemDialogue::Command(const std::string& command, int timeoutMs, std::string* answer) {
  if (!Send(command + "\r")) return false;
  std::string line;
  const int rc = ReadAnswer(command, timeoutMs, line);
  if (answer) *answer = line;
  return rc == kOk && ClassifyModemLine(line) == ModemResult::kOk;
}

int CModemDialogue::Initialise() {
  const int64_t start = clock_.NowMs();
  readerMode_ = kModemReadOk;
  if (dtr_) dtr_(true);
  clock_.SleepMs(t_.dtrSettleMs);
  numeric_ = NumericModeFor(init_);
  if (init_.empty()) return kOk;
  Purge();
  auto remaining = [&] { return static_cast<int>(t_.initLimitMs - (clock_.NowMs() - start)); };
  std::string line;
  int rc = Send(init_ + "\r") ? ReadAnswer(init_, std::min(answerTimeoutMs_, remaining()), line) : kErrWrite;
  // A wrong answer is final; a failed send or a silent modem gets the slow
  // form, for modems that drop characters sent at full speed.
  if (rc != kOk && remaining() > 0) {
    kept_.clear();
    rc = SendSlowly(init_) && Send("\r") ? ReadAnswer(init_, std::max(0, std::min(answerTimeoutMs_, remaining())), line)
                                          : kErrWrite;
  }
  if (rc != kOk || ClassifyModemLine(line) != ModemResult::kOk || remaining() < 0) return kErrModemInit;
  return kOk;
}

void CModemDialogue::StopDialling() {
  readerMode_ = kModemReadOk;
  kept_.clear();
  if (!Send("\r")) return;
  const int64_t start = clock_.NowMs();
  std::string line;
  while (clock_.NowMs() - start < t_.lateConnectMs) {
    const int rc = ReadLine("", static_cast<int>(t_.lateConnectMs - (clock_.NowMs() - start)), kDialReadBytes, line);
    if (rc == kErrRead) return;
    if (rc != kOk) continue;
    const ModemResult r = ClassifyModemLine(line);
    if (r == ModemResult::kConnect) {
      // The call came up after all: nobody owns it, so it goes down again.
      HangUp(std::string());
      return;
    }
    if (r != ModemResult::kRing) return;
  }
}

int CModemDialogue::Dial(const std::string& dialCommand, int dialLimitSec, const std::function<bool()>& cancelled) {
  readerMode_ = kModemReadOk;
  numeric_ = NumericModeFor(init_);
  if (dtr_) dtr_(true);
  Purge();
  if (!init_.empty()) {
    std::string answer;
    if (!Command(init_, answerTimeoutMs_, &answer)) return kErrDialFailed;
    clock_.SleepMs(t_.initRepeatMs);
    if (!Command(init_, answerTimeoutMs_, &answer)) return kErrDialFailed;
    numeric_ = answer == "0";
  }
  clock_.SleepMs(t_.beforeDialMs);
  kept_.clear();
  if (!Send(dialCommand + "\r")) return kErrDialFailed;
  readerMode_ = kModemReadConnect;
  const int64_t dialledAt = clock_.NowMs();
  const int64_t limitMs = int64_t{dialLimitSec > 0 ? dialLimitSec : t_.defaultDialLimitSec} * 1000;
  clock_.SleepMs(t_.afterDialMs);
  for (;;) {
    std::string line;
    const int rc = ReadLine(dialCommand, t_.dialReadMs, kDialReadBytes, line);
    if (rc == kErrRead) {
      readerMode_ = kModemReadOk;
      return kErrDialFailed;
    }
    if (rc == kOk) {
      const ModemResult r = ClassifyModemLine(line);
      if (r == ModemResult::kConnect) {
        readerMode_ = kModemReadOk;
        return kOk;
      }
      if (r == ModemResult::kOther) {
        StopDialling();
        return kErrDialFailed;
      }
      if (r != ModemResult::kRing) {
        // OK, NO CARRIER, ERROR, NO DIALTONE, BUSY, NO ANSWER: the modem gave up.
        readerMode_ = kModemReadOk;
        return kErrDialFailed;
      }
    }
    if (clock_.NowMs() - dialledAt > limitMs) {
      StopDialling();
      return kErrDialFailed;
    }
    if (cancelled && cancelled()) {
      StopDialling();
      return kErrDialCancelled;
    }
  }
}

int CModemDialogue::HangUp(const std::string& closingCommand) {
  readerMode_ = kModemReadOk;
  clock_.SleepMs(t_.guardMs);
  Purge();
  const char escape = EscapeCharacterFor(init_);
  bool escaped = true;
  for (int i = 0; i < 3 && escaped; ++i) {
    if (i > 0) clock_.SleepMs(t_.escapeGapMs);
    escaped = Send(std::string(1, escape));
  }
  std::string line;
  // The modem answers only after its own guard time following the escape.
  escaped = escaped && ReadLine("", answerTimeoutMs_ + t_.guardMs, kInitAnswerBytes, line) == kOk &&
            ClassifyModemLine(line) == ModemResult::kOk;
  clock_.SleepMs(t_.guardMs);
  kept_.clear();
  const bool hungUp = Command("ATH0", answerTimeoutMs_);
  int result = escaped && hungUp ? kOk : kErrHangUpEscape;
  if (!closingCommand.empty() && !Command(closingCommand, answerTimeoutMs_) && result == kOk)
    result = kErrHangUpClosing;
  return result;
}

ModemClientResult CModemDialogue::ReadClientResult(int waitMs, bool callerIdAsked, bool untilCallerId) {
  ModemClientResult out;
  readerMode_ = kModemReadResult;
  std::string line;
  const int rc = ReadLine("", waitMs, kClientResultBytes, line);
  if (rc != kOk) {
    readerMode_ = kModemReadOk;
    return out;
  }
  out.anything = true;
  out.result = ClassifyModemLine(line);
  out.codeText = ModemCodeText(line);
  if (out.result == ModemResult::kRing && callerIdAsked) {
    std::string idLine = line;
    if (untilCallerId) {
      const int64_t start = clock_.NowMs();
      std::string next;
      while (clock_.NowMs() - start < t_.callerIdMs) {
        const int left = static_cast<int>(t_.callerIdMs - (clock_.NowMs() - start));
        const int r = ReadLine("", left, kClientResultBytes, next);
        if (r == kErrRead) break;
        if (r == kOk && next.find("ID") != std::string::npos) {
          idLine = next;
          break;
        }
      }
    }
    out.callerNumber = CallerNumber(idLine);
  }
  readerMode_ = kModemReadOk;
  return out;
}

}  // namespace connsrv
