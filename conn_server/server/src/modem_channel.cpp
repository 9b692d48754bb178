#include "modem_channel.h"

#include "connsrv/result_codes.h"
#include "serial_channel.h"

namespace connsrv {

namespace {
constexpr int kReopenPauseMs = 1000;
}

CModemChannel::CModemChannel(const tavinter::CChannelConfig& config, IServerLibrary& library, IClock& clock,
                             ILogSink& log, const CServerSettings& settings, ModemTimings timings)
    : config_(config),
      library_(library),
      clock_(clock),
      line_(port_, &log),
      exchange_(line_, clock, &log, settings),
      dialogue_(port_, clock, &log, [this](bool up) { port_.SetDtr(up); }, timings) {
  dialogue_.SetInitCommand(config.Text1());
  dialogue_.SetAnswerTimeoutMs(config.Timeout() > 0 ? config.Timeout() * 1000 : 3000);
}

int CModemChannel::OpenPort(bool initialise) {
  const std::string path = library_.ComDevicePath(config_.Port());
  SerialSettings settings = CSerialChannel::SettingsOf(config_);
  // The modem's commands go without handshake; RTS/CTS is for the call.
  const bool flow = settings.flowControl;
  settings.flowControl = false;
  if (path.empty() || port_.Open(path, settings) != 0) return kErrSerialOpen;
  if (initialise && dialogue_.Initialise() != kOk) {
    port_.Close();
    return kErrModemInit;
  }
  if (flow) port_.SetFlowControl(true);
  return kOk;
}

int CModemChannel::Open() { return OpenPort(true); }

int CModemChannel::Command(const std::string& text, int /*station*/, const ExchangeOptions& options,
                           std::string& delivered) {
  return exchange_.Run(text, options, delivered);
}

void CModemChannel::WatchFromHere() {
  line_.Watch().Start(dialogue_.Numeric());
  line_.Watch().Feed(dialogue_.TakeKept());
}

int CModemChannel::Dial(const std::string& dialCommand, const std::function<bool()>& cancelled) {
  if (!port_.IsOpen()) return kErrDialFailed;
  const int rc = dialogue_.Dial(dialCommand, config_.DialLimit(), cancelled);
  WatchFromHere();
  return rc;
}

int CModemChannel::HangUp(const std::string& closingCommand) {
  int result = port_.IsOpen() ? dialogue_.HangUp(closingCommand) : kErrHangUpEscape;
  // Whatever the modem said: DTR down and a fresh port, so the line is
  // surely free, without initialising the modem again.
  port_.SetDtr(false);
  port_.Close();
  clock_.SleepMs(kReopenPauseMs);
  if (OpenPort(false) != kOk && result == kOk) result = kErrSerialOpen;
  WatchFromHere();
  return result;
}

ModemClientResult CModemChannel::ReadResult(int waitMs, bool callerIdAsked, bool untilCallerId) {
  if (!port_.IsOpen()) return {};
  ModemClientResult result = dialogue_.ReadClientResult(waitMs, callerIdAsked, untilCallerId);
  // An answered incoming call is watched from here on; lines the dialogue
  // keeps stay for the next result.
  line_.Watch().Start(dialogue_.Numeric());
  return result;
}

bool CModemChannel::CarrierLost() { return port_.IsOpen() && line_.Look(); }

}  // namespace connsrv
