#pragma once
// One PLC command over a byte link: complete the frame, send it, read and
// check the answer, and repeat as the server's rules say (an "!40" answer at
// once, a bad code or an incomplete answer after a second's pause, a bad or
// missing answer by resending the frame RETRY times per request).
#include <cstdint>
#include <string>

#include "connsrv/answer_reader.h"
#include "connsrv/byte_link.h"
#include "connsrv/server_settings.h"
#include "tavinter/request_record.h"

namespace connsrv {

constexpr int kChannelSerial = 1;
constexpr size_t kAnswerBuffer = 2050;
constexpr size_t kDeliverLimit = 2047;

struct ExchangeOptions {
  uint16_t flags = 0;
  int timeoutMs = 1000;   // the channel's time-out, or the request's
  int channelKind = kChannelSerial;
  bool markedSend = false;  // log the send with the caller's extra marker
  uint16_t route = 0;       // Ethernet: route index of the library settings, 0 direct
};

class CCommandExchange {
 public:
  CCommandExchange(IByteLink& link, IClock& clock, ILogSink* log, const CServerSettings& settings)
      : link_(link), clock_(clock), log_(log), settings_(settings) {}

  // Starts a request: the RETRY count is per request.
  void BeginRequest() { repeatsLeft_ = settings_.retry; }

  // Sends commandText (without code and CR) and reads its answer. On success
  // delivered holds the answer from its fourth character (at most 2,047 bytes).
  int Run(const std::string& commandText, const ExchangeOptions& options, std::string& delivered);

  // Writes a frame after purging both queues; kErrWrite (queues purged) on failure.
  int Send(const std::string& frame, bool marked);

  const std::string& LastSentFrame() const { return lastSent_; }

  static bool IsBroadcast(const std::string& commandText) {
    return commandText.size() >= 3 && commandText.compare(1, 2, "FF") == 0;
  }

 private:
  int ReadWithRepeats(const AnswerReadOptions& options, int channelKind, std::string& answer);

  IByteLink& link_;
  IClock& clock_;
  ILogSink* log_;
  const CServerSettings& settings_;
  int repeatsLeft_ = 0;
  std::string lastSent_;
};

}  // namespace connsrv
