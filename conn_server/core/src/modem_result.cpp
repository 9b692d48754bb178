#include "connsrv/modem_result.h"

#include <algorithm>
#include <cctype>

namespace connsrv {

std::string TrimmedModemLine(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

namespace {

std::string Trimmed(const std::string& s) { return TrimmedModemLine(s); }

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

bool AllDigits(const std::string& s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

ModemResult FromNumber(const std::string& digits) {
  // Leading zeros do not make another code ("00" is still OK).
  size_t i = 0;
  while (i + 1 < digits.size() && digits[i] == '0') ++i;
  const std::string n = digits.substr(i);
  if (n == "0") return ModemResult::kOk;
  if (n == "2") return ModemResult::kRing;
  if (n == "3") return ModemResult::kNoCarrier;
  if (n == "4") return ModemResult::kError;
  if (n == "6") return ModemResult::kNoDialtone;
  if (n == "7") return ModemResult::kBusy;
  if (n == "8") return ModemResult::kNoAnswer;
  return ModemResult::kConnect;  // 1, 5, 10 and the higher connect codes
}

}  // namespace

ModemResult ClassifyModemLine(const std::string& line) {
  const std::string t = Upper(Trimmed(line));
  if (AllDigits(t)) return FromNumber(t);
  if (t.find("%%%") != std::string::npos) return ModemResult::kConnect;
  if (t == "OK") return ModemResult::kOk;
  if (t.rfind("CONNECT", 0) == 0) return ModemResult::kConnect;
  if (t == "RING") return ModemResult::kRing;
  if (t == "NO CARRIER") return ModemResult::kNoCarrier;
  if (t == "ERROR") return ModemResult::kError;
  if (t == "NO DIALTONE" || t == "NO DAILTONE") return ModemResult::kNoDialtone;
  if (t == "BUSY") return ModemResult::kBusy;
  if (t == "NO ANSWER") return ModemResult::kNoAnswer;
  return ModemResult::kOther;
}

std::string ModemCodeText(const std::string& line) {
  const std::string t = Trimmed(line);
  if (AllDigits(t)) return t;
  switch (ClassifyModemLine(t)) {
    case ModemResult::kRing: return "2";
    case ModemResult::kConnect: return "10";
    case ModemResult::kNoCarrier: return "3";
    case ModemResult::kError: return "4";
    case ModemResult::kNoDialtone: return "6";
    case ModemResult::kBusy: return "7";
    case ModemResult::kNoAnswer: return "8";
    case ModemResult::kOk: case ModemResult::kOther: break;
  }
  return t;
}

bool EndsCall(ModemResult r) {
  return r == ModemResult::kNoCarrier || r == ModemResult::kError || r == ModemResult::kNoDialtone ||
         r == ModemResult::kBusy || r == ModemResult::kNoAnswer;
}

std::string CallerNumber(const std::string& text) {
  const size_t start = text.find('0');
  if (start == std::string::npos) return {};
  std::string number;
  for (size_t i = start; i < text.size() && number.size() < 15; ++i) {
    if (text[i] == '\r' || text[i] == '\n') break;
    number.push_back(text[i]);
  }
  return number;
}

bool NumericModeFor(const std::string& initCommand) {
  return initCommand.find("V0") != std::string::npos || initCommand.find("v0") != std::string::npos;
}

char EscapeCharacterFor(const std::string& initCommand) {
  for (size_t i = 0; i + 3 <= initCommand.size(); ++i) {
    if ((initCommand[i] != 'S' && initCommand[i] != 's') || initCommand.compare(i + 1, 2, "2=") != 0) continue;
    int value = 0, digits = 0;
    for (size_t j = i + 3;
         j < initCommand.size() && digits < 3 && std::isdigit(static_cast<unsigned char>(initCommand[j])); ++j, ++digits)
      value = value * 10 + (initCommand[j] - '0');
    // No digits would make the escape character NUL, and values from 128 on
    // switch escaping off on the modem, leaving no way back to command mode.
    if (digits > 0 && value > 0 && value < 128) return static_cast<char>(value);
    return '+';
  }
  return '+';
}

}  // namespace connsrv
