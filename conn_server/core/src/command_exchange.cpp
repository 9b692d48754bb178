#include "connsrv/command_exchange.h"

#include "connsrv/result_codes.h"
#include "plcframe/frame_codec.h"

namespace connsrv {

int CCommandExchange::Send(const std::string& frame, bool marked) {
  lastSent_ = frame.substr(0, kAnswerBuffer);
  link_.Purge();
  if (!link_.Write(frame.data(), frame.size())) {
    link_.Purge();
    return kErrWrite;
  }
  if (log_) log_->Record(marked ? kLogSentMarked : kLogSent, frame.data(), frame.size());
  return kOk;
}

int CCommandExchange::ReadWithRepeats(const AnswerReadOptions& options, int channelKind, std::string& answer) {
  CAnswerReader reader(link_, clock_, log_);
  AnswerReadOptions o = options;
  int rc = reader.Read(lastSent_, o, answer);
  while (rc != kOk && rc != kErrRead && o.check && repeatsLeft_ > 0) {
    --repeatsLeft_;
    if (channelKind == kChannelSerial) o.timeoutMs = settings_.retryTime * 1000;
    int sent = Send(lastSent_, false);
    if (sent != kOk) return sent;
    rc = reader.Read(lastSent_, o, answer);
  }
  return rc;
}

int CCommandExchange::Run(const std::string& commandText, const ExchangeOptions& options, std::string& delivered) {
  delivered.clear();
  const uint16_t f = options.flags;
  const bool single = (f & (tavinter::kFlagSingleUnchecked | tavinter::kFlagReopen | tavinter::kFlagReopenShort)) != 0;
  const bool broadcast = IsBroadcast(commandText);
  const std::string frame = plcframe::CompleteFrame(commandText);

  AnswerReadOptions read;
  read.timeoutMs = (f & tavinter::kFlagReopenShort) ? 100 : options.timeoutMs;
  read.checkOwner = !single;
  read.capacity = kAnswerBuffer;

  int result = kOk;
  const int attempts = single ? 1 : 3;
  for (int attempt = 0; attempt < attempts; ++attempt) {
    result = Send(frame, options.markedSend);
    if (result != kOk) return result;
    if ((f & tavinter::kFlagNoAnswer) || broadcast) break;
    std::string answer;
    result = ReadWithRepeats(read, options.channelKind, answer);
    if (result == kOk) {
      delivered = answer.substr(3, kDeliverLimit);
      // The PLC saw a bad block check code in our frame: send it again at once.
      if (answer.compare(3, 3, "!40") == 0) continue;
      break;
    }
    if (result == kErrBlockCheck || result == kErrIncomplete) {
      if (attempt + 1 < attempts) clock_.SleepMs(1000);
      continue;
    }
    break;
  }
  if (broadcast && result == kOk) clock_.SleepMs(settings_.slpTimeMs);
  return result;
}

}  // namespace connsrv
