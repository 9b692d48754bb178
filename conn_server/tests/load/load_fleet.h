#pragma once
// Starts many tav_load_client processes that share one output pipe and one
// start pipe, waits until each has opened its connection, releases them all
// at once and gathers what each reports. Every wait is for a condition with
// a generous limit, never a fixed pause, so a loaded machine only slows it.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace keldload {

struct FleetReport {
  int opened = 0;        // clients whose open succeeded
  int openFailed = 0;    // clients whose open failed
  int done = 0;          // clients that reported their end
  long cycles = 0;
  long failures = 0;
  long wrong = 0;
  int badExits = 0;      // clients that ended with another code than 0, or not at all
  std::map<int, int> firstCodes;  // first failure code of each client, counted
};

class CLoadFleet {
 public:
  struct Options {
    std::string program;    // path of tav_load_client
    int clients = 1;
    int words = 10;
    int cycles = 20;
    int seconds = 0;        // > 0: run for this long instead of a cycle count
    std::string latencyDir; // when set, each client writes its request times there
    // Client i's further arguments (e.g. an Ethernet destination); none when empty.
    std::function<std::vector<std::string>(int)> extraArgs;
  };

  explicit CLoadFleet(const Options& o) : o_(o) {
    int out[2], start[2];
    if (::pipe(out) != 0 || ::pipe(start) != 0) return;
    ::fcntl(out[0], F_SETFD, FD_CLOEXEC);
    ::fcntl(out[1], F_SETFD, FD_CLOEXEC);
    ::fcntl(start[0], F_SETFD, FD_CLOEXEC);
    ::fcntl(start[1], F_SETFD, FD_CLOEXEC);
    out_ = out[0];
    outWrite_ = out[1];
    start_ = start[1];
    startRead_ = start[0];
    Spawn(o.clients);
  }

  // Starts count further clients (numbered on from the last one).
  void Spawn(int count) {
    if (out_ < 0) return;
    for (int n = 0; n < count; ++n) {
      const int i = next_++;
      const pid_t pid = ::fork();
      if (pid == 0) {
        ::dup2(startRead_, 0);
        ::dup2(outWrite_, 1);
        std::vector<std::string> args{o_.program, std::to_string(i), std::to_string(o_.words),
                                      std::to_string(o_.cycles), std::to_string(o_.seconds), "--wait-stdin"};
        if (o_.extraArgs)
          for (auto& a : o_.extraArgs(i)) args.push_back(a);
        if (!o_.latencyDir.empty()) {
          args.push_back("--latency");
          args.push_back(o_.latencyDir + "/" + std::to_string(i) + ".lat");
        }
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
      }
      if (pid > 0) pids_.push_back(pid);
    }
  }

  ~CLoadFleet() {
    Release();
    CloseChildEnds();
    for (pid_t p : pids_) {
      ::kill(p, SIGKILL);
      ::waitpid(p, nullptr, 0);
    }
    if (out_ >= 0) ::close(out_);
  }
  CLoadFleet(const CLoadFleet&) = delete;
  CLoadFleet& operator=(const CLoadFleet&) = delete;

  int Started() const { return static_cast<int>(pids_.size()); }

  // Ends every client at once, as a crash would.
  void KillAll() {
    for (pid_t p : pids_) {
      ::kill(p, SIGKILL);
      ::waitpid(p, nullptr, 0);
    }
    pids_.clear();
  }

  // Waits until every client started so far has reported its open; false on the limit.
  bool WaitOpened(int limitMs) {
    return ReadUntil(limitMs, [&] { return report_.opened + report_.openFailed + report_.done >= Started(); });
  }
  // Lets every waiting client start its cycles; no client can be added after.
  void Release() {
    if (start_ >= 0) ::close(start_);
    start_ = -1;
    CloseChildEnds();
  }
  // Waits until every client has reported its end and exited.
  FleetReport Finish(int limitMs) {
    Release();
    CloseChildEnds();
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    ReadUntil(limitMs, [&] { return eof_; });
    for (pid_t& p : pids_) {
      int status = 0;
      pid_t got = 0;
      while ((got = ::waitpid(p, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < until)
        ::poll(nullptr, 0, 20);
      if (got != p || !WIFEXITED(status) || WEXITSTATUS(status) != 0) ++report_.badExits;
      if (got == p) p = -1;
    }
    std::erase(pids_, -1);
    return report_;
  }
  const FleetReport& Report() const { return report_; }

 private:
  // The pipe ends the children use; the parent drops them once no child is
  // to come, so the output pipe ends when the last child does.
  void CloseChildEnds() {
    if (outWrite_ >= 0) ::close(outWrite_);
    if (startRead_ >= 0) ::close(startRead_);
    outWrite_ = startRead_ = -1;
  }

  template <typename Done>
  bool ReadUntil(int limitMs, Done done) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (!done()) {
      if (eof_) return done();
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now()).count();
      if (left <= 0) return false;
      pollfd p{out_, POLLIN, 0};
      if (::poll(&p, 1, static_cast<int>(left)) <= 0) continue;
      char buf[4096];
      const ssize_t n = ::read(out_, buf, sizeof buf);
      if (n <= 0) {
        eof_ = true;
        continue;
      }
      pending_.append(buf, static_cast<size_t>(n));
      size_t nl;
      while ((nl = pending_.find('\n')) != std::string::npos) {
        Parse(pending_.substr(0, nl));
        pending_.erase(0, nl + 1);
      }
    }
    return true;
  }

  void Parse(const std::string& line) {
    std::istringstream in(line);
    int index = 0;
    std::string what;
    in >> index >> what;
    if (what == "opened") {
      int rc = 0;
      in >> rc;
      (rc == 0 ? report_.opened : report_.openFailed)++;
      if (rc != 0) report_.firstCodes[rc]++;
    } else if (what == "done") {
      std::string field;
      ++report_.done;
      while (in >> field) {
        const auto eq = field.find('=');
        if (eq == std::string::npos) continue;
        const long v = std::strtol(field.c_str() + eq + 1, nullptr, 10);
        const std::string key = field.substr(0, eq);
        if (key == "cycles") report_.cycles += v;
        else if (key == "failures") report_.failures += v;
        else if (key == "wrong") report_.wrong += v;
        else if (key == "first" && v != 0) report_.firstCodes[static_cast<int>(v)]++;
      }
    }
  }

  Options o_;
  std::vector<pid_t> pids_;
  int out_ = -1;
  int outWrite_ = -1;
  int start_ = -1;
  int startRead_ = -1;
  int next_ = 0;
  bool eof_ = false;
  std::string pending_;
  FleetReport report_;
};

}  // namespace keldload
