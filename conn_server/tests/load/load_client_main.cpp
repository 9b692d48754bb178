// One client of the load tests and the load benchmark: opens a connection on
// the simulation channel (or, with --tcp, on Ethernet port ETH to plcsim
// listening on 127.0.0.1:PORT), then writes its own block of unit words and reads
// it back, cycle after cycle, and reports what went wrong.
//
//   tav_load_client INDEX WORDS CYCLES [SECONDS] [--wait-stdin] [--latency FILE] [--tcp PORT --eth ETH]
//
// The block starts at 0x850 + INDEX * WORDS. With SECONDS > 0 the cycles go
// on until that time has passed. --wait-stdin holds the first request until
// standard input ends, so a parent can start many clients at the same moment.
// Prints "INDEX opened RC" after the open and, at the end, one line
//   INDEX done cycles=N failures=N wrong=N first=CODE
// Each line is one short write, so many clients may share one pipe. With
// --latency each request's time in microseconds goes to FILE, one a line.
// Exit code 0 only when every request succeeded and every word came back.
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tavinter/connection_record.h"
#include "tavinter/tavinter.h"

namespace {

using Clock = std::chrono::steady_clock;

void WaitForEndOfInput() {
  char buf[64];
  while (::read(0, buf, sizeof buf) > 0) {
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: tav_load_client INDEX WORDS CYCLES [SECONDS] [--wait-stdin] [--latency FILE]\n");
    return 2;
  }
  const long index = std::strtol(argv[1], nullptr, 10);
  const long words = std::strtol(argv[2], nullptr, 10);
  const long cycles = std::strtol(argv[3], nullptr, 10);
  long seconds = 0;
  bool waitStdin = false;
  const char* latencyFile = nullptr;
  long tcpPort = 0, ethernetPort = 1;
  for (int i = 4; i < argc; ++i) {
    if (std::strcmp(argv[i], "--wait-stdin") == 0) waitStdin = true;
    else if (std::strcmp(argv[i], "--latency") == 0 && i + 1 < argc) latencyFile = argv[++i];
    else if (std::strcmp(argv[i], "--tcp") == 0 && i + 1 < argc) tcpPort = std::strtol(argv[++i], nullptr, 10);
    else if (std::strcmp(argv[i], "--eth") == 0 && i + 1 < argc) ethernetPort = std::strtol(argv[++i], nullptr, 10);
    else seconds = std::strtol(argv[i], nullptr, 10);
  }
  if (index < 0 || words < 1 || words > 500 || cycles < 0) return 2;

  std::array<unsigned char, TAV_CONNECTION_RECORD_SIZE> conn{};
  tavinter::CConnectionRecord r(conn.data());
  r.SetName(("load" + std::to_string(index)).c_str());
  r.SetKind(tavinter::kKindSimulation);
  if (tcpPort > 0) {
    r.SetKind(tavinter::kKindEthernet);
    r.SetPort(static_cast<int16_t>(ethernetPort));
    r.SetInitCommand("127.0.0.1");
    r.SetTcpPort(static_cast<int32_t>(tcpPort));
  }
  r.SetTimeout(3);
  r.SetLanguage(1);
  const int opened = TavOpen(nullptr, conn.data());
  std::printf("%ld opened %d\n", index, opened);
  std::fflush(stdout);
  if (opened != 0) return 1;
  if (waitStdin) WaitForEndOfInput();

  const long base = 0x850 + index * words;
  std::vector<uint16_t> out(static_cast<size_t>(words)), in(out.size());
  std::vector<long> lat;
  long done = 0, failures = 0, wrong = 0;
  int first = 0;
  auto note = [&](int rc) {
    if (rc != 0) {
      ++failures;
      if (first == 0) first = rc;
    }
  };
  auto timed = [&](auto call) {
    const auto t0 = Clock::now();
    const int rc = call();
    if (latencyFile)
      lat.push_back(static_cast<long>(
          std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - t0).count()));
    note(rc);
    return rc;
  };
  const auto end = Clock::now() + std::chrono::seconds(seconds);
  for (long c = 0; seconds > 0 ? Clock::now() < end : c < cycles; ++c) {
    for (long i = 0; i < words; ++i) out[i] = static_cast<uint16_t>(index * 977 + c * 31 + i);
    in.assign(in.size(), 0);
    if (timed([&] { return TavWriteUnitWords(conn.data(), 1, TAV_MEMORY_UNIT, 0, base, words, out.data()); }) == 0 &&
        timed([&] { return TavReadUnitWords(conn.data(), 1, TAV_MEMORY_UNIT, 0, base, words, in.data()); }) == 0 &&
        in != out)
      ++wrong;
    ++done;
  }
  note(TavClose(conn.data()));
  if (latencyFile) {
    if (FILE* f = std::fopen(latencyFile, "w")) {
      for (long us : lat) std::fprintf(f, "%ld\n", us);
      std::fclose(f);
    }
  }
  std::printf("%ld done cycles=%ld failures=%ld wrong=%ld first=%d\n", index, done, failures, wrong, first);
  std::fflush(stdout);
  return failures == 0 && wrong == 0 ? 0 : 1;
}
