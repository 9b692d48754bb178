// Upload and download of a full 8-axis unit: through a started connection
// server on the simulation channel (median of --runs, default 10), and with
// --serial also through plcsim on a pseudo-terminal at 9600 8N1, 38400 8E1
// and 115200 8N1. For each: time, frames, characters each way and the wire
// floor (characters x bits per character / baud). The download's completion
// handshake is not part of the figures. An upload read one table per frame
// (16 words) is timed on the simulation channel for comparison.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/axcfg_strings.h"
#include "axcfg_unit/fixed_destination_library.h"
#include "axcfg_unit/unit_link.h"
#include "axcfg_unit/unit_transfer.h"
#include "tavinter/connection_record.h"
#include "tavinter/serial_settings.h"

namespace {

using Clock = std::chrono::steady_clock;

class QuietUi : public axcfg::ILinkUi {
 public:
  int CommunicationError(const std::string& text, void*) override { return std::fprintf(stderr, "%s\n", text.c_str()), 2; }
  int MessageBox(const std::string& text, unsigned) override { return std::fprintf(stderr, "%s\n", text.c_str()), 1; }
};

// Counts the frames and the characters of each direction: a read frame is
// 19 characters out and 9 + 4 per word back, a write frame 19 + 4 per word
// out and 9 back (start, station, command, block check code, CR).
class CountingLibrary : public axcfg::CFixedDestinationLibrary {
 public:
  using CFixedDestinationLibrary::CFixedDestinationLibrary;
  int ReadWords(uint8_t* c, int st, int slot, long a, long n, uint16_t* w) override {
    ++frames;
    sent += 19;
    received += 9 + 4 * n;
    return CFixedDestinationLibrary::ReadWords(c, st, slot, a, n, w);
  }
  int WriteWords(uint8_t* c, int st, int slot, long a, long n, const uint16_t* w) override {
    ++frames;
    sent += 19 + 4 * n;
    received += 9;
    return CFixedDestinationLibrary::WriteWords(c, st, slot, a, n, w);
  }
  void Reset() { frames = sent = received = 0; }
  long frames = 0, sent = 0, received = 0;
};

struct NoProgress : axcfg::ITransferProgress {
  void SetRange(int) override {}
  void Step(int) override {}
  bool Cancelled() override { return false; }
};

// Eight single axes with values in every table.
void FillDocument(axcfg::CAxisCfgDoc& doc) {
  axcfg::CAxisLayout layout;
  layout.Clear();
  for (int axis = 0; axis < axcfg::kAxisCount; ++axis) layout.Append(axcfg::MakeSingleAxisEntry(axis));
  doc.SetLayout(layout);
  for (int k = 0; k < axcfg::kTableRowCount; ++k)
    for (int axis = 0; axis < axcfg::kAxisCount; ++axis) {
      doc.GetPosData(k)->SetMoveAmount(axis, (k + 1) * (axis + 1) * 1000);
      doc.GetPosData(k)->SetTargetSpeed(axis, 1000 + k);
    }
}

struct Figures {
  double medianMs = 0;
  long frames = 0, sent = 0, received = 0;
};

template <typename Work>
bool Measure(CountingLibrary& library, axcfg::CUnitLink& link, int runs, Work work, Figures& f) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    library.Reset();
    const auto t0 = Clock::now();
    if (int rc = work()) {
      std::fprintf(stderr, "transfer failed: %d %s\n", rc, link.GetErrorString(rc).c_str());
      return false;
    }
    times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
  }
  std::sort(times.begin(), times.end());
  f = {times[times.size() / 2], library.frames, library.sent, library.received};
  return true;
}

void Print(const char* what, const Figures& f, long baud, int bitsPerChar) {
  std::printf("  %-22s %9.1f ms  frames %5ld  chars out %7ld  in %7ld", what, f.medianMs, f.frames, f.sent, f.received);
  if (baud > 0) {
    const double floorMs = (f.sent + f.received) * static_cast<double>(bitsPerChar) / baud * 1000.0;
    std::printf("  wire floor %8.0f ms  (%.1f %%)", floorMs, 100.0 * f.medianMs / floorMs);
  }
  std::printf("\n");
}

// Upload one table per frame, as a reading of 16 words per table does.
int UploadTableByTable(axcfg::CUnitLink& link) {
  uint16_t words[axcfg::unitmap::kRowWords];
  for (int axis = 0; axis < axcfg::kAxisCount; ++axis)
    for (int k = 0; k < axcfg::kTableRowCount; ++k)
      if (int rc = link.Read(axcfg::unitmap::Table(axis, k), axcfg::unitmap::kRowWords, words, axcfg::kReportNone))
        return rc;
  return 0;
}

