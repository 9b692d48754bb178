#pragma once
// What the tool operation's value input asks for each value kind: title,
// prompt, limits and decimals, and the check of the entered text.
#include <cstdint>
#include <string>
#include <string_view>

namespace axcfg {

// Value kinds: 0 a plain value; 1..7 a position in the unit of that index
// (current value or coordinate origin); 101..107 a JOG target speed in that
// unit; table numbers and the speed rate.
enum ValueKind : int {
  kValuePlain = 0,
  kValuePositionFirst = 1,
  kValuePositionLast = 7,
  kValueJogSpeedBase = 100,
  kValueStartingTable = 201,
  kValueTeachTable = 202,
  kValueSpeedRate = 251,
};

struct ValueInputRule {
  int kind = kValuePlain;
  std::string title;   // "<kind's title> - <axis label>"
  std::string prompt;
  int64_t minimum = -2147483648LL;
  int64_t maximum = 2147483647LL;
  int decimals = 0;
  std::string RangeText() const;  // "Range:<min> - <max>" with the decimals
};

// The value kind (1..7) of a unit code, 0 for a code that is none of the seven.
int PositionKindOfUnit(uint16_t unitCode);

// The rule of a kind. Positions and speeds take their unit from the kind;
// `coordinateOrigin` chooses the origin texts for kinds 1..7. Table numbers
// are limited to 1..600, the speed rate to one word.
ValueInputRule ValueInputRules(int kind, const std::string& axisLabel, bool coordinateOrigin = false);

enum class ValueInputCheck { kOk, kEmpty, kNotANumber, kOutOfRange };

// Parses the text with the rule's decimals and checks the limits.
ValueInputCheck ParseValueInput(std::string_view text, const ValueInputRule& rule, int64_t& value);
// The message of a failed check; empty for kOk.
std::string ValueInputMessage(ValueInputCheck check);

}  // namespace axcfg
