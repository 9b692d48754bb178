#include <chrono>
#include <vector>

#include "modem_book/dial_library.h"
#include "tavinter/dial_cancel.h"
#include "tavinter/tavinter.h"

namespace modembook {

namespace {

class CTavDialLibrary : public IDialLibrary {
 public:
  int ReadPortRecord(uint8_t* record, int channelId) override { return TavReadPortRecord(record, channelId); }
  void SetLanguage(uint8_t* record, bool english) override { TavSetLanguage(record, english ? 1 : 0); }
  void SetProductNumber(uint8_t* record, int number) override { TavSetProductNo(record, number); }
  int Initialise(uint8_t* record) override { return TavOpen(nullptr, record); }
  int Dial(uint8_t* record, const std::string& dialText) override { return TavDial(record, dialText.c_str()); }
  void CancelDial(int port, int handle) override { TavCancelDial(port, handle); }
  int Close(uint8_t* record) override { return TavClose(record); }
  std::string ErrorText(int code) override {
    std::vector<char> text(512, '\0');
    if (TavGetErrorText(code, text.data(), static_cast<int>(text.size())) != 0) return std::to_string(code);
    return text.data();
  }
  int LineInUse(const std::string& name) override { return TavLineInUse(1, name.c_str()); }
  int OthersReleased(const std::string& name) override { return TavOthersReleased(name.c_str(), name.c_str()); }
  int PollOthersReleased(const std::string& name) override {
    return TavPollOthersReleased(name.c_str(), name.c_str());
  }
  int ForceOthersOff(const std::string& name) override { return TavForceOthersOff(name.c_str()); }
  int HangUp(const std::string& name, uint8_t* record) override { return TavHangUp(nullptr, name.c_str(), record); }
  int HangUpDone(const std::string& name) override { return TavHangUpDone(name.c_str()); }
};

class CSteadyClock : public ISessionClock {
 public:
  int64_t NowMs() override {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
  }
};

}  // namespace

IDialLibrary& TavDialLibrary() {
  static CTavDialLibrary library;
  return library;
}

ISessionClock& SteadySessionClock() {
  static CSteadyClock clock;
  return clock;
}

}  // namespace modembook
