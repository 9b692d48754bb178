#pragma once
// Channel kinds 5, 8 and 9: one Ethernet link per client, each with its own
// destination, set up when the client opens (the server connects, or listens
// until the PLC connects) and closed when the client goes. Requests run over
// the link of the client that sent them, directly or along a route of the
// library settings.
//
// The sockets live here; the library's link table mirrors each link's record
// and state for the viewers and gives the port its limit of links.
#include <map>
#include <memory>
#include <tuple>

#include "connsrv/channel.h"
#include "connsrv/ethernet_exchange.h"
#include "connsrv/server_library.h"
#include "ethernet_link.h"

namespace connsrv {

class CEthernetChannel : public IChannel {
 public:
  static constexpr size_t kMaxLinks = 512;

  // The channel of the server's port; connects of its links are published
  // to their clients through the library.
  CEthernetChannel(int port, IServerLibrary& library, IClock& clock, ILogSink& log, const CServerSettings& settings)
      : port_(port), library_(library), clock_(clock), log_(log), settings_(settings),
        exchange_(clock, &log, settings) {}

  int Open() override { return 0; }
  void Close() override;
  int Command(const std::string& text, int station, const ExchangeOptions& options, std::string& delivered) override;
  int RouteStation(uint16_t route, int& station) override;

  bool KeepsClientLinks() const override { return true; }
  int OpenClient(int16_t handle, const tavinter::CChannelConfig& config) override;
  void CloseClient(int16_t handle) override;
  int EnsureClient(int16_t handle) override;
  int AcceptCheck(int16_t handle) override;
  int OpenLink(int16_t handle, const tavinter::CChannelConfig& config) override;
  void AfterTick() override;
  bool OpenedByPlc(int16_t handle) const override;

  const CEthernetLink* LinkOf(int16_t handle) const;

 private:
  // Sets up a link for the client in place of any it had.
  int SetUp(int16_t handle, const tavinter::CChannelConfig& config);
  // Tells the library the link's state when it changed since it was last told.
  void Publish(const CEthernetLink& link);
  // The route of a route index from the library; false when it has none or it does not read.
  bool LookUpRoute(uint16_t index, EthernetRoute& route);

  int port_;
  IServerLibrary& library_;
  IClock& clock_;
  ILogSink& log_;
  const CServerSettings& settings_;
  CEthernetExchange exchange_;
  std::map<int16_t, std::unique_ptr<CEthernetLink>> links_;
  std::map<int16_t, std::tuple<int, int, std::string, uint16_t>> published_;
  CEthernetLink* current_ = nullptr;
};

}  // namespace connsrv
