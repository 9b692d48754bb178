#include "request_transport.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <list>
#include <map>
#include <memory>
#include <mutex>

#include "platform/folders.h"
#include "tavinter/result_codes.h"

namespace tavinter {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kConnectPauseMaxMs = 50;
// How long a connected peer may take to send its whole request.
constexpr int kRequestReadMs = 1000;
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

// 1 the peer is this user, 0 another user, -1 no credentials to be had.
int PeerIsSameUser(int fd) {
  ucred cred {};
  socklen_t len = sizeof cred;
  if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0 || len != sizeof cred) return -1;
  return cred.uid == ::getuid() ? 1 : 0;
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

// Connects without blocking; TAV_E_SERVER_ABSENT when nobody listens. A
// full listen backlog (EAGAIN) means the server lives but is busy: the
// connect is tried again after a short, growing pause until the deadline,
// then the caller gets a time-out. An AF_UNIX socket never completes a
// connect later on its own, so each try uses a fresh socket.
int ConnectEndpoint(int port, Clock::time_point deadline, int& fd) {
  sockaddr_un addr {};
  if (!FillAddress(port, addr)) return TAV_E_TRANSPORT;
  int pauseMs = 1;
  for (;;) {
    fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return TAV_E_TRANSPORT;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) return 0;
    const int err = errno;
    ::close(fd);
    fd = -1;
    if (err == EINTR) continue;
    if (err != EAGAIN && err != EINPROGRESS) {
      if (err == EACCES || err == EPERM) return TAV_E_PEER_USER;  // the socket or its folder is another user's
      return err == ENOENT || err == ECONNREFUSED ? TAV_E_SERVER_ABSENT : TAV_E_TRANSPORT;
    }
    const int left = RemainingMs(deadline);
    if (left == 0) return TAV_E_REPLY_TIMEOUT;
    ::poll(nullptr, 0, std::min(pauseMs, left));
    pauseMs = std::min(pauseMs * 2, kConnectPauseMaxMs);
  }
}

}  // namespace

std::string EndpointPath(int port) { return platform::RuntimeDir() + "/KELDTAVINTER" + std::to_string(port); }

int ExchangeRequest(int port, int32_t code, const CRequestRecord& record, int replyTimeoutMs, CReply& reply) {
  reply = CReply{};
  // One limit for the whole exchange: waiting for room in a busy server's
  // backlog counts against the reply limit as well.
  const auto deadline = Clock::now() + std::chrono::milliseconds(replyTimeoutMs);
  int fd = -1;
  int rc = ConnectEndpoint(port, deadline, fd);
  if (rc != 0) return rc;
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  const int same = PeerIsSameUser(fd);
  if (same < 0) return TAV_E_TRANSPORT;
  if (same == 0) return TAV_E_PEER_USER;

  std::vector<uint8_t> wire(kRequestWireSize);
  PutLe32(wire.data(), static_cast<uint32_t>(code));
  std::memcpy(wire.data() + 4, record.Bytes().data(), kRequestRecordSize);
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
  std::string error;
  if (!platform::CheckRuntimeDir(error)) return TAV_E_RUNTIME_DIR;
  sockaddr_un addr {};
  if (!FillAddress(port, addr)) return TAV_E_TRANSPORT;
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return TAV_E_TRANSPORT;
  ::unlink(addr.sun_path);
  if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::chmod(addr.sun_path, 0600) != 0 ||
      ::listen(fd, SOMAXCONN) != 0) {
    ::close(fd);
    return TAV_E_TRANSPORT;
  }
  return fd;
}

namespace {

// The connections of one listening socket whose request is still coming in.
// Every wake-up accepts all that wait in the backlog, then reads from each
// what it has without blocking, so a peer that connects and sends nothing
// only costs its own slot until its read limit ends.
class CRequestGatherer {
 public:
  explicit CRequestGatherer(int listenFd) : listenFd_(listenFd) {}
  ~CRequestGatherer() {
    for (auto& p : pending_) ::close(p.fd);
  }
  CRequestGatherer(const CRequestGatherer&) = delete;
  CRequestGatherer& operator=(const CRequestGatherer&) = delete;

