#pragma once
// Channel kind 1 (and the serial side of the modem kinds): a serial device
// carrying PLC command frames.
#include "connsrv/channel.h"
#include "connsrv/serial_port.h"

namespace connsrv {

class CSerialChannel : public IChannel {
 public:
  CSerialChannel(const tavinter::CChannelConfig& config, IServerLibrary& library, IClock& clock, ILogSink& log,
                 const CServerSettings& settings)
      : config_(config), library_(library), exchange_(port_, clock, &log, settings) {}

  int Open() override;
  void Close() override { port_.Close(); }
  void BeginRequest() override { exchange_.BeginRequest(); }
  int Command(const std::string& text, int station, const ExchangeOptions& options, std::string& delivered) override;
  IByteLink* Link() override { return &port_; }
  CCommandExchange* Exchange() override { return &exchange_; }
  int Reopen(const tavinter::CChannelConfig& config) override;

  static SerialSettings SettingsOf(const tavinter::CChannelConfig& config);

 private:
  tavinter::CChannelConfig config_;
  IServerLibrary& library_;
  CSerialPort port_;
  CCommandExchange exchange_;
  // The device failed a read or a write (unplugged, its far end gone): it is
  // opened afresh before the next command.
  bool broken_ = false;
};

}  // namespace connsrv
