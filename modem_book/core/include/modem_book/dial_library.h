#pragma once
// The interface library's calls that connecting and hanging up use, one
// method per export, so the dial-up can be driven by a recording fake in
// tests. The record is the port's 304-byte channel record.
#include <cstdint>
#include <string>

namespace modembook {

class IDialLibrary {
 public:
  virtual ~IDialLibrary() = default;
  virtual int ReadPortRecord(uint8_t* record, int channelId) = 0;    // 205
  virtual void SetLanguage(uint8_t* record, bool english) = 0;       // 153
  virtual void SetProductNumber(uint8_t* record, int number) = 0;    // 204
  virtual int Initialise(uint8_t* record) = 0;                       // 8: open, the modem initialised
  virtual int Dial(uint8_t* record, const std::string& dialText) = 0;  // 128
  virtual void CancelDial(int port, int handle) = 0;                 // from another thread during Dial
  virtual int Close(uint8_t* record) = 0;                            // 14
  virtual std::string ErrorText(int code) = 0;                       // 70
  virtual int LineInUse(const std::string& channelName) = 0;         // 151: 0 when no longer in use
  virtual int OthersReleased(const std::string& channelName) = 0;    // 159: 0 while others hold the modem
  virtual int PollOthersReleased(const std::string& channelName) = 0;  // 160: non-zero once released
  virtual int ForceOthersOff(const std::string& channelName) = 0;    // 179
  virtual int HangUp(const std::string& channelName, uint8_t* record) = 0;  // 129
  virtual int HangUpDone(const std::string& channelName) = 0;        // 161
};

// The library itself.
IDialLibrary& TavDialLibrary();

// Time for the waits of the hang-up: real in the program, scripted in tests.
class ISessionClock {
 public:
  virtual ~ISessionClock() = default;
  virtual int64_t NowMs() = 0;
};

ISessionClock& SteadySessionClock();

}  // namespace modembook
