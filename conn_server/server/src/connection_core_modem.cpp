// The modem requests of the connection core and the call they keep: who
// owns it, when it ends, and the remote hang-up seen between requests.
#include <algorithm>

#include "connsrv/connection_core.h"
#include "connsrv/modem_line.h"
#include "connsrv/result_codes.h"

namespace connsrv {

namespace {

constexpr size_t kModemAnswerLength = 256;
constexpr size_t kCallerIdAsked = 52;         // request byte: the caller number is wanted
constexpr int16_t kModeUntilCallerId = 16;    // request mode: read on to the caller number
constexpr uint16_t kFlagRingConnects = 0x0004;
constexpr int kModemResultWaitMs = 1000;

}  // namespace

int CConnectionCore::ModemRequest(int code, const tavinter::CRequestRecord& rec) {
  if (!channel_ || !channel_->Modem()) return kErrNotModem;
  switch (code) {
    case tavinter::kRequestDial: return Dial(rec);
    case tavinter::kRequestHangUp: return HangUp(rec);
    default: return ModemResult(rec);
  }
}

void CConnectionCore::CallUp(int16_t handle, const std::string& dialText) {
  callUp_ = true;
  callHandle_ = handle;
  library_.ModemConnected(port_, handle, dialText);
  library_.TouchPortStatus(port_);
}

void CConnectionCore::CallDown() {
  callUp_ = false;
  callHandle_ = 0;
  library_.ModemDisconnected(port_);
  library_.TouchPortStatus(port_);
}

int CConnectionCore::Dial(const tavinter::CRequestRecord& rec) {
  if (callUp_) return kErrCallUp;
  // Requests stay serialised during the dial: only the client's cancel gets in.
  const int16_t handle = currentHandle_;
  const std::string dialText = rec.CommandText();
  const int rc = channel_->Modem()->Dial(dialText, [this, handle] { return library_.DialCancelled(port_, handle); });
  if (rc == kOk) CallUp(handle, dialText);
  return rc;
}

int CConnectionCore::HangUp(const tavinter::CRequestRecord& rec) {
  if (!callUp_ || callHandle_ != currentHandle_) return kErrNotCallOwner;
  const int rc = channel_->Modem()->HangUp(rec.CommandText());
  CallDown();
  return rc;
}

int CConnectionCore::ModemResult(const tavinter::CRequestRecord& rec) {
  if (callUp_) return kOk;
  const bool callerId = rec.Bytes()[kCallerIdAsked] != 0;
  const ModemClientResult r =
      channel_->Modem()->ReadResult(kModemResultWaitMs, callerId, callerId && rec.Mode() == kModeUntilCallerId);
  if (!r.anything) return kOk;
  std::string text = r.codeText;
  if (r.result == connsrv::ModemResult::kRing && callerId) text += " " + r.callerNumber;
  if (EndsCall(r.result)) {
    channel_->Modem()->Purge();
  } else if (r.result == connsrv::ModemResult::kConnect ||
             (r.result == connsrv::ModemResult::kRing && (rec.Flags() & kFlagRingConnects))) {
    CallUp(currentHandle_, std::string());
  }
  text.resize(std::max(text.size(), kModemAnswerLength), '\0');
  text.resize(kModemAnswerLength);
  library_.DeliverAnswer(currentHandle_, text);
  return kOk;
}

void CConnectionCore::WatchCall() {
  if (!callUp_ || !channel_ || !channel_->Modem()) return;
  if (channel_->Modem()->CarrierLost()) CallDown();
}

int CConnectionCore::OverTheCall(int result) {
  if (result == kOk || !callUp_ || !channel_ || !channel_->Modem()) return result;
  // The modem is back in command mode: the call is over, as when the tick
  // sees it, and waiting or repeating would only cost the request's time.
  if (!channel_->Modem()->CarrierLost()) return result;
  CallDown();
  return kErrModemNoCall;
}

void CConnectionCore::HangUpAtClose() {
  if (!callUp_) return;
  if (channel_ && channel_->Modem()) channel_->Modem()->HangUp(std::string());
  CallDown();
}

}  // namespace connsrv
