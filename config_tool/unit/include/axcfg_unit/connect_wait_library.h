#pragma once
// The communication library as AxisCfg uses it: the calls that may wait in
// the server on an Ethernet connect (open, unit reads and writes, the
// programming-tool check) of a destination the server connects to run under
// the connecting window, which shows after DISPTIME and cancels the connect.
// Calls of other destinations, and calls from worker threads, go straight through.
#include <functional>

#include "axcfg_unit/link_library.h"

namespace axcfg {

class CConnectWatchingLibrary : public ILinkLibrary {
 public:
  explicit CConnectWatchingLibrary(ILinkLibrary& real) : real_(real) {}

  int SetProductNo(uint8_t* c, int n) override { return real_.SetProductNo(c, n); }
  int ReadSection(uint8_t* c, const std::string& section) override { return real_.ReadSection(c, section); }
  int SetLanguage(uint8_t* c, int english) override { return real_.SetLanguage(c, english); }
  int SetApplicationName(uint8_t* c, const std::string& n) override { return real_.SetApplicationName(c, n); }
  int Open(void* owner, uint8_t* c) override {
    return Watched(c, owner, [&] { return real_.Open(owner, c); });
  }
  int Close(uint8_t* c) override { return real_.Close(c); }
  std::string ErrorText(const uint8_t* c, int code) override { return real_.ErrorText(c, code); }
  int ReadWords(uint8_t* c, int st, int slot, long a, long n, uint16_t* w) override {
    return Watched(c, nullptr, [&] { return real_.ReadWords(c, st, slot, a, n, w); });
  }
  int WriteWords(uint8_t* c, int st, int slot, long a, long n, const uint16_t* w) override {
    return Watched(c, nullptr, [&] { return real_.WriteWords(c, st, slot, a, n, w); });
  }
  std::string DestinationText(const uint8_t* c, uint16_t n, const std::string& name) override {
    return real_.DestinationText(c, n, name);
  }
  int CheckProgrammingTool(uint8_t* c, uint16_t n, const std::string& name, const std::string& app) override {
    return Watched(c, nullptr, [&] { return real_.CheckProgrammingTool(c, n, name, app); });
  }

 private:
  // Runs call under the connecting window when the context's link may wait on a connect.
  int Watched(const uint8_t* c, void* parent, const std::function<int()>& call);

  ILinkLibrary& real_;
};

}  // namespace axcfg
