#include "axcfg_data/axcfg_strings.h"

#include "platform/message_box.h"
#include "platform/strings.h"
#include "string_table_data.h"

namespace axcfg {

void RegisterAxisCfgDataStrings() {
  // The platform merges the ids of every part that registers for a module,
  // so registering again only refreshes our own texts.
  size_t count = 0;
  const platform::StringEntry* ours = DataModelStrings(count);
  platform::Strings::RegisterBuiltin(kStringModule, ours, count);
  ours = FileStrings(count);
  platform::Strings::RegisterBuiltin(kStringModule, ours, count);
}

std::string AxisCfgText(unsigned id) { return platform::Strings::Get(kStringModule, id); }

int AxisCfgMessageBox(const std::string& text, unsigned type) {
  return platform::ShowMessageBox(text, type, kMessageCaption);
}

}  // namespace axcfg
