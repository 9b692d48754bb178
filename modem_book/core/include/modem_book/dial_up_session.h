#pragma once
// Connecting a phone book entry through the modem of a COM port and hanging
// up again, without widgets: the channel record is filled for the entry and
// the port, the library initialises the modem and dials, and the hang-up
// waits until other programs have let the line go (or the user forces them
// off after five minutes). Every step is kept in a status list of at most
// 100 lines.
#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>

#include "modem_book/dial_library.h"
#include "modem_book/phone_book_entry.h"
#include "modem_book/port_modem_settings.h"

namespace modembook {

constexpr size_t kStatusLines = 100;
constexpr int64_t kForceOfferMs = 300000;  // waiting for others before the forced hang-up is offered

struct DialOutcome {
  enum Kind { kDone, kRefused, kFailed } kind = kDone;
  int code = 0;             // the library's code of a failure
  std::string message;      // what to show: the refusal or the library's text
};

class CDialUpSession {
 public:
  CDialUpSession(IDialLibrary& library, ISessionClock& clock) : library_(library), clock_(clock) {}

  // Each status line as it is added (the command line prints them).
  std::function<void(const std::string&)> onStatus;
  const std::deque<std::string>& StatusLines() const { return status_; }
  void AddStatus(const std::string& line);
  void ClearStatus() { status_.clear(); }

  // Refuses an entry or a port setting that cannot be dialled as it stands;
  // an empty text when both are usable.
  static std::string Refusal(const CPhoneBookEntry& entry, const CPortModemSettings& settings);
  // The dial text: the port's prefix followed directly by the phone number.
  static std::string DialText(const CPhoneBookEntry& entry, const CPortModemSettings& settings);

  // Connects: record filled, writeBack() (the port's settings to the
  // library, skipped by a read-only copy: pass null), modem initialised,
  // dialled. Blocks while the modem dials; CancelDial() from another thread.
  DialOutcome Connect(const CPhoneBookEntry& entry, int port, const CPortModemSettings& settings, bool english,
                      int productNumber, const std::function<void()>& writeBack);
  // Asks the library to stop the dial in progress.
  void CancelDial();

  bool Connected() const { return connected_; }
  const std::string& ChannelName() const { return channelName_; }
  const std::string& SecondCommand() const { return secondCommand_; }
  // Supervision: true when the connection is no longer in use.
  bool LineLost();

  // The hang-up: BeginHangUp, then HangUpStep once a second until it returns
  // true; Force after the user agreed, once ForceOffered.
  void BeginHangUp();
  bool WaitingForOthers() const { return hangingUp_ && !ready_; }
  bool ForceOffered() const { return WaitingForOthers() && clock_.NowMs() - waitStart_ >= kForceOfferMs; }
  void Force();
  // While waiting: asks whether the others have let go; true once ready to hang up.
  bool PollOthersReleased();
  // Waits as above, then hangs up (blocking while the modem hangs up); true when done.
  bool HangUpStep();
  const DialOutcome& HangUpOutcome() const { return hangUpOutcome_; }

 private:
  DialOutcome Fail(int code);
  void FinishHangUp(int result);

  IDialLibrary& library_;
  ISessionClock& clock_;
  std::deque<std::string> status_;
  std::array<uint8_t, 304> record_{};
  std::string channelName_;
  std::string secondCommand_;
  int port_ = 0;
  std::atomic<int> handle_{0};
  // Set by a hang-up that may run on a worker thread.
  std::atomic<bool> connected_{false};
  std::atomic<bool> hangingUp_{false};
  std::atomic<bool> ready_{false};
  int64_t waitStart_ = 0;
  DialOutcome hangUpOutcome_;
};

}  // namespace modembook
