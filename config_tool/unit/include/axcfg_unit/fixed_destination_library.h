#pragma once
// The installation's communication library with a destination given by the
// caller (a connection record prepared elsewhere) instead of the one stored
// for the application: for the command line and for tests.
#include <array>
#include <functional>

#include "axcfg_unit/link_library.h"

namespace axcfg {

class CFixedDestinationLibrary : public ILinkLibrary {
 public:
  explicit CFixedDestinationLibrary(const std::array<uint8_t, kLinkContextSize>& destination,
                                    ILinkLibrary& real = TavLinkLibrary())
      : destination_(destination), real_(real) {}

  int SetProductNo(uint8_t* c, int n) override { return real_.SetProductNo(c, n); }
  int ReadSection(uint8_t* c, const std::string& section) override;
  int SetLanguage(uint8_t* c, int english) override { return real_.SetLanguage(c, english); }
  int SetApplicationName(uint8_t* c, const std::string& n) override { return real_.SetApplicationName(c, n); }
  // After a successful open, afterOpen (when set) runs on the open context;
  // its non-zero result closes the connection again and is the open's result.
  int Open(void* owner, uint8_t* c) override;
  void SetAfterOpen(std::function<int(uint8_t*)> afterOpen) { afterOpen_ = std::move(afterOpen); }
  int Close(uint8_t* c) override { return real_.Close(c); }
  std::string ErrorText(const uint8_t* c, int code) override { return real_.ErrorText(c, code); }
  int ReadWords(uint8_t* c, int st, int slot, long a, long n, uint16_t* w) override {
    return real_.ReadWords(c, st, slot, a, n, w);
  }
  int WriteWords(uint8_t* c, int st, int slot, long a, long n, const uint16_t* w) override {
    return real_.WriteWords(c, st, slot, a, n, w);
  }
  std::string DestinationText(const uint8_t* c, uint16_t n, const std::string& name) override {
    return real_.DestinationText(c, n, name);
  }
  int CheckProgrammingTool(uint8_t* c, uint16_t n, const std::string& name, const std::string& app) override {
    return real_.CheckProgrammingTool(c, n, name, app);
  }

 private:
  std::array<uint8_t, kLinkContextSize> destination_;
  ILinkLibrary& real_;
  std::function<int(uint8_t*)> afterOpen_;
};

}  // namespace axcfg
