#include "tavinter/serial_settings.h"

#include <cctype>
#include <vector>

namespace tavinter {

namespace {

// A plain decimal number of at most nine digits; -1 when the text is not one.
long long Decimal(const std::string& text) {
  if (text.empty() || text.size() > 9) return -1;
  long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::vector<std::string> Fields(const std::string& text) {
  std::vector<std::string> fields;
  size_t from = 0;
  for (;;) {
    size_t comma = text.find(',', from);
    fields.push_back(text.substr(from, comma == std::string::npos ? std::string::npos : comma - from));
    if (comma == std::string::npos) return fields;
    from = comma + 1;
  }
}

int ParityOfLetter(const std::string& text) {
  if (text.size() != 1) return -1;
  const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
  for (int code = 0; code < kParityCount; ++code)
    if (kParityLetters[code] == upper) return code;
  return -1;
}

}  // namespace

std::string SerialFieldProblem(SerialField field) {
  switch (field) {
    case SerialField::Baud: {
      std::string rates;
      for (int i = 0; i < kBaudRateCount; ++i) rates += (i ? ", " : "") + std::to_string(kBaudRates[i]);
      return "the baud rate must be one of " + rates;
    }
    case SerialField::DataBits:
      return "the data bits must be " + std::to_string(kMinDataBits) + " to " + std::to_string(kMaxDataBits);
    case SerialField::Parity:
      return "the parity must be N, O, E or S";
    case SerialField::StopBits:
      return "the stop bits must be 1 or 2";
    case SerialField::None:
      break;
  }
  return {};
}

bool ParseSerialText(const std::string& text, CSerialSettings& settings, std::string& error) {
  const std::vector<std::string> f = Fields(text);
  if (f.size() > 4) {
    error = "too many serial settings";
    return false;
  }
  CSerialSettings s = settings;
  // Numbers too large for the fields are refused before they are narrowed.
  auto field = [](long long value, long long limit) { return static_cast<int16_t>(value <= limit ? value : -1); };
  s.baudIndex = static_cast<int16_t>(BaudIndexOfRate(Decimal(f[0])));
  if (f.size() > 1) s.dataBits = field(Decimal(f[1]), kMaxDataBits);
  if (f.size() > 2) s.parity = static_cast<int16_t>(ParityOfLetter(f[2]));
  if (f.size() > 3) s.stopBits = field(Decimal(f[3]), 2);
  const SerialField bad = InvalidSerialField(s);
  if (bad != SerialField::None) {
    error = SerialFieldProblem(bad);
    return false;
  }
  settings = s;
  return true;
}

std::string SerialText(const CSerialSettings& s) {
  if (!IsValidSerial(s)) return {};
  return std::to_string(BaudRateOfIndex(s.baudIndex)) + "," + std::to_string(s.dataBits) + "," +
         kParityLetters[s.parity] + "," + std::to_string(s.stopBits);
}

}  // namespace tavinter
