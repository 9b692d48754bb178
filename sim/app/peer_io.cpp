#include "peer_io.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "connsrv/ethernet_frame.h"
#include "sim/stream_framer.h"

namespace plcsim {

std::atomic<bool> g_stop{false};
std::atomic<bool> g_powerCycle{false};
std::atomic<bool> g_dropCarrier{false};

namespace {
constexpr int kPollMs = 100;

// What arrived on one link and is not yet a whole frame.
struct LinkReader {
  sim::CStreamFramer framer;
  bool header = false;
  std::string raw;  // with header: bytes not yet a whole header and text
};

bool MakeRaw(int fd) {
  termios tio{};
  if (tcgetattr(fd, &tio) != 0) return false;
  cfmakeraw(&tio);
  tio.c_cflag |= CLOCAL | CREAD;
  tio.c_cc[VMIN] = 1;
  tio.c_cc[VTIME] = 0;
  return tcsetattr(fd, TCSANOW, &tio) == 0;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n > 0) {
      bytes.remove_prefix(static_cast<size_t>(n));
    } else if (n < 0 && (errno == EINTR)) {
      continue;
    } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      pollfd p{fd, POLLOUT, 0};
      poll(&p, 1, kPollMs);
    } else {
      return false;
    }
  }
  return true;
}

// Pauses in short steps so that a stop request ends the pause; false then.
// A unit switched off (plcsim stopped) while it works on an answer must not
// send that answer afterwards.
bool PauseUnlessStopped(int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!g_stop) {
    const auto left = end - std::chrono::steady_clock::now();
    if (left <= std::chrono::steady_clock::duration::zero()) return true;
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(left, std::chrono::milliseconds(kPollMs)));
  }
  return false;
}

bool SendParts(int fd, const std::vector<sim::AnswerPart>& parts) {
  for (const auto& part : parts) {
    if (part.pauseMs > 0 && !PauseUnlessStopped(part.pauseMs)) return false;
    if (!WriteAll(fd, part.bytes)) return false;
  }
  return true;
}

void CheckPowerCycle(sim::CSimPlc& plc) {
  if (!g_powerCycle.exchange(false)) return;
  plc.Unit().PowerCycle();
  std::fprintf(stderr, "plcsim: the unit was switched off and on\n");
}

// Handles the frames in text and sends their answers, each behind header
// when one is given (with the answer's own length); false when the link
// must close (an answer that cannot be written, the hang-up fault).
bool Answer(sim::CSimPlc& plc, sim::CStreamFramer& framer, int fd, std::string_view text, std::string header) {
  for (const std::string& frame : framer.Feed(text)) {
    sim::CSimPlc::Exchange ex = plc.Handle(frame);
    if (!header.empty()) {
      // Each answer frame gets a header of its own (an answer sent in pieces,
      // one header in front of the first piece).
      for (size_t first = 0; first < ex.parts.size();) {
        size_t end = first, length = 0;
        do {
          length += ex.parts[end].bytes.size();
        } while (!ex.parts[end++].bytes.ends_with('\r') && end < ex.parts.size());
        header[2] = static_cast<char>(length & 0xFF);
        header[3] = static_cast<char>((length >> 8) & 0xFF);
        ex.parts[first].bytes.insert(0, header);
        first = end;
      }
    }
    if (!SendParts(fd, ex.parts) || ex.hangUp) return false;
  }
  return true;
}

bool gLogHeaders = false;

void LogHeader(std::string_view header) {
  std::string text = "header";
  for (unsigned char c : header) {
    char buf[4];
    std::snprintf(buf, sizeof buf, " %02X", c);
    text += buf;
  }
  LogFrame(true, text);
}

// Feeds received bytes to the PLC; false when the link must close (also for
// a route header that does not read).
bool Feed(sim::CSimPlc& plc, LinkReader& reader, int fd, std::string_view bytes) {
  if (!reader.header) return Answer(plc, reader.framer, fd, bytes, {});
  reader.raw.append(bytes);
  for (;;) {
    size_t headerLength = 0, textLength = 0;
    const auto parsed = connsrv::CEthernetFrame::ParseHeader(reader.raw, headerLength, textLength);
    if (parsed == connsrv::CEthernetFrame::Parse::kBad) return false;
    if (parsed == connsrv::CEthernetFrame::Parse::kNeedMore || reader.raw.size() < headerLength + textLength)
      return true;
    const std::string header = reader.raw.substr(0, headerLength);
    const std::string text = reader.raw.substr(headerLength, textLength);
    reader.raw.erase(0, headerLength + textLength);
    if (gLogHeaders) LogHeader(header);
    if (!Answer(plc, reader.framer, fd, text, header)) return false;
  }
}

int ListenSocket(int port, std::string& error) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    error = std::string("socket: ") + std::strerror(errno);
    return -1;
  }
  const int one = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<uint16_t>(port));
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(fd, 8) != 0) {
    error = "cannot listen on 127.0.0.1:" + std::to_string(port) + ": " + std::strerror(errno);
    close(fd);
    return -1;
  }
  return fd;
}

// Seconds since the first line of the log, to the millisecond.
double LogTime() {
  static const auto start = std::chrono::steady_clock::now();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}
}  // namespace

void LogHeaders(bool on) { gLogHeaders = on; }

void LogModem(const std::string& text) { std::fprintf(stderr, "[%10.3f] modem: %s\n", LogTime(), text.c_str()); }

void LogFrame(bool incoming, std::string_view bytes) {
  const double t = LogTime();
  std::string text;
  for (unsigned char c : bytes) {
    if (c >= 0x20 && c < 0x7F) {
      text += static_cast<char>(c);
    } else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "<%02X>", c);
      text += buf;
    }
  }
  std::fprintf(stderr, "[%10.3f] %s %s\n", t, incoming ? "<" : ">", text.c_str());
}

