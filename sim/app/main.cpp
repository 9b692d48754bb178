// plcsim: a simulated PLC with one positioning unit behind a serial line, a
// pseudo-terminal, a TCP port or a modem emulator.
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "peer_io.h"
#include "platform/folders.h"
#include "sim/plcsim_options.h"

namespace {
void OnStop(int) { plcsim::g_stop = true; }
void OnHangup(int) { plcsim::g_powerCycle = true; }
void OnDropCarrier(int) { plcsim::g_dropCarrier = true; }

void InstallSignals() {
  struct sigaction sa {};
  sa.sa_handler = OnStop;
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);
  sa.sa_handler = OnHangup;
  sigaction(SIGHUP, &sa, nullptr);
  sa.sa_handler = OnDropCarrier;
  sigaction(SIGUSR1, &sa, nullptr);
  signal(SIGPIPE, SIG_IGN);
}

int Run(const sim::PlcSimOptions& o) {
  sim::CSteadyClock clock;
  sim::CSimPlc plc(o.plc, clock);
  const std::string folder = o.dataDir.empty() ? platform::DataDir() + "/plcsim" : o.dataDir;
  std::string message;
  if (plc.Load(folder, message) == sim::StoreLoad::Damaged)
    std::fprintf(stderr, "plcsim: %s; starting with factory settings\n", message.c_str());
  if (o.powerCycle) plc.Unit().PowerCycle();
  if (o.logFrames) plc.SetFrameLog(plcsim::LogFrame);
  plcsim::LogHeaders(o.logFrames && o.header);
  InstallSignals();

  using Mode = sim::PlcSimOptions::Mode;
  std::string error;
  bool ok = true;
  if (o.mode == Mode::Tcp) {
    ok = plcsim::ServeTcp(plc, o.tcpPort, o.header, error);
  } else if (o.mode == Mode::Connect) {
    ok = plcsim::ServeOutgoing(plc, o.host, o.connectPort, o.header, error);
  } else {
    int slave = -1;
    std::string path = o.device;
    const int fd = o.device.empty() ? plcsim::OpenPseudoTerminal(path, slave, error)
                                    : plcsim::OpenSerialDevice(o.device, error);
    ok = fd >= 0;
    if (ok && !o.linkPath.empty()) {
      std::error_code ec;
      std::filesystem::remove(o.linkPath, ec);
      std::filesystem::create_symlink(path, o.linkPath, ec);
      if (ec) std::fprintf(stderr, "plcsim: cannot link %s: %s\n", o.linkPath.c_str(), ec.message().c_str());
    }
    if (ok) {
      std::printf("plcsim: %s %s\n", o.mode == Mode::Modem ? "modem on" : "serial port", path.c_str());
      std::fflush(stdout);
      if (o.mode == Mode::Modem) {
        plcsim::ServeModem(plc, fd, o.modem, o.logFrames);
      } else {
        // A device whose peer goes away is served again once it comes back.
        while (!plcsim::g_stop && !plcsim::ServeStream(plc, fd)) usleep(200000);
      }
      close(fd);
      if (slave >= 0) close(slave);
      if (!o.linkPath.empty()) {
        std::error_code ec;
        std::filesystem::remove(o.linkPath, ec);
      }
    }
  }
  if (!ok) std::fprintf(stderr, "plcsim: %s\n", error.c_str());
  if (!plc.Save(folder, error)) {
    std::fprintf(stderr, "plcsim: %s\n", error.c_str());
    return 1;
  }
  return ok ? 0 : 1;
}
}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  sim::PlcSimOptions options;
  std::string error;
  if (!sim::ParsePlcSimOptions(args, options, error)) {
    std::fprintf(stderr, "plcsim: %s\n", error.c_str());
    return 2;
  }
  if (options.help) {
    std::fputs(sim::PlcSimHelp().c_str(), stdout);
    return 0;
  }
  return Run(options);
}
