#pragma once
// Channel kind 11 (port 326): frames go to the simulated PLC through the
// interface library's simulation call, with the same frame and log rules as
// a serial link but no repeats. A broadcast (station "FF") or a request
// that expects no answer ends with success once the frame is handed over;
// a broadcast then holds the server for the SLPTIME pause, as on a line.
#include "connsrv/channel.h"
#include "connsrv/server_settings.h"

namespace connsrv {

class CSimulationChannel : public IChannel {
 public:
  CSimulationChannel(IServerLibrary& library, IClock& clock, ILogSink& log, const CServerSettings& settings)
      : library_(library), clock_(clock), log_(log), settings_(settings) {}
  int Open() override { return 0; }
  void Close() override {}
  int Command(const std::string& text, int station, const ExchangeOptions& options, std::string& delivered) override;

 private:
  IServerLibrary& library_;
  IClock& clock_;
  ILogSink& log_;
  const CServerSettings& settings_;
};

}  // namespace connsrv
