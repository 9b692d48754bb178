#include "sim/modem_emulator.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace sim {

namespace {
std::string DigitsOf(std::string_view text) {
  std::string digits;
  for (char c : text)
    if (std::isdigit(static_cast<unsigned char>(c)) || c == '*' || c == '#') digits += c;
  return digits;
}

bool Listed(const std::vector<std::string>& numbers, const std::string& digits) {
  return std::any_of(numbers.begin(), numbers.end(), [&](const std::string& n) { return DigitsOf(n) == digits; });
}

// Reads the decimal number at pos; -1 when there is none, -2 when above 255.
int ReadNumber(const std::string& s, size_t& pos) {
  if (pos >= s.size() || !std::isdigit(static_cast<unsigned char>(s[pos]))) return -1;
  int value = 0;
  while (pos < s.size() && std::isdigit(static_cast<unsigned char>(s[pos]))) {
    value = std::min(1000, value * 10 + (s[pos] - '0'));
    ++pos;
  }
  return value > 255 ? -2 : value;
}
}  // namespace

CModemEmulator::CModemEmulator(const ModemConfig& config, ISimClock& clock, FrameHandler plc)
    : config_(config), clock_(clock), plc_(std::move(plc)) {
  Reset();
  EndCall();
}

void CModemEmulator::Reset() {
  echo_ = true;
  verbose_ = true;
  quiet_ = false;
  std::fill(std::begin(s_), std::end(s_), 0);
  s_[2] = '+';
  s_[3] = '\r';
  s_[4] = '\n';
  s_[5] = 8;
  s_[7] = 50;
  s_[12] = 50;
}

std::string CModemEmulator::ResultText(Result r) {
  const char* word = "OK";
  switch (r) {
    case kOk: word = "OK"; break;
    case kConnect: word = "CONNECT"; break;
    case kRing: word = "RING"; break;
    case kNoCarrier: word = "NO CARRIER"; break;
    case kError: word = "ERROR"; break;
    case kNoDialtone: word = "NO DIALTONE"; break;
    case kBusy: word = "BUSY"; break;
    case kNoAnswer: word = "NO ANSWER"; break;
  }
  Log(std::string("result ") + word + (quiet_ ? " (quiet)" : ""));
  if (quiet_) return {};
  if (!verbose_) return std::to_string(static_cast<int>(r)) + "\r";
  return std::string("\r\n") + word + "\r\n";
}

std::vector<AnswerPart> CModemEmulator::Receive(std::string_view bytes) {
  std::vector<AnswerPart> out;
  std::string text;
  auto flush = [&] {
    if (!text.empty()) out.push_back({std::move(text), 0});
    text.clear();
  };
  for (char c : bytes) {
    const int64_t now = clock_.NowMs();
    switch (state_) {
      case State::Dialing:
        // Any character aborts the dial (or the answer).
        Log("dial aborted by a character");
        EndCall();
        text += ResultText(kNoCarrier);
        break;
      case State::Online: {
        const int64_t quiet = now - lastByteAt_;
        if (EscapeEnabled() && c == EscapeChar()) {
          if (escapeCount_ > 0 && escapeCount_ < 3 && quiet < GuardMs()) ++escapeCount_;
          else if (quiet >= GuardMs()) escapeCount_ = 1;
          else escapeCount_ = 0;
        } else {
          escapeCount_ = 0;
        }
        escapeDueAt_ = escapeCount_ == 3 ? now + GuardMs() : -1;
        lastByteAt_ = now;
        for (const std::string& frame : framer_.Feed(std::string_view(&c, 1))) {
          flush();
          for (auto& part : plc_(frame)) out.push_back(std::move(part));
        }
        break;
      }
      case State::Command:
      case State::OnlineCommand:
        if (echo_) text += c;
        if (static_cast<uint8_t>(c) == s_[3]) {
          const std::string line = std::move(line_);
          line_.clear();
          if (!line.empty()) Log("line \"" + line + "\"");
          text += RunLine(line);
        } else if (static_cast<uint8_t>(c) == s_[5]) {
          if (!line_.empty()) line_.pop_back();
        } else if (static_cast<uint8_t>(c) != s_[4] && line_.size() < 256) {
          line_ += c;
        }
        break;
    }
  }
  flush();
  return out;
}

