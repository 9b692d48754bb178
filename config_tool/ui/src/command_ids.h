#pragma once
// Command ids of the configuration tool. Menus, toolbar buttons and
// accelerators carry these numbers, so handlers and tests can name a command
// by its id.
namespace axcfgui {

enum CommandId : int {
  ID_FILE_NEW = 57600,
  ID_FILE_OPEN = 57601,
  ID_FILE_SAVE = 57603,
  ID_FILE_SAVE_AS = 57604,
  ID_FILE_PRINT = 57607,
  ID_FILE_MRU_FILE1 = 57616,
  ID_APP_ABOUT = 57664,
  ID_APP_EXIT = 57665,
  ID_EDIT_COPY = 57634,
  ID_EDIT_CUT = 57635,
  ID_EDIT_FIND = 57636,
  ID_EDIT_PASTE = 57637,
  ID_EDIT_REPLACE = 57641,
  ID_EDIT_SELECT_ALL = 57642,
  ID_EDIT_UNDO = 57643,
  ID_VIEW_TOOLBAR = 59392,
  ID_VIEW_STATUS_BAR = 59393,
  ID_VIEW_REBAR = 59396,
  ID_DOWNLOAD = 32779,
  ID_UPLOAD = 32778,
  ID_VERIFY_UNIT = 32780,
  ID_PARAMETER_SETTINGS = 32786,
  ID_VIEW_GUIDANCE = 32787,
  ID_OPTION_CONFIGURATION = 32790,
  ID_CHECK_DATA = 32792,
  ID_VERIFY_FILE = 32795,
  ID_VIEW_PARAM_STATUS = 32796,
  ID_FILE_PROPERTIES = 32797,
  ID_OPTION_COMMUNICATION = 32784,
  ID_OPTION_FONT = 32809,
  ID_CHANGE_AXIS = 32811,
  ID_STATUS_DISPLAY = 32813,
  ID_SELECT_SLOT = 32814,
  ID_STATION_NO = 32815,
  ID_DATA_MONITOR = 32816,
  ID_TOOL_OPERATION = 32817,
  ID_WRITE_FROM = 32818,
  ID_EXPORT_CSV = 32819,
  ID_HELP_CONTENTS = 32820,
};

// Recent files held by the File menu and the Open button's drop-down.
inline constexpr int kRecentFileCount = 10;

}  // namespace axcfgui
