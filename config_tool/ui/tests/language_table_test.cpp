// The Japanese table of the tool must carry every text of the built-in
// English one, with the same format placeholders and the same line breaks,
// so that no message loses a value or breaks its layout when the tool runs
// in Japanese.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "axcfg_data/axcfg_strings.h"
#include "axcfg_unit/monitor_strings.h"
#include "axcfg_unit/tool_opr_strings.h"
#include "axcfg_unit/unit_transfer.h"
#include "axcfg_unit/unit_strings.h"
#include "platform/strings.h"
#include "ui_strings.h"

namespace {

std::vector<std::string> Placeholders(const std::string& text) {
  static const std::regex kFormat(R"(%[-+ #0]*[0-9]*(\.[0-9]+)?(l|ll|h)?[sdcuxXf%])");
  std::vector<std::string> found;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), kFormat); it != std::sregex_iterator(); ++it)
    found.push_back(it->str());
  return found;
}

size_t LineBreaks(const std::string& text) { return static_cast<size_t>(std::count(text.begin(), text.end(), '\n')); }

TEST(LanguageTable, JapaneseCarriesEveryTextWithTheSamePlaceholders) {
  axcfg::RegisterAxisCfgDataStrings();
  axcfgui::RegisterAxisCfgUiStrings();
  axcfg::RegisterUnitStrings();
  axcfg::RegisterMonitorStrings();
  axcfg::RegisterToolOprStrings();
  axcfg::TransferText(0);  // registers the transfer texts
  auto english = platform::Strings::Builtin("AxisCfg");
  platform::StringTable japanese;
  std::string error;
  ASSERT_TRUE(japanese.LoadFile(AXISCFG_JAPANESE_TABLE, error)) << error;
  for (const auto& [id, text] : english->All()) {
    ASSERT_TRUE(japanese.Has(id)) << "no Japanese text for " << id << ": " << text;
    const std::string ja = japanese.Get(id);
    EXPECT_EQ(Placeholders(ja), Placeholders(text)) << id;
    EXPECT_EQ(LineBreaks(ja), LineBreaks(text)) << id;
  }
}

}  // namespace
