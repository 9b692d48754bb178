#include "dial_command.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <thread>

#include "modem_book/dial_up_session.h"
#include "modem_book/modem_strings.h"

namespace modembook {

namespace {

constexpr int kExitRefused = 2;
constexpr int kExitLine = 4;

std::atomic<int> g_signal{0};

extern "C" void OnSignal(int signal) { g_signal = signal; }

// Installs the handlers for the run and puts the old ones back after it.
class CSignalScope {
 public:
  CSignalScope() {
    g_signal = 0;
    oldInt_ = std::signal(SIGINT, OnSignal);
    oldTerm_ = std::signal(SIGTERM, OnSignal);
  }
  ~CSignalScope() {
    std::signal(SIGINT, oldInt_);
    std::signal(SIGTERM, oldTerm_);
  }

 private:
  void (*oldInt_)(int);
  void (*oldTerm_)(int);
};

int Failed(const DialOutcome& o) {
  std::fprintf(stderr, "KELD_TavModem: %s (%d)\n", o.message.c_str(), o.code);
  return kExitLine;
}

void Pause() { std::this_thread::sleep_for(std::chrono::milliseconds(200)); }

}  // namespace

int RunDial(CTelConnectDoc& doc, const DialCommand& c, IDialLibrary& library, ISessionClock& clock) {
  if (c.index < 1 || static_cast<size_t>(c.index) > doc.Count()) {
    std::fprintf(stderr, "KELD_TavModem: --dial takes an entry number from 1 to %zu\n", doc.Count());
    return kExitRefused;
  }
  const int port = c.port > 0 ? c.port : doc.CurrentPort();
  if (port < 1 || port > kPortCount) {
    std::fprintf(stderr, "KELD_TavModem: --port takes a COM number from 1 to %d\n", kPortCount);
    return kExitRefused;
  }
  CSignalScope signals;
  CDialUpSession session(library, clock);
  session.onStatus = [](const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
  };
  // SIGINT while dialling is the Cancel button: a watcher hands it to the library.
  std::atomic<bool> dialling{true};
  std::thread watcher([&] {
    while (dialling) {
      if (g_signal == SIGINT) {
        session.CancelDial();
        g_signal = 0;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  });
  const CPhoneBookEntry entry = doc.Entries()[static_cast<size_t>(c.index - 1)];
  std::function<void()> writeBack;
  if (c.writeBack) writeBack = [&] {
    doc.WritePortSettings(port);
    doc.SetPortModified(port, false);
  };
  const DialOutcome connected = session.Connect(entry, port, doc.Port(port), c.english, c.productNumber, writeBack);
  dialling = false;
  watcher.join();
  if (connected.kind == DialOutcome::kRefused) {
    std::fprintf(stderr, "KELD_TavModem: %s\n", connected.message.c_str());
    return kExitRefused;
  }
  if (connected.kind == DialOutcome::kFailed) return Failed(connected);

  // Hold the call: the supervision asks once a second whether it is still in use.
  const int64_t start = clock.NowMs();
  int64_t nextCheck = start;
  for (;;) {
    if (g_signal != 0) break;
    if (c.holdSeconds >= 0 && clock.NowMs() - start >= int64_t{c.holdSeconds} * 1000) break;
    if (clock.NowMs() >= nextCheck) {
      if (session.LineLost()) break;
      nextCheck = clock.NowMs() + 1000;
    }
    Pause();
  }

  session.BeginHangUp();
  bool toldWaiting = false, toldForce = false;
  while (!session.HangUpStep()) {
    if (!toldWaiting) {
      std::printf("%s\n", ModemText(kIdsWaitOthers).c_str());
      std::fflush(stdout);
      toldWaiting = true;
    }
    if (c.force && session.ForceOffered()) {
      if (!toldForce) std::printf("%s\n", ModemText(kIdsAskForce).c_str());
      toldForce = true;
      session.Force();
      continue;
    }
    for (int i = 0; i < 5; ++i) Pause();
  }
  if (session.HangUpOutcome().kind == DialOutcome::kFailed) return Failed(session.HangUpOutcome());
  return 0;
}

}  // namespace modembook
