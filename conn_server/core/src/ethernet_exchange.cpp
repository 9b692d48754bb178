#include "connsrv/ethernet_exchange.h"

#include "connsrv/answer_reader.h"
#include "connsrv/header_link.h"
#include "connsrv/result_codes.h"
#include "tavinter/request_record.h"

namespace connsrv {

namespace {

constexpr uint16_t kFlagSendMarked4 = 0x0004;
constexpr int kNakResends = 3;

// The reader's codes in the Ethernet transport's terms.
int EthernetCode(int readerCode) {
  switch (readerCode) {
    case kErrRead: return kErrEthernetReceive;
    case kErrBlockCheck: return kErrEthernetBlockCheck;
    case kErrNoAnswer: return kErrEthernetNoAnswer;
    case kErrIncomplete: return kErrEthernetIncomplete;
    default: return readerCode;
  }
}

}  // namespace

std::string CEthernetExchange::WireFrame(const std::string& commandText, uint16_t flags,
                                         const EthernetFraming& framing) {
  const bool single = (flags & tavinter::kFlagSingleUnchecked) != 0;
  std::string text = CEthernetFrame::CompleteText(commandText, single);
  if (!framing.header) return text;
  return CEthernetFrame::Header(text.size(), single, framing.sourceStation, framing.route) + text;
}

int CEthernetExchange::Attempt(IEthernetSocket& socket, const std::string& wire, const std::string& text,
                               const ExchangeOptions& options, bool header, bool expectAnswer,
                               std::string& delivered) {
  if (!socket.Bytes().Write(wire.data(), wire.size())) {
    socket.Drop();
    return kErrEthernetSend;
  }
  const uint16_t f = options.flags;
  Log((f & tavinter::kFlagMarked) ? kLogSentMarked : (f & kFlagSendMarked4) ? kLogSentEthernet4 : kLogSent, wire);
  if (!expectAnswer) return kOk;

  CHeaderLink stripped(socket.Bytes());
  IByteLink& from = header ? static_cast<IByteLink&>(stripped) : socket.Bytes();
  CAnswerReader reader(from, clock_, log_);
  AnswerReadOptions read;
  read.timeoutMs = options.timeoutMs;
  read.checkOwner = (f & tavinter::kFlagSingleUnchecked) == 0;
  read.capacity = kAnswerBuffer;
  std::string answer;
  const int rc = reader.Read(text, read, answer);
  if (rc == kOk) {
    delivered = answer.substr(3, kDeliverLimit);
    return kOk;
  }
  // A read that failed (peer gone, reset, a header that does not read) leaves
  // the stream at an unknown place: the socket is given up.
  if (rc == kErrRead) socket.Drop();
  return EthernetCode(rc);
}

int CEthernetExchange::Run(IEthernetSocket& socket, const std::string& commandText, const ExchangeOptions& options,
                           const EthernetFraming& framing, std::string& delivered) {
  delivered.clear();
  const uint16_t f = options.flags;
  const bool single = (f & tavinter::kFlagSingleUnchecked) != 0;
  const bool broadcast = CCommandExchange::IsBroadcast(commandText);
  // A broadcast or a request without answer is carried out once: sending it
  // again would repeat what the PLC already did.
  const bool expectAnswer = !broadcast && (f & tavinter::kFlagNoAnswer) == 0;
  const int attempts = (settings_.ethernetRetry != 0 && !single && expectAnswer) ? 3 : 1;
  const std::string text = CEthernetFrame::CompleteText(commandText, single);
  const std::string wire = WireFrame(commandText, f, framing);

  int result = kOk;
  int naksLeft = attempts > 1 ? kNakResends : 0;
  for (int attempt = 0; attempt < attempts; ++attempt) {
    // A late answer to an earlier, timed-out attempt must not pass for this
    // one; draining also notices a peer that closed the link meanwhile.
    Log(kLogDiscarded, socket.Drain());
    if (!socket.Connected()) {
      socket.Drop();
      result = socket.Restore();
      if (result != kOk) break;
    }
    result = Attempt(socket, wire, text, options, framing.header, expectAnswer, delivered);
    // The PLC saw a damaged frame ("!40") and carried nothing out: sending it
    // again is safe and does not use up an attempt (up to a few times).
    if (result == kOk && delivered.compare(0, 3, "!40") == 0 && naksLeft > 0) {
      --naksLeft;
      --attempt;
      continue;
    }
    if (result == kOk) break;
  }
  if (broadcast && result == kOk) clock_.SleepMs(settings_.slpTimeMs);
  return result;
}

}  // namespace connsrv
