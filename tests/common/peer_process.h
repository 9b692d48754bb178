#pragma once
// Starts a program of the build (plcsim, KELD_TAVMGR) as a peer of a test,
// reads the first line it prints, and ends it when the test is done.
#include <csignal>
#include <fcntl.h>
#include <cstdlib>
#include <cstdio>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "test_home.h"

namespace keldtest {

class PeerProcess {
 public:
  // With stderrFile, what the peer writes on standard error goes to that file.
  explicit PeerProcess(const std::string& program, const std::vector<std::string>& args,
                       const std::string& stderrFile = "") {
    int out[2];
    if (pipe(out) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(out[1], 1);
      if (!stderrFile.empty()) {
        const int err = open(stderrFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (err >= 0) dup2(err, 2);
      }
      close(out[0]);
      close(out[1]);
      std::vector<std::string> all{keldtest::BinPath(program)};
      all.insert(all.end(), args.begin(), args.end());
      std::vector<char*> argv;
      for (auto& a : all) argv.push_back(a.data());
      argv.push_back(nullptr);
      execv(argv[0], argv.data());
      _exit(127);
    }
    close(out[1]);
    out_ = out[0];
  }
  ~PeerProcess() { Stop(); }
  PeerProcess(const PeerProcess&) = delete;
  PeerProcess& operator=(const PeerProcess&) = delete;

  // The next line the peer prints, waiting at most timeoutMs.
  std::string ReadLine(int timeoutMs = 5000) {
    std::string line;
    char c;
    while (true) {
      pollfd p{out_, POLLIN, 0};
      if (poll(&p, 1, timeoutMs) <= 0 || read(out_, &c, 1) != 1) break;
      if (c == '\n') break;
      line.push_back(c);
    }
    return line;
  }
  // Waits for the peer to end by itself; its exit code, or -1 on time-out.
  int Wait(int timeoutMs) {
    for (int waited = 0; waited <= timeoutMs; waited += 20) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      usleep(20000);
    }
    return -1;
  }
  void Stop() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      if (Wait(3000) < 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
      }
      pid_ = -1;
    }
    if (out_ >= 0) close(out_);
    out_ = -1;
  }
  pid_t Pid() const { return pid_; }

 private:
  pid_t pid_ = -1;
  int out_ = -1;
};

// Reads the device a serial peer (plcsim --serial, --modem) announces on its
// first line and puts it behind COM port `com` (KELD_COM<com>). Returns the
// device, or an empty string when the peer named none.
inline std::string RouteAnnouncedDeviceToCom(PeerProcess& peer, int com) {
  const std::string line = peer.ReadLine();
  const size_t at = line.find("/dev/");
  if (at == std::string::npos) return {};
  const std::string device = line.substr(at);
  setenv(("KELD_COM" + std::to_string(com)).c_str(), device.c_str(), 1);
  return device;
}

}  // namespace keldtest
