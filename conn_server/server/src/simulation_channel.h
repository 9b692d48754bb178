#pragma once
// Channel kind 11 (port 326): frames go to the simulated PLC through the
// interface library's simulation call, with the same frame and log rules as
// a serial link but no repeats.
#include "connsrv/channel.h"

namespace connsrv {

class CSimulationChannel : public IChannel {
 public:
  CSimulationChannel(IServerLibrary& library, ILogSink& log) : library_(library), log_(log) {}
  int Open() override { return 0; }
  void Close() override {}
  int Command(const std::string& text, int station, const ExchangeOptions& options, std::string& delivered) override;

 private:
  IServerLibrary& library_;
  ILogSink& log_;
};

}  // namespace connsrv
