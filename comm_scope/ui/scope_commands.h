#pragma once
// The viewer's commands: numeric ids, texts and shortcuts in one table from
// which the menus, the toolbar and the view's context menu are built.
#include <vector>

namespace commscope {

enum CommandId : int {
  ID_FILE_OPEN_MONITOR = 32771,
  ID_FILE_CLOSE_MONITOR = 32772,
  ID_OPTION_PROPERTY = 32773,
  ID_OPTION_CONFIG = 32774,
  ID_OPTION_TERMINAL = 32775,
  ID_MONITOR_START = 32776,
  ID_MONITOR_CLEAR = 32777,
  ID_VIEW_PROPERTY = 32778,
  ID_FILE_SAVE_AS = 0xE103,
  ID_FILE_PRINT_SETUP = 0xE106,
  ID_FILE_PRINT = 0xE107,
  ID_FILE_PRINT_PREVIEW = 0xE109,
  ID_WINDOW_ARRANGE = 0xE130,
  ID_WINDOW_CASCADE = 0xE132,
  ID_WINDOW_TILE = 0xE133,
  ID_APP_ABOUT = 0xE140,
  ID_APP_EXIT = 0xE141,
  ID_VIEW_TOOLBAR = 0xE800,
  ID_VIEW_STATUS_BAR = 0xE801,
};

struct CommandEntry {
  int id;
  const char* menu;      // top-level menu, or nullptr for the context menu only
  const char* text;
  const char* shortcut;  // "" for none
  bool toolbar;
  bool checkable;
};

// The table in menu order; separators are entries with id 0.
const std::vector<CommandEntry>& ScopeCommands();
// The context menu of a monitor view, in its order (0 = separator).
const std::vector<int>& ViewContextCommands();

}  // namespace commscope