std::string CModemEmulator::RunLine(const std::string& line) {
  std::string s;
  for (char c : line) s += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const size_t at = s.find_first_not_of(' ');
  if (at == std::string::npos || s.compare(at, 2, "AT") != 0) return {};  // not a command line
  std::string info;
  size_t i = at + 2;
  auto flag = [&](bool& target) {
    const int v = ReadNumber(s, i);
    if (v > 1 || v == -2) return false;
    target = v == 1;
    return true;
  };
  while (i < s.size()) {
    const char c = s[i++];
    switch (c) {
      case ' ':
        break;
      case 'D':
        if (!info.empty()) return ResultText(kError);
        return StartDial(std::string_view(line).substr(i));
      case 'E':
        if (!flag(echo_)) return ResultText(kError);
        break;
      case 'V':
        if (!flag(verbose_)) return ResultText(kError);
        break;
      case 'Q':
        if (!flag(quiet_)) return ResultText(kError);
        break;
      case 'Z':
        ReadNumber(s, i);
        Reset();
        EndCall();
        break;
      case 'H': {
        const int v = ReadNumber(s, i);
        if (v > 1 || v == -2) return ResultText(kError);
        if (v <= 0 && state_ != State::Command) EndCall();  // on hook: the call ends
        break;
      }
      case 'O':
        ReadNumber(s, i);
        if (state_ != State::OnlineCommand) return ResultText(kError);
        state_ = State::Online;
        lastByteAt_ = clock_.NowMs();
        escapeCount_ = 0;
        return ResultText(kConnect);
      case 'A':
        if (s_[1] == 0) return ResultText(kNoCarrier);  // no call is ringing
        StartAnswer();
        return {};
      case 'I':
        ReadNumber(s, i);
        info += verbose_ ? "\r\nKELD SIM MODEM\r\n" : "KELD SIM MODEM\r";
        break;
      case 'S': {
        const int reg = ReadNumber(s, i);
        if (reg < 0 || i >= s.size()) return ResultText(kError);
        if (s[i] == '?') {
          ++i;
          char buf[16];
          std::snprintf(buf, sizeof buf, "%03d", s_[reg]);
          info += verbose_ ? std::string("\r\n") + buf + "\r\n" : std::string(buf) + "\r";
        } else if (s[i] == '=') {
          ++i;
          const int v = ReadNumber(s, i);
          if (v < 0) return ResultText(kError);
          s_[reg] = static_cast<uint8_t>(v);
        } else {
          return ResultText(kError);
        }
        break;
      }
      case '&':
        if (i >= s.size() || !std::isalpha(static_cast<unsigned char>(s[i]))) return ResultText(kError);
        if (s[i++] == 'F') {
          const State keep = state_;
          Reset();
          state_ = keep;
        }
        if (ReadNumber(s, i) == -2) return ResultText(kError);
        break;
      case '\\':
        if (i >= s.size() || !std::isalpha(static_cast<unsigned char>(s[i]))) return ResultText(kError);
        ++i;
        if (ReadNumber(s, i) == -2) return ResultText(kError);
        break;
      case 'B': case 'L': case 'M': case 'N': case 'P': case 'T': case 'W': case 'X':
        if (ReadNumber(s, i) == -2) return ResultText(kError);
        break;
      default:
        return ResultText(kError);
    }
  }
  return info + ResultText(kOk);
}

