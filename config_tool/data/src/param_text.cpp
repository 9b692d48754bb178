// Names, choice texts, value texts and guidance of the parameters.
#include <cstdio>

#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/fixed_point.h"
#include "axcfg_data/param_block.h"
#include "axcfg_data/text_format.h"
#include "param_defs.h"

namespace axcfg {

using detail::Def;
using detail::Guide;

namespace {

constexpr unsigned kIdRangeFormat = 30290;     // "%s - %s"
constexpr unsigned kIdSettingRange = 21291;    // "Setting range: %s"
constexpr unsigned kIdChooseFrom = 21293;      // "Choose from the followings."
constexpr unsigned kIdHomeCodeGuide = 21229;   // "Set the pattern of the home return."
constexpr unsigned kIdHomeCodesS = 21270;
constexpr unsigned kIdHomeCodesI = 21271;
constexpr unsigned kIdOutputDirection = 21618; // parameter 4 in family 1

bool ValidParam(int no) { return no >= 0 && no < kParamCount; }

std::string NumberText(int kind, int decimals, int64_t value) {
  if (kind == kKindSignedFixed || kind == kKindFixed) return FormatFixed(decimals, value);
  if (kind == kKindHex) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "%llX", static_cast<unsigned long long>(value));
    return buf;
  }
  return std::to_string(value);
}

}  // namespace

std::string CParamBlock::GetChoiceText(int no, int index) const {
  if (!ValidParam(no)) return std::string();
  int count = 0;
  const unsigned* ids = detail::ChoiceIds(no, family_, count);
  if (index < 0 || index >= count) return std::string();
  return AxisCfgText(ids[index]);
}

std::string CParamBlock::GetParamName(int no) const {
  if (!ValidParam(no)) return std::string();
  if (no == kParamCwCcwDirection && family_ == 1) return AxisCfgText(kIdOutputDirection);
  return AxisCfgText(Def(no).nameId);
}

std::string CParamBlock::FormatValue(int no, int axis, int64_t value) const {
  int kind = GetParamKind(no, axis);
  if (kind == kKindChoice || kind == kKindChoiceUnavailable) {
    if (value < 0 || value > 0x7FFFFFFF) return std::string();
    return GetChoiceText(no, static_cast<int>(value));
  }
  return NumberText(kind, GetDecimals(no, axis), value);
}

std::string CParamBlock::FormatParam(int no, int axis) const {
  if (!ValidParam(no)) return std::string();
  return FormatValue(no, axis, GetParamValue(no, axis));
}

std::string CParamBlock::RangeText(int no, int axis) const {
  if (!ValidParam(no)) return std::string();
  ParamRange r = GetParamRange(no, axis);
  if (r.minimum > r.maximum) return std::string();
  int kind = GetParamKind(no, axis);
  int decimals = GetDecimals(no, axis);
  return FormatText(AxisCfgText(kIdRangeFormat),
                    {NumberText(kind, decimals, r.minimum), NumberText(kind, decimals, r.maximum)});
}

std::string CParamBlock::GetGuidance(int no, int axis) const {
  if (!ValidParam(no)) return std::string();
  const detail::ParamDef& d = Def(no);
  unsigned id = (family_ == 1 && d.guideIdInterp) ? d.guideIdInterp : d.guideId;
  switch (d.guide) {
    case Guide::None: return std::string();
    case Guide::Plain: return AxisCfgText(id);
    case Guide::List: {
      std::string text = AxisCfgText(id) + "\r\n" + AxisCfgText(kIdChooseFrom) + "\r\n";
      for (int i = 0, n = GetChoiceCount(no); i < n; ++i) {
        std::string choice = GetChoiceText(no, i);
        if (choice.empty()) break;
        if (i > 0) text += ",  ";
        text += choice;
      }
      return text;
    }
    case Guide::Range:
    case Guide::RangeBlank: {
      std::string range = RangeText(no, axis);
      std::string setting;
      if (!range.empty()) {
        setting = FormatText(AxisCfgText(kIdSettingRange), {range});
        if (d.guide == Guide::RangeBlank) setting += ' ';
      }
      return FormatText(AxisCfgText(id), {setting});
    }
    case Guide::HomeCode:
      return AxisCfgText(kIdHomeCodeGuide) + AxisCfgText(kIdChooseFrom) + "\r\n" +
             AxisCfgText(family_ == 1 ? kIdHomeCodesI : kIdHomeCodesS);
  }
  return std::string();
}

}  // namespace axcfg
