#pragma once
// Ids of the library's own texts and its built-in English table.
namespace axview {

constexpr const char* kStringModule = "AxView";

enum StringId : unsigned {
  IDS_FIND = 30004,
  IDS_REPLACE = 30005,
  IDS_ALL_COLUMNS = 30006,
  IDS_NOT_FOUND = 30007,
  IDS_CANNOT_PASTE = 30008,
  IDS_PASTE_SHAPE_DIFFERS = 30009,
  IDS_PASTE_FORMAT_DIFFERS = 30010,
  IDS_PASTE_INVALID_CHOICE = 30011,
  IDS_REPLACE_ONE_COLUMN = 30012,
  IDS_FIND_ONE_COLUMN = 30013,
  // Find dialog controls and the bar's button tips.
  IDS_DLG_FIND_WHAT = 30101,
  IDS_DLG_REPLACE_WITH = 30102,
  IDS_DLG_COLUMN = 30103,
  IDS_DLG_MATCH_CASE = 30104,
  IDS_DLG_ENTIRE_CELLS = 30105,
  IDS_DLG_FIND_NEXT = 30106,
  IDS_DLG_CLOSE = 30107,
  IDS_DLG_REPLACE = 30108,
  IDS_DLG_REPLACE_ALL = 30109,
  IDS_BAR_HIDE = 30110,
  IDS_BAR_FLOAT = 30111,
  // The cell font dialog.
  IDS_DLG_FONT = 30112,
  IDS_DLG_FONT_FAMILY = 30113,
  IDS_DLG_FONT_SIZE = 30114,
  IDS_DLG_FONT_SAMPLE = 30115,
  // Context menu texts, by the id of their command.
  IDS_MENU_COPY = 57634,
  IDS_MENU_CUT = 57635,
  IDS_MENU_FIND = 57636,
  IDS_MENU_PASTE = 57637,
  IDS_MENU_REPLACE = 57641,
  IDS_MENU_UNDO = 57643,
  IDS_MENU_REDO = 57644,
};

// Registers the built-in English table once.
void RegisterLibraryStrings();

}  // namespace axview
