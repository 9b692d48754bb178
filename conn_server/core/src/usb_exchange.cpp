#include "connsrv/usb_exchange.h"

#include "connsrv/answer_reader.h"
#include "connsrv/result_codes.h"
#include "plcframe/frame_codec.h"

namespace connsrv {

namespace {

constexpr uint16_t kSendWithCode = 0x0001;

// Received bytes of a marked request go to the log as direction 16.
class CMarkedReceiveLog : public ILogSink {
 public:
  explicit CMarkedReceiveLog(ILogSink* inner) : inner_(inner) {}
  void Record(uint8_t direction, const char* bytes, size_t length) override {
    if (inner_) inner_->Record(direction == kLogReceived ? kLogReceivedCounted : direction, bytes, length);
  }

 private:
  ILogSink* inner_;
};

}  // namespace

int CUsbExchange::Attempt(const std::string& commandText, const ExchangeOptions& o, std::string& answer) {
  // Whatever still waits in the read pipe (a late answer to an earlier,
  // timed-out attempt) must not become this command's answer.
  link_.ResetReadPipe();
  if (int rc = link_.Send(commandText, kSendWithCode); rc != kOk) return rc;
  const bool marked = (o.flags & tavinter::kFlagMarked) != 0;
  CMarkedReceiveLog markedLog(log_);
  CAnswerReader reader(link_, clock_, marked ? &markedLog : log_);
  AnswerReadOptions read;
  read.timeoutMs = o.timeoutMs;
  read.checkOwner = (o.flags & tavinter::kFlagSingleUnchecked) == 0;
  read.capacity = kAnswerBuffer;
  read.pollMs = 100;
  const int rc = reader.Read(plcframe::CompleteFrame(commandText), read, answer);
  if (rc == kErrNoAnswer || rc == kErrIncomplete) link_.CancelReadAfterTimeout();
  return rc;
}

int CUsbExchange::Run(const std::string& commandText, const ExchangeOptions& o, std::string& delivered) {
  delivered.clear();
  const bool marked = (o.flags & tavinter::kFlagMarked) != 0;
  link_.SetTimeoutMs(o.timeoutMs);
  link_.SetLog(log_, marked);

  // A command that is not answered (flag 0x0001, or station "FF" for every
  // unit) is sent once and counts as done; the units get their pause.
  const bool broadcast = CCommandExchange::IsBroadcast(commandText);
  if ((o.flags & tavinter::kFlagNoAnswer) || broadcast) {
    link_.ResetReadPipe();
    int rc = link_.Send(commandText, kSendWithCode);
    if (rc == kOk && broadcast) clock_.SleepMs(settings_.slpTimeMs);
    return rc;
  }

  const int attempts = (o.flags & tavinter::kFlagSingleUnchecked) ? 1 : kAttempts;
  int rc = kOk;
  for (int attempt = 0; attempt < attempts; ++attempt) {
    if (attempt > 0 && !link_.IsOpen() && link_.Open() != 0) {
      clock_.SleepMs(kReopenPauseMs);
      // The send below opens the device itself once it is back.
    }
    std::string answer;
    rc = Attempt(commandText, o, answer);
    if (rc == kOk) {
      delivered = answer.substr(3, kDeliverLimit);
      if (marked) {
        const size_t n = delivered.size();
        delivered.insert(0, std::string{static_cast<char>(n & 0xFF), static_cast<char>((n >> 8) & 0xFF)});
      }
      return kOk;
    }
    link_.Close();
  }
  return rc;
}

}  // namespace connsrv