bool RunOn(const char* title, const std::array<uint8_t, axcfg::kLinkContextSize>& dest, int runs, long baud,
           int bitsPerChar, bool tableByTable) {
  CountingLibrary library(dest);
  QuietUi ui;
  axcfg::CUnitLink link("Axis Configurator", library, ui);
  if (int rc = link.Open(nullptr, false, true, false)) return std::fprintf(stderr, "open failed: %d\n", rc), false;
  axcfg::CAxisCfgDoc doc;
  FillDocument(doc);
  const axcfg::DownloadSelection all{2, 1, static_cast<uint32_t>(axcfg::kTableRowCount)};
  NoProgress progress;
  Figures down, up, single;
  std::printf("%s, median of %d\n", title, runs);
  if (!Measure(library, link, runs, [&] { return axcfg::DownloadData(link, progress, doc, all); }, down)) return false;
  Print("download (all tables)", down, baud, bitsPerChar);
  if (!Measure(library, link, runs, [&] {
        axcfg::CSettingDataSet set;
        uint16_t model = 0;
        return axcfg::UploadData(link, progress, set, model);
      }, up))
    return false;
  Print("upload", up, baud, bitsPerChar);
  if (tableByTable) {
    if (!Measure(library, link, std::max(1, runs / 3), [&] { return UploadTableByTable(link); }, single)) return false;
    Print("tables, 16-word frames", single, baud, bitsPerChar);
  }
  link.Close();
  return true;
}

// plcsim --serial on a new pseudo-terminal; its pid and device.
pid_t StartSerialSim(std::string& device) {
  int out[2];
  if (pipe(out) != 0) return -1;
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(out[1], 1);
    close(out[0]);
    close(out[1]);
    const std::string program = std::string(KELD_BIN_DIR) + "/plcsim";
    execl(program.c_str(), program.c_str(), "--serial", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(out[1]);
  std::string line;
  char c;
  pollfd p{out[0], POLLIN, 0};
  while (poll(&p, 1, 10000) > 0 && read(out[0], &c, 1) == 1 && c != '\n') line.push_back(c);
  close(out[0]);
  const size_t at = line.find("/dev/");
  if (at != std::string::npos) device = line.substr(at);
  return pid;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 10;
  bool serial = false;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--runs") && i + 1 < argc) runs = std::max(1, std::atoi(argv[++i]));
    else if (!std::strcmp(argv[i], "--serial")) serial = true;
    else return std::fprintf(stderr, "usage: %s [--runs N] [--serial]\n", argv[0]), 2;
  }
  if (!std::getenv("KELD_HOME")) {
    const std::string home = "/tmp/keld-bench-transfer-" + std::to_string(getpid());
    setenv("KELD_HOME", home.c_str(), 1);
  }
  axcfg::RegisterAxisCfgDataStrings();

  std::array<uint8_t, axcfg::kLinkContextSize> sim{};
  tavinter::CConnectionRecord(sim.data()).SetKind(tavinter::kKindSimulation);
  tavinter::CConnectionRecord(sim.data()).SetTimeout(3);
  if (!RunOn("simulation channel", sim, runs, 0, 0, true)) return 1;
  if (!serial) return 0;

  std::string device;
  const pid_t pid = StartSerialSim(device);
  if (pid <= 0 || device.empty()) return std::fprintf(stderr, "plcsim --serial did not start\n"), 1;
  setenv("KELD_COM7", device.c_str(), 1);
  struct Line {
    long baud;
    int16_t parity;
    const char* title;
  } lines[] = {{9600, tavinter::kParityNone, "serial pseudo-terminal, 9600 8N1"},
               {38400, tavinter::kParityEven, "serial pseudo-terminal, 38400 8E1"},
               {115200, tavinter::kParityNone, "serial pseudo-terminal, 115200 8N1"}};
  bool ok = true;
  for (const Line& l : lines) {
    std::array<uint8_t, axcfg::kLinkContextSize> dest{};
    tavinter::CConnectionRecord r(dest.data());
    r.SetKind(tavinter::kKindSerial);
    r.SetPort(7);
    r.SetTimeout(3);
    tavinter::CSerialSettings s;
    s.baudIndex = static_cast<int16_t>(tavinter::BaudIndexOfRate(l.baud));
    s.parity = l.parity;
    tavinter::WriteSerialSettings(r, s);
    const int bits = 1 + 8 + (l.parity != tavinter::kParityNone ? 1 : 0) + 1;
    ok = ok && RunOn(l.title, dest, std::max(1, runs / 3), l.baud, bits, false);
  }
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
  return ok ? 0 : 1;
}
