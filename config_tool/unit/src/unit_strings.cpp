#include "axcfg_unit/unit_strings.h"

#include <mutex>

#include "platform/strings.h"

namespace axcfg {

void RegisterUnitStrings() {
  static std::once_flag once;
  std::call_once(once, [] {
    static const platform::StringEntry kTexts[] = {
        {9000, "Request Tool operation mode"},
        {9001, "Cancel Tool operation mode"},
        {9002, "Request writing to FROM"},
        {9003, "Emergency stop of all axes"},
        {9004, "Request servo ON"},
        {9005, "Request servo OFF"},
        {9006, "Request positioning"},
        {9007, "Request JOG operation"},
        {9008, "Request home return"},
        {9010, "Request deceleration stop"},
        {9011, "Request error/warning cancel"},
        {9012, "Reqeust error/warning history update"},
        {9013, "Request error/warning history clear"},
        {9014, "Write zero offset"},
        {9021, "Tool operation (except ladder operation)"},
        {9022, "Tool operation is already activated. (Error in specifying the code of tool operation mode)"},
        {9023, "Axis is running"},
        {9024, "A system error occurred"},
        {9025, "Writing to FROM"},
        {9026, "Undefined  Tool operation error [%02X]"},
        {9030, "Communication system error"},
        {9031, "Waiting acknowledgement error in the request for writing to FROM"},
        {9032, "Slot No. %d"},
    };
    platform::Strings::RegisterBuiltin("AxisCfg", kTexts, sizeof kTexts / sizeof kTexts[0]);
  });
}

std::string UnitText(unsigned id) {
  RegisterUnitStrings();
  return platform::Strings::Get("AxisCfg", id);
}

}  // namespace axcfg
