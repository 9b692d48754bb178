#pragma once
// Channel kinds 6 and 7: a serial port with a Hayes-style modem on it. The
// port opens without flow control, the modem is initialised, and RTS/CTS
// follows when the channel asks for it. PLC commands use the same frame
// exchange as the serial channel once a call is up, on a link that watches
// for the modem's "NO CARRIER".
#include "connsrv/carrier_watch.h"
#include "connsrv/channel.h"
#include "connsrv/modem_dialogue.h"
#include "connsrv/modem_line.h"
#include "connsrv/serial_port.h"

namespace connsrv {

class CModemChannel : public IChannel, public IModemLine {
 public:
  CModemChannel(const tavinter::CChannelConfig& config, IServerLibrary& library, IClock& clock, ILogSink& log,
                const CServerSettings& settings, ModemTimings timings = {});

  int Open() override;
  void Close() override { port_.Close(); }
  void BeginRequest() override { exchange_.BeginRequest(); }
  int Command(const std::string& text, int station, const ExchangeOptions& options, std::string& delivered) override;
  IByteLink* Link() override { return &line_; }
  CCommandExchange* Exchange() override { return &exchange_; }
  IModemLine* Modem() override { return this; }

  int Dial(const std::string& dialCommand, const std::function<bool()>& cancelled) override;
  int HangUp(const std::string& closingCommand) override;
  ModemClientResult ReadResult(int waitMs, bool callerIdAsked, bool untilCallerId) override;
  bool CarrierLost() override;
  void Purge() override { dialogue_.Purge(); }

 private:
  // Opens the port; with initialise, the modem is set up as well.
  int OpenPort(bool initialise);
  // After a dial or hang-up: the watch starts afresh with what the dialogue left.
  void WatchFromHere();

  tavinter::CChannelConfig config_;
  IServerLibrary& library_;
  IClock& clock_;
  CSerialPort port_;
  CCarrierWatchLink line_;  // the port as the PLC exchange sees it
  CCommandExchange exchange_;
  CModemDialogue dialogue_;
};

}  // namespace connsrv
