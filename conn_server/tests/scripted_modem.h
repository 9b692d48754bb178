#pragma once
// A modem on a fake clock for dialogue tests: it collects what is written
// into command lines, echoes them when echo is on, notices a run of three
// escape characters, and answers each through a script. Writes are kept with
// their times so tests can check the waits between them.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "fake_link.h"

namespace connsrv_test {

class ScriptedModem : public connsrv::IByteLink {
 public:
  explicit ScriptedModem(FakeClock& clock) : clock_(clock) {}

  // Called with each complete command line (without CR), or "ESC" after the
  // third escape character; returns the answer's chunks.
  std::function<Reply(const std::string& line)> onLine = [](const std::string&) { return Reply{}; };
  bool echo = false;
  char escape = '+';

  struct Sent {
    int64_t at;
    std::string bytes;
  };
  std::vector<Sent> sent;
  std::vector<std::string> lines;  // command lines as the modem saw them

  // Bytes the modem sends on its own, afterMs from now.
  void Push(int afterMs, const std::string& bytes) { pending_.push_back({clock_.now + afterMs, bytes}); }

  void Purge() override {
    while (!pending_.empty() && pending_.front().due <= clock_.now) pending_.pop_front();
  }
  bool Write(const char* bytes, size_t length) override {
    if (failWrites) return false;
    sent.push_back({clock_.now, std::string(bytes, length)});
    for (size_t i = 0; i < length; ++i) Take(bytes[i]);
    return true;
  }
  int Read(char* buffer, size_t capacity, int waitMs) override {
    return ReadTimed(clock_, pending_, buffer, capacity, waitMs);
  }
  bool failWrites = false;

 private:
  void Answer(const std::string& line) {
    lines.push_back(line);
    int64_t t = clock_.now;
    for (const auto& c : onLine(line)) {
      t += c.afterMs;
      pending_.push_back({t, c.bytes});
    }
  }
  void Take(char c) {
    if (c == escape && (input_.empty() || input_.find_first_not_of(escape) == std::string::npos)) {
      input_.push_back(c);
      if (input_.size() == 3) {
        input_.clear();
        Answer("ESC");
      }
      return;
    }
    if (c == '\r') {
      if (echo) pending_.push_back({clock_.now, input_ + "\r"});
      Answer(input_);
      input_.clear();
      return;
    }
    input_.push_back(c);
  }

  FakeClock& clock_;
  std::deque<TimedBytes> pending_;
  std::string input_;
};

}  // namespace connsrv_test