  int Next(int timeoutMs, int32_t& code, CRequestRecord& record) {
    const auto until = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    for (;;) {
      AcceptAll();
      for (auto it = pending_.begin(); it != pending_.end();) {
        const int state = TakeRequest(*it);
        if (state == 0) {
          ++it;
          continue;
        }
        const int fd = it->fd;
        it = pending_.erase(it);
        if (state < 0) {
          ::close(fd);
          continue;
        }
        code = static_cast<int32_t>(GetLe32(wire_.data()));
        record.Parse(wire_.data() + 4, kRequestRecordSize);
        return fd;
      }
      int waitMs = RemainingMs(until);
      if (waitMs == 0) return TAV_E_REPLY_TIMEOUT;
      fds_.clear();
      fds_.push_back(pollfd{listenFd_, POLLIN, 0});
      for (const auto& p : pending_) {
        fds_.push_back(pollfd{p.fd, POLLIN, 0});
        waitMs = std::min(waitMs, RemainingMs(p.deadline) + 1);
      }
      const int rc = ::poll(fds_.data(), fds_.size(), waitMs);
      if (rc < 0 && errno != EINTR) return TAV_E_TRANSPORT;
      if (rc <= 0 && RemainingMs(until) == 0) return TAV_E_REPLY_TIMEOUT;
    }
  }

 private:
  struct Pending {
    int fd = -1;
    Clock::time_point deadline;
    std::vector<uint8_t> part;  // a request arriving in pieces, empty otherwise
  };

  void AcceptAll() {
    while (pending_.size() < kMaxPending) {
      const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
      if (fd < 0) {
        if (errno == EINTR || errno == ECONNABORTED) continue;
        return;  // EAGAIN: the backlog is empty; anything else: try on the next wake-up
      }
      if (PeerIsSameUser(fd) != 1) {
        ::close(fd);  // another user's process gets no service and leaves no trace
        continue;
      }
      pending_.push_back(Pending{fd, Clock::now() + std::chrono::milliseconds(kRequestReadMs), {}});
    }
  }

  // 1 the whole request was taken into wire_, 0 more is to come, -1 the
  // connection is dropped: closed early, late, or longer than a request. A
  // request that is all there is read straight into wire_, so connections
  // waiting their turn cost no memory here however many there are; only one
  // that arrives in pieces gets a buffer of its own.
  int TakeRequest(Pending& p) {
    const size_t size = wire_.size();
    if (p.part.empty()) {
      int queued = 0;
      if (::ioctl(p.fd, FIONREAD, &queued) != 0 || static_cast<size_t>(queued) > size) return -1;
      if (static_cast<size_t>(queued) == size) return ReadExactly(p.fd, wire_.data(), size) ? 1 : -1;
      if (queued == 0) {
        pollfd q{p.fd, POLLRDHUP, 0};
        if (::poll(&q, 1, 0) > 0 && (q.revents & (POLLRDHUP | POLLHUP | POLLERR))) return -1;
        return Clock::now() >= p.deadline ? -1 : 0;
      }
      p.part.reserve(size);
    }
    uint8_t chunk[4096];
    while (p.part.size() < size) {
      const ssize_t n = ::recv(p.fd, chunk, std::min(sizeof chunk, size - p.part.size()), MSG_DONTWAIT);
      if (n > 0) {
        p.part.insert(p.part.end(), chunk, chunk + n);
        continue;
      }
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && errno == EAGAIN) return Clock::now() >= p.deadline ? -1 : 0;
      return -1;
    }
    uint8_t extra;
    if (::recv(p.fd, &extra, 1, MSG_DONTWAIT) > 0) return -1;
    std::copy(p.part.begin(), p.part.end(), wire_.begin());
    return 1;
  }

  static bool ReadExactly(int fd, uint8_t* buf, size_t size) {
    size_t got = 0;
    while (got < size) {
      const ssize_t n = ::recv(fd, buf + got, size - got, MSG_DONTWAIT);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      got += static_cast<size_t>(n);
    }
    return true;
  }

  static constexpr size_t kMaxPending = 2048;
  int listenFd_;
  std::list<Pending> pending_;
  std::vector<uint8_t> wire_ = std::vector<uint8_t>(kRequestWireSize);
  std::vector<pollfd> fds_;
};

std::mutex g_gatherersMutex;
std::map<int, std::unique_ptr<CRequestGatherer>> g_gatherers;

}  // namespace

int AcceptOneRequest(int listenFd, int timeoutMs, int32_t& code, CRequestRecord& record) {
  if (listenFd < 0) return TAV_E_TRANSPORT;
  // One server thread takes requests from a listener at a time.
  std::unique_lock<std::mutex> lock(g_gatherersMutex);
  auto& gatherer = g_gatherers[listenFd];
  if (!gatherer) gatherer = std::make_unique<CRequestGatherer>(listenFd);
  CRequestGatherer& g = *gatherer;
  lock.unlock();
  return g.Next(timeoutMs, code, record);
}

void RemoveEndpoint(int port, int listenFd) {
  if (listenFd >= 0) {
    {
      std::lock_guard<std::mutex> lock(g_gatherersMutex);
      g_gatherers.erase(listenFd);  // connections still gathering are closed unanswered
    }
    ::close(listenFd);
  }
  ::unlink(EndpointPath(port).c_str());
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
