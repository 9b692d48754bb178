// Times the request path of the connection server: a request that does
// nothing (code 13) from a client through the server, beside a bare AF_UNIX
// echo round trip of the same size, and a full table read of an 8-axis unit
// (76,800 words) over the simulation channel and over an Ethernet link
// (kind 5) to plcsim on a TCP port, with the median of 1-word reads there.
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <csignal>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tavinter/connection_record.h"
#include "tavinter/request_record.h"
#include "tavinter/tavinter.h"

namespace {

using Clock = std::chrono::steady_clock;

double MicrosPer(Clock::time_point t0, int n) {
  return std::chrono::duration<double, std::micro>(Clock::now() - t0).count() / n;
}

bool WriteAll(int fd, const char* p, size_t n) {
  while (n > 0) {
    ssize_t w = write(fd, p, n);
    if (w <= 0) return false;
    p += w;
    n -= static_cast<size_t>(w);
  }
  return true;
}

bool ReadAll(int fd, char* p, size_t n) {
  while (n > 0) {
    ssize_t r = read(fd, p, n);
    if (r <= 0) return false;
    p += r;
    n -= static_cast<size_t>(r);
  }
  return true;
}

// A child echoes requests of the request size back as a 4-byte reply, on a
// new connection each time, as the server's transport does.
double BareEcho(int rounds) {
  std::string path = "/tmp/keld-bench-echo-" + std::to_string(getpid());
  unlink(path.c_str());
  int listener = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", path.c_str());
  bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
  listen(listener, 8);
  const size_t requestSize = 4 + TAV_REQUEST_RECORD_SIZE;
  pid_t child = fork();
  if (child == 0) {
    std::vector<char> buf(requestSize);
    for (int i = 0; i < rounds; ++i) {
      int c = accept(listener, nullptr, nullptr);
      ReadAll(c, buf.data(), buf.size());
      WriteAll(c, buf.data(), 4);
      close(c);
    }
    _exit(0);
  }
  std::vector<char> req(requestSize, 1), reply(4);
  auto t0 = Clock::now();
  for (int i = 0; i < rounds; ++i) {
    int s = socket(AF_UNIX, SOCK_STREAM, 0);
    connect(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    WriteAll(s, req.data(), req.size());
    ReadAll(s, reply.data(), reply.size());
    close(s);
  }
  double us = MicrosPer(t0, rounds);
  waitpid(child, nullptr, 0);
  close(listener);
  unlink(path.c_str());
  return us;
}

// 600 tables of 16 words for each of 8 axes, 0x2800 words apart; ms or -1.
double ReadAllTables(unsigned char* rec, int& rc) {
  std::vector<uint16_t> words(9600);
  const auto t0 = Clock::now();
  rc = 0;
  for (int axis = 0; axis < 8 && rc == 0; ++axis)
    rc = TavReadUnitWords(rec, 1, TAV_MEMORY_UNIT, 0, 0x850 + 0x2800L * axis, 9600, words.data());
  return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// plcsim --tcp 0 from the folder of this program; its pid and port.
pid_t StartTcpPlc(int& port) {
  char self[4096] = {};
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  std::string dir(self, n > 0 ? static_cast<size_t>(n) : 0);
  dir = dir.substr(0, dir.rfind('/'));
  int out[2];
  if (pipe(out) != 0) return -1;
  const pid_t child = fork();
  if (child == 0) {
    dup2(out[1], 1);
    close(out[0]);
    const std::string program = dir + "/plcsim";
    execl(program.c_str(), program.c_str(), "--tcp", "0", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(out[1]);
  std::string line;
  char c;
  while (read(out[0], &c, 1) == 1 && c != '\n') line.push_back(c);
  close(out[0]);
  const size_t colon = line.rfind(':');
  port = colon == std::string::npos ? 0 : std::atoi(line.c_str() + colon + 1);
  return child;
}

// Kind 5 to 127.0.0.1:port on Ethernet port 1: the table read and the median 1-word read.
void EthernetFigures(double& tableMs, double& medianUs, int& rc) {
  tableMs = medianUs = -1;
  int port = 0;
  const pid_t plc = StartTcpPlc(port);
  rc = -1;
  if (plc <= 0 || port <= 0) return;
  std::array<unsigned char, TAV_CONNECTION_RECORD_SIZE> rec{};
  tavinter::CConnectionRecord r(rec.data());
  r.SetName("bench ethernet");
  r.SetKind(tavinter::kKindEthernet);
  r.SetPort(1);
  r.SetTimeout(3);
  r.SetInitCommand("127.0.0.1");
  r.SetTcpPort(port);
  rc = TavOpen(nullptr, rec.data());
  if (rc == 0) {
    tableMs = ReadAllTables(rec.data(), rc);
    std::vector<double> each;
    uint16_t word = 0;
    for (int i = 0; i < 500 && rc == 0; ++i) {
      const auto t0 = Clock::now();
      rc = TavReadUnitWords(rec.data(), 1, TAV_MEMORY_UNIT, 0, 0x002, 1, &word);
      each.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
    }
    std::sort(each.begin(), each.end());
    if (!each.empty()) medianUs = each[each.size() / 2];
    TavClose(rec.data());
  }
  kill(plc, SIGTERM);
  waitpid(plc, nullptr, 0);
}

}  // namespace

int main() {
  if (!std::getenv("KELD_HOME")) {
    std::string home = "/tmp/keld-bench-" + std::to_string(getpid());
    setenv("KELD_HOME", home.c_str(), 1);
  }
  std::array<unsigned char, TAV_CONNECTION_RECORD_SIZE> rec{};
  tavinter::CConnectionRecord r(rec.data());
  r.SetName("bench");
  r.SetKind(tavinter::kKindSimulation);
  r.SetTimeout(3);
  if (int rc = TavOpen(nullptr, rec.data()); rc != 0) {
    std::fprintf(stderr, "open failed: %d\n", rc);
    return 1;
  }
  const int rounds = 2000;
  double echo = BareEcho(rounds);

  // Code 13 is accepted and does nothing: the whole cost is the request path.
  auto t0 = Clock::now();
  int failures = 0;
  for (int i = 0; i < rounds; ++i) failures += TavRequest(rec.data(), 13, nullptr, nullptr, 0, nullptr) != 0;
  double request = MicrosPer(t0, rounds);

  int rc = 0;
  const double tableMs = ReadAllTables(rec.data(), rc);
  TavClose(rec.data());
  double ethernetMs = -1, medianUs = -1;
  int ethernetRc = 0;
  EthernetFigures(ethernetMs, medianUs, ethernetRc);

  std::printf("bare AF_UNIX echo round trip      %8.1f us\n", echo);
  std::printf("request 13 through the server     %8.1f us  (%.1fx the echo, %d failures)\n", request,
              request / echo, failures);
  std::printf("read of 76,800 table words (sim)  %8.1f ms  (result %d)\n", tableMs, rc);
  std::printf("read of 76,800 table words (TCP)  %8.1f ms  (kind 5 to plcsim --tcp, result %d; target 200 ms)\n",
              ethernetMs, ethernetRc);
  std::printf("1-word read over TCP, median      %8.1f us  (target 1,000 us)\n", medianUs);
  return 0;
}
