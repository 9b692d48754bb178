// tavrequest: sends requests to a COM port's connection server through the
// interface library, as a program would, and prints what each one returned.
// Used to drive a modem line by hand or from scripts (dial, PLC commands
// through the call, modem results, hang-up).
#include <pthread.h>
#include <signal.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "request_line.h"
#include "tavinter/connection_record.h"
#include "tavinter/dial_cancel.h"
#include "tavinter/request_record.h"
#include "tavinter/tavinter.h"

using namespace tavrequest;

namespace {

constexpr size_t kCallerIdByte = 52;
constexpr int kAnswerCapacity = 1 << 16;
constexpr int kExitFailed = 4, kExitUsage = 2;

std::atomic<bool> g_stop{false};
std::atomic<bool> g_dialling{false};
std::atomic<int> g_port{0}, g_handle{0};

// Waits for SIGINT and SIGTERM (blocked in every other thread): SIGINT during
// a dial cancels the dial; otherwise either ends the hold and the requests
// not yet sent.
void SignalThread(sigset_t set) {
  for (;;) {
    int sig = 0;
    if (sigwait(&set, &sig) != 0) return;
    if (sig == SIGINT && g_dialling) {
      std::fprintf(stderr, "tavrequest: cancelling the dial\n");
      TavCancelDial(g_port, g_handle);
    } else {
      g_stop = true;
    }
  }
}

std::string ErrorText(const unsigned char* record, int code) {
  char text[512] = {};
  TavGetErrorTextOfRecord(record, code, text, sizeof text);
  return text;
}

int Send(unsigned char* record, const RequestWord& item) {
  tavinter::CRequestRecord request;
  request.SetCommandText(item.text);
  request.SetMode(static_cast<int16_t>(item.mode));
  request.SetFlags(static_cast<uint16_t>(item.flags));
  if (item.callerId) request.Bytes()[kCallerIdByte] = 1;
  std::vector<unsigned char> answer(kAnswerCapacity);
  int length = 0;
  g_dialling = item.code == tavinter::kRequestDial;
  if (g_dialling) std::fprintf(stderr, "tavrequest: dialling %s (Ctrl+C cancels)\n", EscapeBytes(
      reinterpret_cast<const uint8_t*>(item.text.data()), item.text.size()).c_str());
  const int rc = TavRequest(record, item.code, request.Bytes().data(), answer.data(), kAnswerCapacity, &length);
  g_dialling = false;
  size_t shown = static_cast<size_t>(length);
  while (shown > 0 && answer[shown - 1] == 0) --shown;
  std::printf("%d %d \"%s\"\n", item.code, rc, EscapeBytes(answer.data(), shown).c_str());
  std::fflush(stdout);
  if (rc != 0) std::fprintf(stderr, "tavrequest: request %d: %s (%d)\n", item.code, ErrorText(record, rc).c_str(), rc);
  return rc;
}

}  // namespace

int main(int argc, char** argv) {
  RequestLine line;
  std::string error;
  if (!ParseRequestLine(std::vector<std::string>(argv + 1, argv + argc), line, error)) {
    std::fprintf(stderr, "tavrequest: %s\n%s", error.c_str(), kUsage);
    return kExitUsage;
  }
  if (line.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  std::array<unsigned char, TAV_CONNECTION_RECORD_SIZE> record{};
  if (!FillConnectionRecord(line, record.data(), error)) {
    std::fprintf(stderr, "tavrequest: %s\n", error.c_str());
    return kExitUsage;
  }

  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  std::thread(SignalThread, set).detach();

  int rc = TavOpen(nullptr, record.data());
  if (rc != 0) {
    std::fprintf(stderr, "tavrequest: open of COM%d: %s (%d)\n", line.com, ErrorText(record.data(), rc).c_str(), rc);
    return kExitFailed;
  }
  g_port = line.com;
  g_handle = tavinter::CConnectionRecord(record.data()).ClientHandle();
  bool failed = false;
  for (const RequestWord& item : line.requests) {
    if (g_stop) {
      std::fprintf(stderr, "tavrequest: interrupted before request %d\n", item.code);
      failed = true;
      break;
    }
    if (Send(record.data(), item) != 0) failed = true;
  }
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(line.holdSeconds);
  while (!g_stop && std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  TavClose(record.data());
  return failed ? kExitFailed : 0;
}
