#include "connsrv/tcp_socket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "connsrv/result_codes.h"

namespace connsrv {

namespace {

constexpr int kSendWaitMs = 5000;

bool MakeAddress(const std::string& text, uint16_t port, sockaddr_in& a) {
  a = sockaddr_in{};
  a.sin_family = AF_INET;
  a.sin_port = htons(port);
  if (text.empty()) {
    a.sin_addr.s_addr = htonl(INADDR_ANY);
    return true;
  }
  const std::string numeric = ResolveIpv4(text);
  return !numeric.empty() && inet_pton(AF_INET, numeric.c_str(), &a.sin_addr) == 1;
}

}  // namespace

std::string ResolveIpv4(const std::string& host) {
  in_addr direct{};
  if (inet_pton(AF_INET, host.c_str(), &direct) == 1) return host;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (host.empty() || getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) return {};
  char text[INET_ADDRSTRLEN] = {};
  inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr, text, sizeof text);
  freeaddrinfo(found);
  return text;
}

std::string LocalAddressFor(const std::string& destination) {
  sockaddr_in to{};
  if (!MakeAddress(destination, 9, to) || destination.empty()) return {};
  // A datagram socket's connect sends nothing; it only picks the route.
  const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return {};
  std::string result;
  sockaddr_in local{};
  socklen_t len = sizeof local;
  if (connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0 &&
      getsockname(fd, reinterpret_cast<sockaddr*>(&local), &len) == 0) {
    char text[INET_ADDRSTRLEN] = {};
    if (inet_ntop(AF_INET, &local.sin_addr, text, sizeof text)) result = text;
  }
  close(fd);
  return result;
}

int CTcpSocket::Create(const std::string& sourceAddress, uint16_t sourcePort, bool reuseAddress) {
  Close();
  peerGone_ = false;
  fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd_ < 0) return kErrSocket;
  auto fail = [this](int code) {
    Close();
    return code;
  };
  const int one = 1;
  if (reuseAddress && setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one) != 0) return fail(kErrSocketOption);
  sockaddr_in local{};
  if (!MakeAddress(sourceAddress, sourcePort, local)) return fail(kErrSocketBind);
  if ((!sourceAddress.empty() || sourcePort != 0) &&
      bind(fd_, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0)
    return fail(kErrSocketBind);
  const int flags = fcntl(fd_, F_GETFL, 0);
  if (flags < 0 || fcntl(fd_, F_SETFL, flags | O_NONBLOCK) != 0) return fail(kErrNonBlocking);
  const linger off{1, 0};
  if (setsockopt(fd_, SOL_SOCKET, SO_LINGER, &off, sizeof off) != 0) return fail(kErrSocketOption);
  if (setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one) != 0) return fail(kErrSocketOption);
  return kOk;
}

int CTcpSocket::StartConnect(const std::string& address, uint16_t port) {
  sockaddr_in to{};
  if (fd_ < 0 || !MakeAddress(address, port, to)) return kErrEthernetAccept;
  if (connect(fd_, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0) return kOk;
  if (errno == EINPROGRESS || errno == EALREADY || errno == EINTR) return 1;
  if (errno == EISCONN) return kOk;
  return kErrEthernetAccept;
}

int CTcpSocket::WaitConnected(int waitMs) {
  if (fd_ < 0) return kErrEthernetAccept;
  pollfd p{fd_, POLLOUT, 0};
  const int n = poll(&p, 1, waitMs);
  if (n == 0 || (n < 0 && errno == EINTR)) return 1;
  if (n < 0) return kErrEthernetAccept;
  int error = 0;
  socklen_t len = sizeof error;
  if (getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &len) != 0) return kErrEthernetAccept;
  if (error == 0) return kOk;
  return error == EINPROGRESS || error == EALREADY ? 1 : kErrEthernetAccept;
}

int CTcpSocket::Listen(int backlog) {
  if (fd_ < 0 || listen(fd_, backlog) != 0) return kErrListen;
  return kOk;
}

int CTcpSocket::Accept(CTcpSocket& peer, std::string& peerAddress, uint16_t& peerPort) {
  sockaddr_in from{};
  socklen_t len = sizeof from;
  const int fd = accept4(fd_, reinterpret_cast<sockaddr*>(&from), &len, SOCK_CLOEXEC | SOCK_NONBLOCK);
  if (fd < 0) {
    if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR || errno == ECONNABORTED) return 0;
    return kErrEthernetAccept;
  }
  peer.Close();
  peer.fd_ = fd;
  peer.peerGone_ = false;
  const int one = 1;
  const linger off{1, 0};
  setsockopt(fd, SOL_SOCKET, SO_LINGER, &off, sizeof off);
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  char text[INET_ADDRSTRLEN] = {};
  inet_ntop(AF_INET, &from.sin_addr, text, sizeof text);
  peerAddress = text;
  peerPort = ntohs(from.sin_port);
  return 1;
}

int CTcpSocket::Close() {
  if (fd_ < 0) return kOk;
  const int rc = close(fd_);
  fd_ = -1;
  return rc == 0 ? kOk : kErrSocketClose;
}

void CTcpSocket::Adopt(CTcpSocket& other) {
  Close();
  fd_ = other.fd_;
  peerGone_ = other.peerGone_;
  other.fd_ = -1;
}

uint16_t CTcpSocket::LocalPort() const {
  sockaddr_in local{};
  socklen_t len = sizeof local;
  if (fd_ < 0 || getsockname(fd_, reinterpret_cast<sockaddr*>(&local), &len) != 0) return 0;
  return ntohs(local.sin_port);
}

bool CTcpSocket::Write(const char* bytes, size_t length) {
  size_t done = 0;
  while (done < length) {
    if (fd_ < 0) return false;
    const ssize_t n = send(fd_, bytes + done, length - done, MSG_NOSIGNAL);
    if (n > 0) {
      done += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      pollfd p{fd_, POLLOUT, 0};
      if (poll(&p, 1, kSendWaitMs) > 0) continue;
    }
    return false;
  }
  return true;
}

int CTcpSocket::Read(char* buffer, size_t capacity, int waitMs) {
  if (fd_ < 0) return -1;
  pollfd p{fd_, POLLIN, 0};
  const int ready = poll(&p, 1, waitMs);
  if (ready == 0 || (ready < 0 && errno == EINTR)) return 0;
  if (ready < 0) return -1;
  const ssize_t n = recv(fd_, buffer, capacity, 0);
  if (n > 0) return static_cast<int>(n);
  if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return 0;
  peerGone_ = true;  // orderly end (0) or a reset
  return -1;
}

std::string CTcpSocket::Drain() {
  std::string dropped;
  char buffer[2100];
  for (;;) {
    const int n = Read(buffer, sizeof buffer, 0);
    if (n <= 0) break;
    dropped.append(buffer, static_cast<size_t>(n));
  }
  return dropped;
}

}  // namespace connsrv
