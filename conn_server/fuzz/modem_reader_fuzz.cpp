// Arbitrary bytes from the line as a modem's answers, in arbitrary chunks and
// delays, in numeric and verbose mode: every step of the dialogue ends with
// one of its defined results, and every result line maps to a code text of
// bounded size.
#include <cstdint>
#include <string>

#include "../tests/scripted_modem.h"
#include "connsrv/carrier_watch.h"
#include "connsrv/command_exchange.h"
#include "connsrv/modem_dialogue.h"
#include "connsrv/result_codes.h"

namespace {

bool CodeTextIsDefined(const connsrv::ModemClientResult& r) {
  if (!r.anything) return r.codeText.empty();
  if (r.codeText.empty() || r.codeText.size() > 256) return false;
  if (r.callerNumber.size() > 15 || r.callerNumber.find_first_of("\r\n") != std::string::npos) return false;
  return r.codeText.find_first_of("\r\n") == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  using namespace connsrv;
  connsrv_test::FakeClock clock;
  connsrv_test::ScriptedModem modem(clock);
  connsrv_test::RecordingLog log;
  const uint8_t mode = data[0];
  modem.echo = (mode & 1) != 0;
  connsrv_test::Reply reply;
  const size_t chunk = 1 + data[1] % 40;
  for (size_t pos = 2; pos < size; pos += chunk) {
    const size_t n = std::min(chunk, size - pos);
    reply.push_back({static_cast<int>(data[pos] % 16) * 200, std::string(reinterpret_cast<const char*>(data + pos), n)});
  }
  // Every command line gets the same answer stream.
  modem.onLine = [&](const std::string&) { return reply; };

  CModemDialogue dialogue(modem, clock, &log, nullptr);
  dialogue.SetInitCommand((mode & 2) ? "ATE1V0S0=0" : (mode & 4) ? "ATE0V1S2=43" : "");
  dialogue.SetAnswerTimeoutMs(1000 + (mode >> 4) * 500);

  const int init = dialogue.Initialise();
  if (init != kOk && init != kErrModemInit) __builtin_trap();
  int polls = 0;
  const int dial = dialogue.Dial("ATDT0123", 1 + (mode >> 5), [&] { return (mode & 8) && ++polls > 4; });
  if (dial != kOk && dial != kErrDialFailed && dial != kErrDialCancelled) __builtin_trap();
  const int hang = dialogue.HangUp((mode & 8) ? "ATZ" : "");
  if (hang != kOk && hang != kErrHangUpEscape && hang != kErrHangUpClosing) __builtin_trap();

  modem.Push(0, std::string(reinterpret_cast<const char*>(data + 2), size - 2));
  for (int i = 0; i < 4; ++i) {
    const ModemClientResult r = dialogue.ReadClientResult(500, (mode & 16) != 0, (mode & 32) != 0);
    if (!CodeTextIsDefined(r)) __builtin_trap();
  }
  // The same bytes as the line during a call: the watched link under a PLC
  // exchange ends every request with a defined result, and a lost carrier
  // stops reads and writes for good.
  modem.Push(0, std::string(reinterpret_cast<const char*>(data + 2), size - 2));
  CCarrierWatchLink line(modem, &log);
  line.Watch().Start((mode & 2) != 0);
  CServerSettings settings;
  CCommandExchange exchange(line, clock, &log, settings);
  exchange.BeginRequest();
  std::string delivered;
  const int rc = exchange.Run("%01#RDD0000000001", ExchangeOptions{}, delivered);
  if (rc > 0 || (rc != kOk && rc != kErrRead && rc != kErrNoAnswer && rc != kErrIncomplete &&
                 rc != kErrBlockCheck && rc != kErrTooLong && rc != kErrWrite))
    __builtin_trap();
  if (line.Look()) {
    char byte;
    if (line.Read(&byte, 1, 0) != -1 || line.Write("x", 1)) __builtin_trap();
  }
  // Judging single lines directly: a code text for each, never longer than the line.
  const std::string whole(reinterpret_cast<const char*>(data), size);
  if (ModemCodeText(whole).size() > std::max<size_t>(whole.size(), 2)) __builtin_trap();
  return 0;
}
