#pragma once
// One client's Ethernet link: its configuration, its socket, and for a link
// the PLC opens (kind 9) the listening socket it keeps while the PLC is away.
// A link the server opens (kinds 5, 8) reconnects when its socket dropped; a
// link the PLC opens goes back to listening and waits for the PLC.
#include <cstdint>
#include <memory>
#include <string>

#include "connsrv/connect_wait.h"
#include "connsrv/ethernet_exchange.h"
#include "tavinter/ethernet_link_config.h"
#include "connsrv/server_settings.h"
#include "connsrv/tcp_socket.h"

namespace connsrv {

using tavinter::EthernetLinkConfig;

class CEthernetLink : public IEthernetSocket {
 public:
  enum State { kNone = 0, kListening = 1, kConnected = 2, kOpenedByPlc = 9 };
  static constexpr int kAccepted = 10001;

  // watch (may be null) hears of every connect of the link.
  CEthernetLink(int16_t handle, const EthernetLinkConfig& config, IClock& clock, const CServerSettings& settings,
                std::unique_ptr<IConnectWatch> watch);
  ~CEthernetLink() override;

  // Kinds 5, 8: connect (0 or -10042, or a socket set-up code). Kind 9:
  // listen (0, or the socket's code, -10049 for the listen itself).
  int Setup();
  // Kind 9: takes a waiting connection: 1 accepted, 0 none yet, -10042 when
  // the accept failed. A connection from another host than the configured
  // destination is refused and closed.
  int AcceptPending();
  // Request 40 of the client: -10042, 0 while the PLC has not connected, or
  // 10001 once it has (the link then counts as connected).
  int AcceptCheck();

  int16_t Handle() const { return handle_; }
  State LinkState() const { return state_; }
  const EthernetLinkConfig& Config() const { return config_; }
  const EthernetFraming& Framing() const { return framing_; }
  bool PlcConnects() const { return config_.PlcConnects(); }
  // The PLC opened this link and it is up.
  bool OpenedByPlc() const { return PlcConnects() && (state_ == kOpenedByPlc || state_ == kConnected); }
  // 10001 once the PLC's connection was accepted, -10042 when an accept failed, else 0.
  int Status() const { return status_; }
  const std::string& PeerAddress() const { return peerAddress_; }
  uint16_t PeerPort() const { return peerPort_; }
  uint16_t ListeningPort() const { return listener_.LocalPort(); }

  // The address the socket binds to (empty: any).
  std::string SourceAddress() const;

  // IEthernetSocket
  IByteLink& Bytes() override { return socket_; }
  bool Connected() const override { return socket_.IsOpen() && !socket_.PeerGone(); }
  std::string Drain() override { return socket_.Drain(); }
  void Drop() override;
  int Restore() override;

 private:
  int Connect(bool oneTry);
  int Listen();
  // Closes a socket and pauses AFTERCLOSE; -10037 when the close reported an error.
  int CloseSocket(CTcpSocket& socket);
  // The destination as the connecting window shows it: "host[ (address)]:port".
  std::string AddressLine(const std::string& resolved) const;

  int16_t handle_;
  EthernetLinkConfig config_;
  IClock& clock_;
  const CServerSettings& settings_;
  std::unique_ptr<IConnectWatch> watch_;
  EthernetFraming framing_;
  CTcpSocket socket_;
  CTcpSocket listener_;
  State state_ = kNone;
  int status_ = 0;
  std::string peerAddress_;
  uint16_t peerPort_ = 0;
};

}  // namespace connsrv
