#pragma once
// A recording interface library and a scripted clock for the dial-up's
// tests: each call is noted, results come from a table, the others' release
// of the line comes after a number of polls.
#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "modem_book/dial_library.h"
#include "tavinter/connection_record.h"

namespace modembook {

struct FakeDialLibrary : IDialLibrary {
  std::vector<std::string> calls;
  std::map<std::string, int> results;  // call name -> result
  int pollsUntilReleased = 0;
  std::array<uint8_t, 304> initialised{};
  std::string secondCommand = "ATZ";
  // Run inside the dial and the hang-up (tests hold them there).
  std::function<void()> whileDialling, whileHangingUp;

  int R(const std::string& n) { return results.count(n) ? results[n] : 0; }
  int ReadPortRecord(uint8_t* record, int id) override {
    calls.push_back("read " + std::to_string(id));
    tavinter::CConnectionRecord(record).SetSecondCommand(secondCommand);
    return R("read");
  }
  void SetLanguage(uint8_t*, bool english) override { calls.push_back(english ? "language en" : "language ja"); }
  void SetProductNumber(uint8_t*, int n) override { calls.push_back("product " + std::to_string(n)); }
  int Initialise(uint8_t* record) override {
    calls.push_back("initialise");
    std::copy(record, record + 304, initialised.begin());
    tavinter::CConnectionRecord(record).SetClientHandle(7);
    return R("initialise");
  }
  int Dial(uint8_t*, const std::string& text) override {
    calls.push_back("dial " + text);
    if (whileDialling) whileDialling();
    return R("dial");
  }
  void CancelDial(int port, int handle) override {
    calls.push_back("cancel " + std::to_string(port) + " " + std::to_string(handle));
  }
  int Close(uint8_t*) override {
    calls.push_back("close");
    return 0;
  }
  std::string ErrorText(int code) override { return "text " + std::to_string(code); }
  int LineInUse(const std::string&) override { return R("line") == 0 ? 1 : 0; }
  int OthersReleased(const std::string&) override {
    calls.push_back("others?");
    return pollsUntilReleased == 0 ? 1 : 0;
  }
  int PollOthersReleased(const std::string&) override { return --pollsUntilReleased <= 0 ? 1 : 0; }
  int ForceOthersOff(const std::string&) override {
    calls.push_back("force");
    return 0;
  }
  int HangUp(const std::string& name, uint8_t*) override {
    calls.push_back("hangup " + name);
    if (whileHangingUp) whileHangingUp();
    return R("hangup");
  }
  int HangUpDone(const std::string&) override {
    calls.push_back("done");
    return 0;
  }
};

struct FakeSessionClock : ISessionClock {
  int64_t now = 0;
  int64_t NowMs() override { return now; }
};

}  // namespace modembook
