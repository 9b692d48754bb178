#pragma once
// Many client processes at once over Ethernet links: plcsim listens on a TCP
// port of 127.0.0.1 and client i connects through Ethernet port 1 + i % ports,
// so several server copies each hold many links to the same PLC.
#include <array>
#include <string>
#include <vector>

#include "load_fleet.h"
#include "peer_process.h"
#include "tavinter/connection_record.h"
#include "tavinter/tavinter.h"
#include "test_home.h"

namespace keldload {

struct EthernetFleetRun {
  FleetReport report;
  bool started = false;
};

inline EthernetFleetRun RunEthernetFleet(int clients, int ports, int words, int cycles) {
  EthernetFleetRun run;
  keldtest::PeerProcess plc("plcsim", {"--tcp", "0"});
  const std::string line = plc.ReadLine();
  const std::string tcpPort = line.substr(line.rfind(':') + 1);
  // One connection per port starts its server before the crowd arrives.
  std::vector<std::array<unsigned char, TAV_CONNECTION_RECORD_SIZE>> warm(static_cast<size_t>(ports));
  for (int p = 0; p < ports; ++p) {
    tavinter::CConnectionRecord r(warm[static_cast<size_t>(p)].data());
    r.SetName("warm");
    r.SetKind(tavinter::kKindEthernet);
    r.SetPort(static_cast<int16_t>(1 + p));
    r.SetTimeout(5);
    r.SetInitCommand("127.0.0.1");
    r.SetTcpPort(std::atoi(tcpPort.c_str()));
    if (TavOpen(nullptr, warm[static_cast<size_t>(p)].data()) != 0) return run;
  }
  CLoadFleet::Options o;
  o.program = keldtest::BinPath("tav_load_client");
  o.clients = clients;
  o.words = words;
  o.cycles = cycles;
  o.extraArgs = [tcpPort, ports](int i) {
    return std::vector<std::string>{"--tcp", tcpPort, "--eth", std::to_string(1 + i % ports)};
  };
  CLoadFleet fleet(o);
  run.started = fleet.Started() == clients && fleet.WaitOpened(600000);
  run.report = fleet.Finish(900000);
  for (auto& w : warm) TavClose(w.data());
  return run;
}

}  // namespace keldload
