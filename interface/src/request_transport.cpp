#include "request_transport.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "platform/folders.h"
#include "tavinter/result_codes.h"

namespace tavinter {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kConnectWaitMs = 2000;
constexpr int kRequestReadMs = 2000;
constexpr int kReplyWriteMs = 2000;
constexpr int kTrailWaitMs = 100;

int RemainingMs(Clock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

bool FillAddress(int port, sockaddr_un& addr) {
  std::string path = EndpointPath(port);
  std::memset(&addr, 0, sizeof addr);
  addr.sun_family = AF_UNIX;
  if (path.size() >= sizeof addr.sun_path) return false;
  std::memcpy(addr.sun_path, path.c_str(), path.size());
  return true;
}

bool SameUser(int fd) {
  ucred cred {};
  socklen_t len = sizeof cred;
  if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0) return false;
  return cred.uid == ::getuid();
}

// 1 done, 0 time-out, -1 error or end of stream (got tells how much came).
int ReadFull(int fd, uint8_t* buf, size_t size, Clock::time_point deadline, size_t& got) {
  got = 0;
  while (got < size) {
    pollfd p{fd, POLLIN, 0};
    int rc = ::poll(&p, 1, RemainingMs(deadline));
    if (rc < 0 && errno == EINTR) continue;
    if (rc < 0) return -1;
    if (rc == 0) return 0;
    ssize_t n = ::recv(fd, buf + got, size - got, 0);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n <= 0) return -1;
    got += static_cast<size_t>(n);
  }
  return 1;
}

bool WriteFull(int fd, const uint8_t* buf, size_t size, Clock::time_point deadline) {
  size_t put = 0;
  while (put < size) {
    pollfd p{fd, POLLOUT, 0};
    int rc = ::poll(&p, 1, RemainingMs(deadline));
    if (rc < 0 && errno == EINTR) continue;
    if (rc <= 0) return false;
    ssize_t n = ::send(fd, buf + put, size - put, MSG_NOSIGNAL);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n <= 0) return false;
    put += static_cast<size_t>(n);
  }
  return true;
}

void PutLe32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>((v >> (8 * i)) & 0xFF);
}

uint32_t GetLe32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}

// Connects without blocking; TAV_E_SERVER_ABSENT when nobody listens.
int ConnectEndpoint(int port, int& fd) {
  sockaddr_un addr {};
  if (!FillAddress(port, addr)) return TAV_E_TRANSPORT;
  fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return TAV_E_TRANSPORT;
  if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    int err = errno;
    if (err == EAGAIN || err == EINPROGRESS) {
      // A full backlog: the server lives but is busy; wait for room.
      pollfd p{fd, POLLOUT, 0};
      if (::poll(&p, 1, kConnectWaitMs) == 1) {
        int soErr = 0;
        socklen_t len = sizeof soErr;
        ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &soErr, &len);
        if (soErr == 0) return 0;
        err = soErr;
      } else {
        ::close(fd);
        fd = -1;
        return TAV_E_REPLY_TIMEOUT;
      }
    }
    ::close(fd);
    fd = -1;
    return err == ENOENT || err == ECONNREFUSED ? TAV_E_SERVER_ABSENT : TAV_E_TRANSPORT;
  }
  return 0;
}

}  // namespace

std::string EndpointPath(int port) { return platform::RuntimeDir() + "/KELDTAVINTER" + std::to_string(port); }

