#include "simulation_channel.h"

#include "connsrv/command_exchange.h"
#include "connsrv/result_codes.h"
#include "plcframe/frame_codec.h"

namespace connsrv {

int CSimulationChannel::Command(const std::string& text, int station, const ExchangeOptions& options,
                                std::string& delivered) {
  delivered.clear();
  const bool marked = (options.flags & tavinter::kFlagMarked) != 0;  // 0x0010: the caller's extra marker
  std::string frame = plcframe::CompleteFrame(text);
  log_.Record(marked ? kLogSentMarked : kLogSent, frame.data(), frame.size());
  std::string answer;
  int rc = library_.PlcSimExchange(station, frame, answer);
  const bool broadcast = CCommandExchange::IsBroadcast(text);
  if (broadcast || (options.flags & tavinter::kFlagNoAnswer)) {
    // Nothing is awaited: only a failure of the hand-over itself counts.
    if (rc < 0) return rc;
    if (broadcast) clock_.SleepMs(settings_.slpTimeMs);
    return kOk;
  }
  // The simulated PLC gave no answer (another station, a broadcast, a dropped
  // answer): for the client that is a PLC that did not answer.
  if (rc > 0) return kErrNoAnswer;
  if (rc != 0) return rc;
  if (answer.size() > kAnswerBuffer) answer.resize(kAnswerBuffer);
  log_.Record(marked ? kLogReceivedCounted : kLogReceived, answer.data(), answer.size());
  if (!plcframe::CheckFrameCode(answer)) return kErrBlockCheck;
  std::string body = answer.size() > 3 ? answer.substr(3, kDeliverLimit) : std::string();
  if (marked) {
    // The counted form: the answer's 16-bit length, low byte first, then the answer.
    uint16_t n = static_cast<uint16_t>(body.size());
    delivered.push_back(static_cast<char>(n & 0xFF));
    delivered.push_back(static_cast<char>(n >> 8));
  }
  delivered += body;
  return kOk;
}

}  // namespace connsrv
