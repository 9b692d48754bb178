#include "modem_book/port_modem_settings.h"

#include <algorithm>

#include "modem_book/modem_strings.h"

namespace modembook {

namespace {
bool PrintableAscii(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}
std::vector<int> Choices(int upTo, int stepTo, int step) {
  std::vector<int> v;
  for (int i = 1; i <= upTo; ++i) v.push_back(i);
  for (int i = upTo + step; i <= stepTo; i += step) v.push_back(i);
  return v;
}
}  // namespace

std::string DefaultInitCommand() {
  std::string t = ModemText(kIdsDefaultInitCommand);
  return t.empty() ? "ATV1E0S0=1S2=43" : t;
}

CPortModemSettings::CPortModemSettings() : initCommand(DefaultInitCommand()) {}

void CPortModemSettings::ResetToDefaults() {
  dialMode = kDialTone;
  dialCommand = "AT";
  initCommand = DefaultInitCommand();
  plcTimeout = kDefaultPlcTimeout;
  lineTimeout = kDefaultLineTimeout;
}

std::string CPortModemSettings::DialPrefix() const {
  if (dialMode == kDialTone) return ModemText(kIdsTonePrefix);
  if (dialMode == kDialOther) return dialCommand;
  return ModemText(kIdsPulsePrefix);
}

const std::vector<int>& PlcTimeoutChoices() {
  static const std::vector<int> v = Choices(30, 60, 5);
  return v;
}

const std::vector<int>& LineTimeoutChoices() {
  static const std::vector<int> v = Choices(60, 180, 10);
  return v;
}

bool ValidPlcTimeout(int s) {
  const auto& v = PlcTimeoutChoices();
  return std::find(v.begin(), v.end(), s) != v.end();
}

bool ValidLineTimeout(int s) {
  const auto& v = LineTimeoutChoices();
  return std::find(v.begin(), v.end(), s) != v.end();
}

bool ValidDialCommand(const std::string& t) { return t.size() <= CPortModemSettings::kDialCommandMax && PrintableAscii(t); }

bool ValidInitCommand(const std::string& t) { return t.size() <= CPortModemSettings::kInitCommandMax && PrintableAscii(t); }

}  // namespace modembook