int ExchangeRequest(int port, int32_t code, const CRequestRecord& record, int replyTimeoutMs, CReply& reply) {
  reply = CReply{};
  int fd = -1;
  int rc = ConnectEndpoint(port, fd);
  if (rc != 0) return rc;
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  if (!SameUser(fd)) return TAV_E_PEER_USER;

  std::vector<uint8_t> wire(kRequestWireSize);
  PutLe32(wire.data(), static_cast<uint32_t>(code));
  std::memcpy(wire.data() + 4, record.Bytes().data(), kRequestRecordSize);
  auto deadline = Clock::now() + std::chrono::milliseconds(replyTimeoutMs);
  if (!WriteFull(fd, wire.data(), wire.size(), deadline)) {
    return RemainingMs(deadline) == 0 ? TAV_E_REPLY_TIMEOUT : TAV_E_SERVER_LOST;
  }

  uint8_t head[8];
  size_t got = 0;
  int r = ReadFull(fd, head, sizeof head, deadline, got);
  if (r == 0) return TAV_E_REPLY_TIMEOUT;
  if (r < 0) return got == 0 ? TAV_E_SERVER_LOST : TAV_E_BAD_REPLY;
  uint32_t length = GetLe32(head + 4);
  if (length > kMaxAnswer) return TAV_E_BAD_REPLY;
  std::vector<uint8_t> answer(length);
  if (length > 0) {
    r = ReadFull(fd, answer.data(), length, deadline, got);
    if (r == 0) return TAV_E_REPLY_TIMEOUT;
    if (r < 0) return TAV_E_BAD_REPLY;
  }
  // The server closes after its reply; anything more is a malformed reply.
  uint8_t extra;
  r = ReadFull(fd, &extra, 1, Clock::now() + std::chrono::milliseconds(kTrailWaitMs), got);
  if (r == 1) return TAV_E_BAD_REPLY;
  reply.result = static_cast<int32_t>(GetLe32(head));
  reply.answer = std::move(answer);
  return 0;
}

int ListenEndpoint(int port) {
  sockaddr_un addr {};
  if (!FillAddress(port, addr)) return TAV_E_TRANSPORT;
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return TAV_E_TRANSPORT;
  ::unlink(addr.sun_path);
  if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::chmod(addr.sun_path, 0600) != 0 ||
      ::listen(fd, 32) != 0) {
    ::close(fd);
    return TAV_E_TRANSPORT;
  }
  return fd;
}

void RemoveEndpoint(int port, int listenFd) {
  if (listenFd >= 0) ::close(listenFd);
  ::unlink(EndpointPath(port).c_str());
}

int AcceptOneRequest(int listenFd, int timeoutMs, int32_t& code, CRequestRecord& record) {
  pollfd p{listenFd, POLLIN, 0};
  int rc = ::poll(&p, 1, timeoutMs);
  if (rc <= 0) return TAV_E_REPLY_TIMEOUT;
  int fd = ::accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
  if (fd < 0) return TAV_E_TRANSPORT;
  if (!SameUser(fd)) {
    ::close(fd);
    return TAV_E_PEER_USER;
  }
  std::vector<uint8_t> wire(kRequestWireSize);
  size_t got = 0;
  int r = ReadFull(fd, wire.data(), wire.size(), Clock::now() + std::chrono::milliseconds(kRequestReadMs), got);
  uint8_t extra;
  size_t more = 0;
  if (r != 1 || ReadFull(fd, &extra, 1, Clock::now(), more) == 1) {
    // Short, late or over-long: not a request of this library.
    ::close(fd);
    return TAV_E_BAD_RECORD;
  }
  code = static_cast<int32_t>(GetLe32(wire.data()));
  record.Parse(wire.data() + 4, kRequestRecordSize);
  return fd;
}

int SendReply(int connectionFd, int32_t result, const std::vector<uint8_t>& answer) {
  if (connectionFd < 0) return TAV_E_TRANSPORT;
  size_t length = std::min<size_t>(answer.size(), kMaxAnswer);
  std::vector<uint8_t> wire(8 + length);
  PutLe32(wire.data(), static_cast<uint32_t>(result));
  PutLe32(wire.data() + 4, static_cast<uint32_t>(length));
  if (length) std::memcpy(wire.data() + 8, answer.data(), length);
  bool ok = WriteFull(connectionFd, wire.data(), wire.size(),
                      Clock::now() + std::chrono::milliseconds(kReplyWriteMs));
  ::close(connectionFd);
  return ok ? 0 : TAV_E_TRANSPORT;
}

}  // namespace tavinter
