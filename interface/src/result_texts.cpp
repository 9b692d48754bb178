#include "result_texts.h"
#include <algorithm>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>

#include "platform/strings.h"

namespace tavinter {

const char* const kModuleName = "KELD_TAVINTER";

namespace {

constexpr int kPlcAnswerBase = -11000;

const platform::StringEntry kEnglish[] = {
    {1, "Communication error [%d]"},
    {10000, "The board driver could not be attached."},
    {10001, "The board could not be initialised."},
    {10002, "The board library or the USB device could not be opened."},
    {10007, "The client is not registered or the client list is full."},
    {10010, "Reading from the port failed."},
    {10011, "The answer is longer than the buffer."},
    {10012, "No answer within the time-out."},
    {10013, "The block check code of the answer is wrong."},
    {10015, "The answer was incomplete at the time-out."},
    {10020, "Writing to the port failed."},
    {10021, "The write did not complete within the time-out."},
    {10030, "The socket layer could not be started."},
    {10031, "The socket could not be created."},
    {10033, "Sending over the network failed."},
    {10035, "Receiving from the network failed."},
    {10036, "The socket layer could not be shut down."},
    {10037, "The socket could not be closed."},
    {10038, "The block check code of the network answer is wrong."},
    {10039, "No network answer within the time-out."},
    {10040, "The Ethernet link could not be set up."},
    {10041, "The socket could not be bound to its address."},
    {10042, "The connection to the PLC could not be made."},
    {10043, "The socket option could not be set."},
    {10044, "The Ethernet link could not be registered."},
    {10047, "The PLC has not connected yet."},
    {10048, "The socket could not be made non-blocking."},
    {10049, "The socket could not listen for connections."},
    {10054, "Dialling was cancelled."},
    {10060, "The modem did not connect."},
    {10062, "The modem did not acknowledge the hang-up."},
    {10063, "A call is already connected."},
    {10064, "The call belongs to another client."},
    {10065, "Modem connection requested on a plain serial channel."},
    {10066, "No modem call is connected."},
    {10067, "The modem did not acknowledge the closing command."},
    {10068, "The modem could not be initialised."},
    {10080, "The network answer was incomplete at the time-out."},
    {10090, "The request record is damaged."},
    {10091, "Network board requests are not supported."},
    {10092, "The serial port could not be opened or set up."},
    {10093, "This channel kind is not supported."},
    {10900, "Modem request on a channel without a modem."},
    {10500, "The connection settings are not usable."},
    {10501, "The connection is not open."},
    {10502, "The connection server could not be started."},
    {10503, "The connection server does not answer."},
    {10504, "The connection server did not reply in time."},
    {10505, "The connection to the server was lost."},
    {10506, "The reply of the connection server is malformed."},
    {10507, "The connection server belongs to another user."},
    {10508, "Station, slot, address or word count out of range."},
    {10509, "The answer of the PLC does not fit the command."},
    {10510, "No client handle is free."},
    {10511, "The shared status area is not available."},
    {10512, "The communication settings could not be saved."},
    {10513, "The PLC simulation is not installed."},
    {10514, "The answer does not fit the buffer."},
    {10515, "Not available in this installation."},
    {10516, "The local request socket failed."},
    {10517, "The modem line was taken over by its owner."},
    {10518, "Another server copy serves this port."},
    {10519, "The runtime folder is not private to this user."},
    {10520, "The port's table of Ethernet links is full."},
    {11000, "The PLC answered with error %02d."},
    {11040, "PLC error 40: block check code error."},
    {11041, "PLC error 41: format error."},
    {11042, "PLC error 42: unknown command."},
    {11060, "PLC error 60: no unit in that slot."},
    {11061, "PLC error 61: address beyond the unit memory."},
};

std::once_flag gRegistered;
std::mutex gJapaneseMutex;
std::shared_ptr<const platform::StringTable> gJapanese;
bool gJapaneseTried = false;
std::atomic<int> gDefaultLanguage{1};

void Register() {
  std::call_once(gRegistered, [] {
    platform::Strings::RegisterBuiltin(kModuleName, kEnglish, sizeof kEnglish / sizeof kEnglish[0]);
  });
}

std::shared_ptr<const platform::StringTable> Japanese() {
  std::lock_guard<std::mutex> guard(gJapaneseMutex);
  if (!gJapaneseTried) {
    gJapaneseTried = true;
    std::string error;
    std::shared_ptr<const platform::StringTable> table;
    if (platform::Strings::Load(kModuleName, "jpn", table, error) == platform::LanguageLoad::Ok) gJapanese = table;
  }
  return gJapanese;
}

std::string Lookup(unsigned id, int language) {
  if (language == 0) {
    auto jp = Japanese();
    if (jp && jp->Has(id)) return jp->Get(id);
  }
  Register();
  auto builtin = platform::Strings::Builtin(kModuleName);
  return builtin ? builtin->Get(id) : std::string();
}

// Fills the number into "%d" or "%02d" of a text. The texts may come from a
// language file, so they are never used as a printf format.
std::string Format(const std::string& pattern, int value) {
  char number[16];
  size_t at = pattern.find("%02d");
  size_t width = 4;
  if (at != std::string::npos) {
    std::snprintf(number, sizeof number, "%02d", value);
  } else {
    at = pattern.find("%d");
    width = 2;
    std::snprintf(number, sizeof number, "%d", value);
  }
  if (at == std::string::npos) return pattern;
  return pattern.substr(0, at) + number + pattern.substr(at + width);
}

}  // namespace

std::string ResultText(int code, int language) {
  Register();
  long magnitude = code < 0 ? -static_cast<long>(code) : code;
  if (magnitude > 0 && magnitude < 0x7FFFFFFF) {
    std::string text = Lookup(static_cast<unsigned>(magnitude), language);
    if (!text.empty()) return text;
  }
  // Error answers of the PLC without a text of their own.
  if (code <= kPlcAnswerBase && code > kPlcAnswerBase - 100)
    return Format(Lookup(11000, language), kPlcAnswerBase - code);
  return Format(Lookup(1, language), code);
}

void SetDefaultLanguage(int language) { gDefaultLanguage = language == 0 ? 0 : 1; }
int DefaultLanguage() { return gDefaultLanguage; }

bool CopyText(const std::string& text, char* buffer, int size) {
  if (!buffer || size <= 0) return false;
  size_t n = std::min(text.size(), static_cast<size_t>(size - 1));
  // Never cut inside a UTF-8 sequence: back up over continuation bytes.
  if (n < text.size())
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  std::memcpy(buffer, text.data(), n);
  buffer[n] = 0;
  return true;
}

}  // namespace tavinter
