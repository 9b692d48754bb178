// Times a modem connect (open with the modem's initialisation, then the dial)
// and a hang-up through KELD_TAVMGR against plcsim's modem emulator answering
// at once (--connect-delay 0), and prints what each took beyond the waits the
// modem dialogue makes on purpose:
//   connect  1,000 ms DTR settle at open + 1,000 ms between the two
//            initialisations + 1,000 ms before dialling + 5,000 ms after
//   hang-up  1,000 ms guard + 2 x 100 ms between escapes + 1,000 ms the
//            modem's own guard before its OK + 1,000 ms guard before "ATH0"
//            + 1,000 ms before the port is opened again
// Usage: bench_modem [RUNS] (default 3; each run takes about 13 s).
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench_timing.h"
#include "plcsim_peer.h"
#include "tavinter/connection_record.h"
#include "tavinter/tavinter.h"

namespace {

constexpr int kCom = 9;
constexpr double kConnectFixedMs = 8000, kHangUpFixedMs = 4200;

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  const std::string dir = "/tmp/keld-bench-modem-" + std::to_string(getpid());
  std::filesystem::create_directories(dir);
  if (!std::getenv("KELD_HOME")) setenv("KELD_HOME", (dir + "/home").c_str(), 1);
  bench::PlcSimPeer sim({"--modem", "--connect-delay", "0"});
  const size_t at = sim.firstLine.find("/dev/");
  if (at == std::string::npos) {
    std::fprintf(stderr, "bench_modem: plcsim did not start (%s)\n", sim.firstLine.c_str());
    return 1;
  }
  setenv(("KELD_COM" + std::to_string(kCom)).c_str(), sim.firstLine.substr(at).c_str(), 1);

  std::array<unsigned char, TAV_CONNECTION_RECORD_SIZE> record{};
  tavinter::CConnectionRecord r(record.data());
  r.SetName("bench modem");
  r.SetKind(tavinter::kKindModem);
  r.SetPort(kCom);
  r.SetTimeout(3);
  r.SetBaudIndex(7);
  r.SetDataBits(8);
  r.SetStopBits(1);
  r.SetInitCommand("ATE0V1S2=43");
  r.SetLineTimeout(30);

  int rc = 0;
  auto keep = [&rc](int v) {
    if (rc == 0) rc = v;
  };
  // The first open starts the server; it is not part of the figures.
  keep(TavOpen(nullptr, record.data()));
  keep(TavClose(record.data()));
  // Each connect starts from a closed connection: the hang-up and close of
  // the call before it are untimed.
  bool open = false;
  const bench::Timing connect = bench::MeasureMs(
      runs,
      [&] {
        if (!open) return;
        keep(TavHangUp(nullptr, "bench modem", record.data()));
        keep(TavClose(record.data()));
      },
      [&] {
        keep(TavOpen(nullptr, record.data()));
        keep(TavDial(record.data(), "ATDT0612345"));
        open = true;
      });
  // Each hang-up needs a call: the dial before it is untimed.
  keep(TavHangUp(nullptr, "bench modem", record.data()));
  const bench::Timing hangUp = bench::MeasureMs(
      runs, [&] { keep(TavDial(record.data(), "ATDT0612345")); },
      [&] { keep(TavHangUp(nullptr, "bench modem", record.data())); });
  TavClose(record.data());
  std::printf("modem connect (open + dial): median %8.1f ms, fastest %8.1f ms; beyond the fixed %.0f ms: "
              "median %6.1f ms, fastest %6.1f ms (target < 300 ms)\n",
              connect.median, connect.fastest, kConnectFixedMs, connect.median - kConnectFixedMs,
              connect.fastest - kConnectFixedMs);
  std::printf("modem hang-up:               median %8.1f ms, fastest %8.1f ms; beyond the fixed %.0f ms: "
              "median %6.1f ms, fastest %6.1f ms (target < 300 ms)\n",
              hangUp.median, hangUp.fastest, kHangUpFixedMs, hangUp.median - kHangUpFixedMs,
              hangUp.fastest - kHangUpFixedMs);
  std::printf("runs %d, result %d\n", runs, rc);
  std::filesystem::remove_all(dir);
  return rc == 0 ? 0 : 1;
}
