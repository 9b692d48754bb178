// The serial settings' text form from any bytes: a text that is accepted
// gives settings within the encoding whose own text reads back to the same
// settings; a refused one leaves the caller's settings as they were.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "tavinter/request_record.h"
#include "tavinter/serial_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavinter;
  const std::string text(reinterpret_cast<const char*>(data), size);
  const CSerialSettings before{};
  CSerialSettings s = before;
  std::string error;
  if (ParseSerialText(text, s, error)) {
    if (!IsValidSerial(s)) std::abort();
    CSerialSettings again{0, 0, 0, 0};
    if (!ParseSerialText(SerialText(s), again, error) || !(again == s)) std::abort();
  } else if (!(s == before) || error.empty()) {
    std::abort();
  }
  // The same bytes as the serial fields of a channel configuration.
  CChannelConfig config;
  if (size >= kChannelConfigSize) config.Parse(data, kChannelConfigSize);
  const CSerialSettings stored = ReadSerialSettings(config);
  CChannelConfig copy;
  if (WriteSerialSettings(copy, stored) != IsValidSerial(stored)) std::abort();
  return 0;
}
