#pragma once
// A TCP listener on 127.0.0.1 whose accept queue is full: a further connect
// to it neither completes nor fails (the kernel drops its SYNs), as with a
// PLC that does not answer. For tests of connect waits and their cancel.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <vector>

namespace keldtest {

// port 0 when the port could not be taken; wantedPort 0: any free port.
struct FullBacklogListener {
  int fd = -1;
  int port = 0;
  std::vector<int> fillers;
  explicit FullBacklogListener(int wantedPort = 0) {
    fd = socket(AF_INET, SOCK_STREAM, 0);
    const int one = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<uint16_t>(wantedPort));
    if (bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(fd, 0) != 0) return;
    socklen_t len = sizeof a;
    getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    port = ntohs(a.sin_port);
    for (int i = 0; i < 2; ++i) {
      const int f = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
      connect(f, reinterpret_cast<sockaddr*>(&a), sizeof a);
      fillers.push_back(f);
    }
    pollfd p{fillers[0], POLLOUT, 0};
    poll(&p, 1, 2000);  // the first takes the only place in the queue
  }
  ~FullBacklogListener() {
    for (int f : fillers) close(f);
    if (fd >= 0) close(fd);
  }
};

}  // namespace keldtest