std::string CModemEmulator::StartDial(std::string_view dialString) {
  if (Connected()) return ResultText(kError);
  const std::string digits = DigitsOf(dialString);
  if (digits.empty()) return ResultText(kError);
  const int64_t now = clock_.NowMs();
  if (config_.noDialtone) {
    dialResult_ = kNoDialtone;
    dialDueAt_ = now + config_.connectDelayMs / 2;
  } else if (Listed(config_.busyNumbers, digits)) {
    dialResult_ = kBusy;
    dialDueAt_ = now + config_.connectDelayMs / 2;
  } else if (Listed(config_.noAnswerNumbers, digits)) {
    dialResult_ = kNoAnswer;
    dialDueAt_ = now + config_.connectDelayMs;
  } else {
    dialResult_ = kConnect;
    dialDueAt_ = now + config_.connectDelayMs;
  }
  state_ = State::Dialing;
  nextRingAt_ = -1;
  return {};
}

void CModemEmulator::StartAnswer() {
  Log("answering the call");
  state_ = State::Dialing;
  nextRingAt_ = -1;
  dialResult_ = kConnect;
  dialDueAt_ = clock_.NowMs() + config_.connectDelayMs;
}

void CModemEmulator::EndCall() {
  state_ = State::Command;
  dialDueAt_ = -1;
  escapeCount_ = 0;
  escapeDueAt_ = -1;
  carrierDueAt_ = -1;
  s_[1] = 0;
  // Idle again: an incoming call rings a ring period from now.
  nextRingAt_ = config_.ringEveryMs > 0 ? clock_.NowMs() + config_.ringEveryMs : -1;
}

std::string CModemEmulator::DropCarrier() {
  if (!Connected()) return {};
  Log("the far end hung up");
  EndCall();
  return ResultText(kNoCarrier);
}

std::string CModemEmulator::Ring() {
  s_[1] = static_cast<uint8_t>(std::min(255, s_[1] + 1));
  std::string out = ResultText(kRing);
  if (!config_.callerId.empty()) {
    Log("caller " + config_.callerId);
    if (!quiet_) out += verbose_ ? "\r\nID " + config_.callerId + "\r\n" : "ID " + config_.callerId + "\r";
  }
  if (s_[0] > 0 && s_[1] >= s_[0]) StartAnswer();
  return out;
}

std::string CModemEmulator::Poll() {
  const int64_t now = clock_.NowMs();
  std::string out;
  if (state_ == State::Dialing && now >= dialDueAt_) {
    dialDueAt_ = -1;
    if (dialResult_ == kConnect) {
      state_ = State::Online;
      lastByteAt_ = now;
      escapeCount_ = 0;
      framer_ = CStreamFramer{};
      s_[1] = 0;
      carrierDueAt_ = config_.carrierLossAfterMs > 0 ? now + config_.carrierLossAfterMs : -1;
    } else {
      EndCall();
    }
    out += ResultText(dialResult_);
  }
  if (state_ == State::Online && escapeCount_ == 3 && now >= escapeDueAt_) {
    state_ = State::OnlineCommand;
    escapeCount_ = 0;
    escapeDueAt_ = -1;
    Log(std::string("escape ") + std::string(3, EscapeChar()) + ": command mode, call kept");
    out += ResultText(kOk);
  }
  if (Connected() && carrierDueAt_ >= 0 && now >= carrierDueAt_) out += DropCarrier();
  // An incoming call rings only while the modem is idle in command mode.
  if (state_ == State::Command && nextRingAt_ >= 0 && now >= nextRingAt_) {
    nextRingAt_ = now + config_.ringEveryMs;
    out += Ring();
  }
  return out;
}

int64_t CModemEmulator::NextDeadline() const {
  int64_t due = -1;
  auto consider = [&due](int64_t t) {
    if (t >= 0 && (due < 0 || t < due)) due = t;
  };
  if (state_ == State::Dialing) consider(dialDueAt_);
  if (state_ == State::Online && escapeCount_ == 3) consider(escapeDueAt_);
  if (Connected()) consider(carrierDueAt_);
  if (state_ == State::Command) consider(nextRingAt_);
  return due;
}

}  // namespace sim
