// Load run of one server port on the simulation channel: 1, 8, 64 and 512
// client processes at once, each writing and reading back its own words for
// a fixed time. Prints requests per second and the p50/p99/max latency of a
// single request for each client count.
//
//   bench_conn_load [SECONDS [CLIENTS...]]   (default 10 s; 1, 8, 64 and 512 clients)
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "load_fleet.h"
#include "tavinter/connection_record.h"
#include "tavinter/tavinter.h"

namespace {

struct Row {
  int clients = 0;
  long requests = 0;
  long failures = 0;
  double seconds = 0;
  double p50 = 0, p99 = 0, max = 0;  // milliseconds
  std::string codes;                 // the first failure of each failing client, counted
};

std::string OwnDir() {
  std::error_code ec;
  return std::filesystem::read_symlink("/proc/self/exe", ec).parent_path().string();
}

Row RunLoad(int clients, int seconds, const std::string& scratch) {
  Row row;
  row.clients = clients;
  const std::string latDir = scratch + "/lat" + std::to_string(clients);
  std::filesystem::create_directories(latDir);
  keldload::CLoadFleet::Options o;
  o.program = OwnDir() + "/tav_load_client";
  o.clients = 0;
  o.words = 10;
  o.seconds = seconds;
  o.latencyDir = latDir;
  keldload::CLoadFleet fleet(o);
  // A connection of this program starts the server and keeps it until the
  // first client holds it, so the full client count fits the port's list.
  std::array<unsigned char, TAV_CONNECTION_RECORD_SIZE> warm{};
  tavinter::CConnectionRecord r(warm.data());
  r.SetName("bench");
  r.SetKind(tavinter::kKindSimulation);
  r.SetTimeout(3);
  if (TavOpen(nullptr, warm.data()) != 0) return row;
  fleet.Spawn(1);
  fleet.WaitOpened(60000);
  TavClose(warm.data());
  fleet.Spawn(clients - 1);
  fleet.WaitOpened(600000);
  const auto t0 = std::chrono::steady_clock::now();
  const auto report = fleet.Finish(600000);
  row.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  row.failures = report.failures + report.openFailed;
  for (auto [code, n] : report.firstCodes) row.codes += " " + std::to_string(code) + "x" + std::to_string(n);
  std::vector<long> all;
  for (const auto& f : std::filesystem::directory_iterator(latDir)) {
    std::ifstream in(f.path());
    long us;
    while (in >> us) all.push_back(us);
  }
  row.requests = static_cast<long>(all.size());
  if (!all.empty()) {
    std::sort(all.begin(), all.end());
    auto at = [&](double q) { return all[std::min(all.size() - 1, static_cast<size_t>(q * all.size()))] / 1000.0; };
    row.p50 = at(0.50);
    row.p99 = at(0.99);
    row.max = all.back() / 1000.0;
  }
  return row;
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  char tmpl[] = "/tmp/keld-bench-XXXXXX";
  const char* made = ::mkdtemp(tmpl);
  if (!made) return 1;
  const std::string scratch = made;
  if (!std::getenv("KELD_HOME")) setenv("KELD_HOME", (scratch + "/home").c_str(), 1);
  std::printf("Load on one port, simulation channel, %d s per run, 10 words written and read back per cycle\n\n",
              seconds);
  std::printf("%8s %10s %10s %10s %9s %9s %9s %9s\n", "clients", "requests", "failures", "req/s", "p50 ms",
              "p99 ms", "max ms", "vs 1");
  std::vector<int> counts;
  for (int i = 2; i < argc; ++i) counts.push_back(std::clamp(std::atoi(argv[i]), 1, 512));
  if (counts.empty()) counts = {1, 8, 64, 512};
  double single = 0;
  for (int clients : counts) {
    const Row row = RunLoad(clients, seconds, scratch);
    const double rate = row.seconds > 0 ? row.requests / row.seconds : 0;
    if (clients == 1) single = rate;
    std::printf("%8d %10ld %10ld %10.0f %9.2f %9.2f %9.2f %8.0f%%\n", row.clients, row.requests, row.failures, rate,
                row.p50, row.p99, row.max, single > 0 ? 100.0 * rate / single : 0.0);
    if (!row.codes.empty()) std::printf("%8s failures by code:%s\n", "", row.codes.c_str());
    std::fflush(stdout);
    // The server ends by itself a few seconds after the last client; the next
    // run starts its own.
  }
  std::error_code ec;
  std::filesystem::remove_all(scratch, ec);
  return 0;
}
