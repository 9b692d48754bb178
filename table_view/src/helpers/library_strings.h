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
  // Context menu texts, by the id of their command.
  IDS_MENU_COPY = 57634,
  IDS_MENU_CUT = 57635,
  IDS_MENU_FIND = 57636,
  IDS_MENU_PASTE = 57637,
  IDS_MENU_REPLACE = 57641,
  IDS_MENU_UNDO = 57643,
};

// Registers the built-in English table once.
void RegisterLibraryStrings();

}  // namespace axview
