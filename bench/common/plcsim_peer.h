#pragma once
// plcsim started beside a benchmark program (from the same bin folder), with
// the first line it prints (the pseudo-terminal it made), ended with the
// benchmark.
#include <limits.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

namespace bench {

struct PlcSimPeer {
  pid_t pid = -1;
  std::string firstLine;
  explicit PlcSimPeer(std::vector<std::string> args) {
    char self[PATH_MAX] = {};
    if (readlink("/proc/self/exe", self, sizeof self - 1) <= 0) return;
    std::string program = (std::filesystem::path(self).parent_path() / "plcsim").string();
    int out[2];
    if (pipe(out) != 0) return;
    pid = fork();
    if (pid == 0) {
      dup2(out[1], 1);
      close(out[0]);
      std::vector<char*> argv{program.data()};
      for (auto& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      execv(program.c_str(), argv.data());
      _exit(127);
    }
    close(out[1]);
    pollfd p{out[0], POLLIN, 0};
    char c;
    while (poll(&p, 1, 5000) > 0 && read(out[0], &c, 1) == 1 && c != '\n') firstLine.push_back(c);
    close(out[0]);
  }
  ~PlcSimPeer() {
    if (pid > 0) {
      kill(pid, SIGTERM);
      waitpid(pid, nullptr, 0);
    }
  }
  PlcSimPeer(const PlcSimPeer&) = delete;
  PlcSimPeer& operator=(const PlcSimPeer&) = delete;
};

}  // namespace bench
