#include "ethernet_link.h"

#include <algorithm>

#include "connsrv/result_codes.h"

namespace connsrv {

namespace {

constexpr int kMaxAfterCloseMs = 3600 * 1000;

// One connect step on a socket: connect, then wait for it to complete.
class CSocketConnectTry : public IConnectTry {
 public:
  CSocketConnectTry(CTcpSocket& socket, const std::string& address, uint16_t port)
      : socket_(socket), address_(address), port_(port) {}
  int Try(int waitMs) override {
    const int rc = socket_.StartConnect(address_, port_);
    if (rc <= 0) return rc;
    return socket_.WaitConnected(waitMs);
  }

 private:
  CTcpSocket& socket_;
  std::string address_;
  uint16_t port_;
};

}  // namespace

CEthernetLink::CEthernetLink(int16_t handle, const EthernetLinkConfig& config, IClock& clock,
                             const CServerSettings& settings, std::unique_ptr<IConnectWatch> watch)
    : handle_(handle), config_(config), clock_(clock), settings_(settings), watch_(std::move(watch)) {
  framing_.header = config.header;
  framing_.sourceStation = static_cast<uint8_t>(config.sourceStation);
  framing_.route.station = static_cast<uint8_t>(config.destinationStation);
}

CEthernetLink::~CEthernetLink() {
  if (socket_.IsOpen()) CloseSocket(socket_);
  if (listener_.IsOpen()) CloseSocket(listener_);
}

std::string CEthernetLink::SourceAddress() const {
  // Bound to the address of the interface that routes to the destination:
  // the host name may resolve to a loopback alias that no PLC can reach.
  if (config_.localAddress && !config_.destination.empty()) return LocalAddressFor(config_.destination);
  if (config_.localAddress) return {};
  return config_.source;
}

std::string CEthernetLink::AddressLine(const std::string& resolved) const {
  // A host name is shown with the address it resolved to.
  std::string line = config_.destination;
  if (resolved != config_.destination) line += " (" + resolved + ")";
  return line + ":" + std::to_string(config_.destinationPort);
}

int CEthernetLink::CloseSocket(CTcpSocket& socket) {
  const int rc = socket.Close();
  const int pause = std::clamp(settings_.afterCloseMs, 0, kMaxAfterCloseMs);
  if (pause > 0) clock_.SleepMs(pause);
  return rc;
}

int CEthernetLink::Setup() { return PlcConnects() ? Listen() : Connect(settings_.ethernetRetry == 0); }

int CEthernetLink::Connect(bool oneTry) {
  if (socket_.IsOpen()) CloseSocket(socket_);
  state_ = kNone;
  const std::string destination = ResolveIpv4(config_.destination);
  if (destination.empty() || config_.destinationPort == 0) return kErrEthernetAccept;
  if (int rc = socket_.Create(SourceAddress(), config_.sourcePort); rc != kOk) return rc;
  CSocketConnectTry attempt(socket_, destination, config_.destinationPort);
  const int rc =
      WaitForConnect(attempt, clock_, config_.connectLimitSec, oneTry, AddressLine(destination), watch_.get());
  if (rc != kOk) {
    CloseSocket(socket_);
    return rc;
  }
  state_ = kConnected;
  return kOk;
}

int CEthernetLink::Listen() {
  if (int rc = listener_.Create(config_.localAddress ? std::string() : config_.source, config_.sourcePort, true);
      rc != kOk)
    return rc;
  if (int rc = listener_.Listen(config_.backlog); rc != kOk) {
    listener_.Close();
    return rc;
  }
  state_ = kListening;
  return kOk;
}

int CEthernetLink::AcceptPending() {
  if (!PlcConnects() || !listener_.IsOpen() || state_ != kListening) return 0;
  const std::string wanted = config_.destination.empty() ? std::string() : ResolveIpv4(config_.destination);
  for (;;) {
    CTcpSocket peer;
    std::string address;
    uint16_t port = 0;
    const int rc = listener_.Accept(peer, address, port);
    if (rc <= 0) {
      if (rc < 0) status_ = kErrEthernetAccept;
      return rc;
    }
    // Only the configured PLC may send commands through this link.
    if (!wanted.empty() && address != wanted) continue;  // peer closes as it goes out of scope
    if (socket_.IsOpen()) CloseSocket(socket_);
    socket_.Adopt(peer);
    peerAddress_ = address;
    peerPort_ = port;
    status_ = kAccepted;
    state_ = kOpenedByPlc;
    return 1;
  }
}

int CEthernetLink::AcceptCheck() {
  if (state_ == kListening && AcceptPending() < 0) return kErrEthernetAccept;
  if (status_ == kErrEthernetAccept && state_ == kListening) return kErrEthernetAccept;
  if (state_ == kOpenedByPlc || state_ == kConnected) {
    state_ = kConnected;
    return kAccepted;
  }
  return kOk;
}

void CEthernetLink::Drop() {
  if (socket_.IsOpen()) CloseSocket(socket_);
  if (PlcConnects() && state_ != kNone) state_ = kListening;
}

int CEthernetLink::Restore() {
  if (PlcConnects()) {
    // The PLC comes back by itself; the listening socket stays open for it.
    if (socket_.IsOpen()) CloseSocket(socket_);
    if (!listener_.IsOpen()) return kErrEthernetMissing;
    state_ = kListening;
    status_ = 0;
    return AcceptPending() == 1 ? kOk : kErrEthernetMissing;
  }
  return Connect(settings_.ethernetRetry == 0);
}

}  // namespace connsrv
