#pragma once
// One IPv4 TCP socket of an Ethernet link: non-blocking, polled, linger 0 so
// a close resets the connection at once, and no send delay (frames are small
// and each waits for its answer). Used as the byte link of the exchange once
// connected; a listening socket hands out accepted ones.
#include <cstdint>
#include <string>

#include "connsrv/byte_link.h"

namespace connsrv {

class CTcpSocket : public IByteLink {
 public:
  CTcpSocket() = default;
  ~CTcpSocket() override { Close(); }
  CTcpSocket(const CTcpSocket&) = delete;
  CTcpSocket& operator=(const CTcpSocket&) = delete;

  // A stream socket bound to the address and port (empty address or port 0:
  // any). 0, or -10031 (socket), -10041 (bind), -10048 (non-blocking),
  // -10043 (option); the socket is closed on failure.
  int Create(const std::string& sourceAddress, uint16_t sourcePort, bool reuseAddress = false);

  // One connect step: 0 connected, 1 still in progress (poll with
  // WaitConnected), or -10042.
  int StartConnect(const std::string& address, uint16_t port);
  // Waits up to waitMs for the connect to finish: 0 connected, 1 not yet,
  // -10042 refused or failed.
  int WaitConnected(int waitMs);

  // Listens on the bound socket: 0 or -10049.
  int Listen(int backlog);
  // Takes one pending connection into peer (non-blocking): 1 accepted, 0
  // none waiting, -10042 when the accept failed.
  int Accept(CTcpSocket& peer, std::string& peerAddress, uint16_t& peerPort);

  // 0, or -10037 when the close reported an error (the socket counts as closed either way).
  int Close();
  // Takes over other's descriptor (other ends closed without closing it).
  void Adopt(CTcpSocket& other);
  bool IsOpen() const { return fd_ >= 0; }
  // The socket was closed or reset by the peer, seen by a read.
  bool PeerGone() const { return peerGone_; }
  uint16_t LocalPort() const;

  // IByteLink: Purge drops what waits unread (see Drain for the bytes).
  void Purge() override { Drain(); }
  bool Write(const char* bytes, size_t length) override;
  int Read(char* buffer, size_t capacity, int waitMs) override;

  // Reads and returns every byte already waiting, without waiting.
  std::string Drain();

 private:
  int fd_ = -1;
  bool peerGone_ = false;
};

// The numeric IPv4 address of a name or dotted text; empty when it does not resolve.
std::string ResolveIpv4(const std::string& host);
// The local address the system would use to reach the destination (the
// interface routing to it), so a link is not bound to a loopback alias of
// the host name; empty when there is no route.
std::string LocalAddressFor(const std::string& destination);

}  // namespace connsrv