int OpenPseudoTerminal(std::string& slavePath, int& slaveFd, std::string& error) {
  const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
    error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
    if (master >= 0) close(master);
    return -1;
  }
  const char* name = ptsname(master);
  slavePath = name ? name : "";
  slaveFd = slavePath.empty() ? -1 : open(slavePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  // Raw on the slave side: no echo, no line editing, no CR/LF translation.
  if (slaveFd < 0 || !MakeRaw(slaveFd)) {
    error = std::string("cannot set up the pseudo-terminal: ") + std::strerror(errno);
    if (slaveFd >= 0) close(slaveFd);
    close(master);
    return -1;
  }
  return master;
}

int OpenSerialDevice(const std::string& path, std::string& error) {
  const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (fd < 0 || !MakeRaw(fd)) {
    error = "cannot open " + path + ": " + std::strerror(errno);
    if (fd >= 0) close(fd);
    return -1;
  }
  return fd;
}

bool ServeStream(sim::CSimPlc& plc, int fd, bool header) {
  LinkReader reader;
  reader.header = header;
  char buf[4096];
  while (!g_stop) {
    CheckPowerCycle(plc);
    pollfd p{fd, POLLIN, 0};
    const int r = poll(&p, 1, kPollMs);
    if (r < 0 && errno != EINTR) return false;
    if (r <= 0) continue;
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n == 0) return false;
    if (n < 0) {
      if (errno == EINTR || errno == EAGAIN) continue;
      return false;
    }
    if (!Feed(plc, reader, fd, std::string_view(buf, static_cast<size_t>(n)))) return false;
  }
  return true;
}

void ServeModem(sim::CSimPlc& plc, int fd, const sim::ModemConfig& config, bool log) {
  sim::CModemEmulator modem(config, plc.Clock(), [&plc](std::string_view frame) { return plc.Handle(frame).parts; });
  if (log) modem.SetLog(LogModem);
  char buf[4096];
  while (!g_stop) {
    CheckPowerCycle(plc);
    if (g_dropCarrier.exchange(false)) {
      const std::string text = modem.DropCarrier();
      if (text.empty() && log) LogModem("SIGUSR1 without a call: nothing to drop");
      WriteAll(fd, text);
    }
    int timeout = kPollMs;
    if (const int64_t due = modem.NextDeadline(); due >= 0)
      timeout = static_cast<int>(std::clamp<int64_t>(due - plc.Clock().NowMs(), 0, kPollMs));
    pollfd p{fd, POLLIN, 0};
    const int r = poll(&p, 1, timeout);
    if (r > 0) {
      const ssize_t n = read(fd, buf, sizeof buf);
      if (n > 0) SendParts(fd, modem.Receive(std::string_view(buf, static_cast<size_t>(n))));
    }
    if (const std::string text = modem.Poll(); !text.empty()) WriteAll(fd, text);
  }
}

bool ServeTcp(sim::CSimPlc& plc, int port, bool header, std::string& error) {
  const int listener = ListenSocket(port, error);
  if (listener < 0) return false;
  sockaddr_in a{};
  socklen_t len = sizeof a;
  getsockname(listener, reinterpret_cast<sockaddr*>(&a), &len);
  std::printf("plcsim: listening on 127.0.0.1:%d\n", ntohs(a.sin_port));
  std::fflush(stdout);
  struct Client {
    int fd;
    LinkReader reader;
  };
  std::vector<Client> clients;
  char buf[4096];
  while (!g_stop) {
    CheckPowerCycle(plc);
    std::vector<pollfd> fds{{listener, POLLIN, 0}};
    for (auto& c : clients) fds.push_back({c.fd, POLLIN, 0});
    if (poll(fds.data(), fds.size(), kPollMs) <= 0) continue;
    if (fds[0].revents & POLLIN) {
      const int fd = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
      if (fd >= 0) clients.push_back({fd, LinkReader{{}, header, {}}});
    }
    for (size_t i = 1; i < fds.size(); ++i) {
      if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      Client& c = clients[i - 1];
      const ssize_t n = read(c.fd, buf, sizeof buf);
      const bool ok = n > 0 && Feed(plc, c.reader, c.fd, std::string_view(buf, static_cast<size_t>(n)));
      if (!ok && !(n < 0 && errno == EINTR)) {
        close(c.fd);
        c.fd = -1;
      }
    }
    std::erase_if(clients, [](const Client& c) { return c.fd < 0; });
  }
  for (auto& c : clients) close(c.fd);
  close(listener);
  return true;
}

bool ServeOutgoing(sim::CSimPlc& plc, const std::string& host, int port, bool header, std::string& error) {
  const std::string address = host == "localhost" ? "127.0.0.1" : host;
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<uint16_t>(port));
  if (inet_pton(AF_INET, address.c_str(), &a.sin_addr) != 1) {
    error = "--connect needs a numeric IPv4 address or localhost, not \"" + host + "\"";
    return false;
  }
  bool announced = false;
  while (!g_stop) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd >= 0 && connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) {
      std::printf("plcsim: connected to %s:%d\n", address.c_str(), port);
      std::fflush(stdout);
      announced = false;
      ServeStream(plc, fd, header);
      close(fd);
      if (!g_stop) std::printf("plcsim: link to %s:%d closed\n", address.c_str(), port);
    } else {
      if (fd >= 0) close(fd);
      if (!announced) std::printf("plcsim: waiting for %s:%d\n", address.c_str(), port);
      announced = true;
    }
    std::fflush(stdout);
    for (int i = 0; i < 10 && !g_stop; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
  }
  return true;
}

}  // namespace plcsim
