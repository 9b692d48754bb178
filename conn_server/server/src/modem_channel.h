#pragma once
// Channel kinds 6 and 7: a serial port with a Hayes-style modem on it. The
// port opens without flow control, the modem is initialised, and RTS/CTS
// follows when the channel asks for it. PLC commands use the same frame
// exchange as the serial channel once a call is up.
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
  IByteLink* Link() override { return &port_; }
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

  tavinter::CChannelConfig config_;
  IServerLibrary& library_;
  IClock& clock_;
  CSerialPort port_;
  CCommandExchange exchange_;
  CModemDialogue dialogue_;
};

}  // namespace connsrv
