#include "scope_commands.h"

namespace commscope {

const std::vector<CommandEntry>& ScopeCommands() {
  static const std::vector<CommandEntry> kCommands{
      {ID_FILE_OPEN_MONITOR, "&File", "&Open Monitor View", "", true, false},
      {ID_FILE_CLOSE_MONITOR, "&File", "&Close Monitor View", "", true, false},
      {0, "&File", "", "", false, false},
      {ID_FILE_SAVE_AS, "&File", "Save &As...", "Ctrl+A", true, false},
      {0, "&File", "", "", false, false},
      {ID_FILE_PRINT, "&File", "&Print..", "Ctrl+P", true, false},
      {ID_FILE_PRINT_PREVIEW, "&File", "Print Pre&view", "", false, false},
      {ID_FILE_PRINT_SETUP, "&File", "Print &Setup...", "", false, false},
      {0, "&File", "", "", false, false},
      {ID_APP_EXIT, "&File", "E&xit", "", false, false},
      {ID_VIEW_TOOLBAR, "&View", "&Toolbar", "", false, true},
      {ID_VIEW_STATUS_BAR, "&View", "&Status Bar", "", false, true},
      {ID_OPTION_PROPERTY, "&Option", "&Communication Property", "", true, false},
      {ID_OPTION_CONFIG, "&Option", "&TavScope Configuration ", "", true, false},
      {ID_OPTION_TERMINAL, "&Option", "&Terminal", "", true, false},
      {ID_WINDOW_CASCADE, "&Window", "&Cascade", "", false, false},
      {ID_WINDOW_TILE, "&Window", "&Tile", "", false, false},
      {ID_WINDOW_ARRANGE, "&Window", "&Arrange Icons", "", false, false},
      {ID_APP_ABOUT, "&HELP", "&About", "", true, false},
      {ID_MONITOR_START, nullptr, "&Start Monitoring", "", false, true},
      {ID_MONITOR_CLEAR, nullptr, "Clear Monitoring &Data", "", false, false},
      {ID_VIEW_PROPERTY, nullptr, "Communication P&roperty", "", false, false},
  };
  return kCommands;
}

const std::vector<int>& ViewContextCommands() {
  static const std::vector<int> kContext{ID_MONITOR_START,      ID_MONITOR_CLEAR, 0, ID_FILE_OPEN_MONITOR,
                                         ID_FILE_CLOSE_MONITOR, 0,                ID_FILE_SAVE_AS, 0,
                                         ID_FILE_PRINT,         ID_FILE_PRINT_PREVIEW, 0, ID_VIEW_PROPERTY};
  return kContext;
}

}  // namespace commscope
