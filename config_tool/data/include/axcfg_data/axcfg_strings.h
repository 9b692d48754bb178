#pragma once
// The configuration tool's texts by id (module "AxisCfg") and its message box.
#include <string>

namespace axcfg {

inline constexpr const char* kStringModule = "AxisCfg";
// The caption of every message box of the configuration tool.
inline constexpr const char* kMessageCaption = "Axis Configurator";

// Registers the English texts of the setting data model with the "AxisCfg"
// module. The texts are merged into what the module already has, so other
// parts of the tool may register their own ids before or after; calling it
// again changes nothing.
void RegisterAxisCfgDataStrings();

// The text of an id in the table in force; empty when it has none.
std::string AxisCfgText(unsigned id);

// Shows a message box with the tool's caption; returns the button chosen.
int AxisCfgMessageBox(const std::string& text, unsigned type);

}  // namespace axcfg
