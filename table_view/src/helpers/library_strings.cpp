#include "library_strings.h"

#include <mutex>

#include "platform/strings.h"

namespace axview {

namespace {
const platform::StringEntry kEnglish[] = {
    {IDS_FIND, "Find"},
    {IDS_REPLACE, "Replace"},
    {IDS_ALL_COLUMNS, "All columns"},
    {IDS_NOT_FOUND, "Can't find you're searching for, anymore in specified cells."},
    {IDS_CANNOT_PASTE, "Can't be pasted."},
    {IDS_PASTE_SHAPE_DIFFERS,
     "The clipboard's data and specified area aren't same size and shape.\r\nAre you sure that you want to paste it?"},
    {IDS_PASTE_FORMAT_DIFFERS,
     "The data can't be pasted because the copy area and the paste area aren't the same format.\r\nTo paste data, "
     "please check data format and paste them after selecting proper area."},
    {IDS_PASTE_INVALID_CHOICE,
     "There are some invalid characters in clipboard string.\r\n\r\nIf you paste it, cell text won't be "
     "changed.\r\nAre you sure that you want to paste it?"},
    {IDS_REPLACE_ONE_COLUMN,
     "Can't replace cell text on multi-columns because one column is selected in "
     "Column-Selecting-ComboBox.\r\nDo you want to continue after selecting one column?"},
    {IDS_FIND_ONE_COLUMN,
     "Can't find cell text on multi-columns because one column is selected in "
     "Column-Selecting-ComboBox.\r\nDo you want to contiue after selecting one column?"},
    {IDS_DLG_FIND_WHAT, "Fi&nd what :"},
    {IDS_DLG_REPLACE_WITH, "R&eplace with :"},
    {IDS_DLG_COLUMN, "Co&lumn : "},
    {IDS_DLG_MATCH_CASE, "Match &Case"},
    {IDS_DLG_ENTIRE_CELLS, "Find entire cells &only"},
    {IDS_DLG_FIND_NEXT, "&Find Next"},
    {IDS_DLG_CLOSE, "Close"},
    {IDS_DLG_REPLACE, "&Replace"},
    {IDS_DLG_REPLACE_ALL, "Replace &All"},
    {IDS_BAR_HIDE, "Hide"},
    {IDS_BAR_FLOAT, "Float or dock"},
    {IDS_DLG_FONT, "Font"},
    {IDS_DLG_FONT_FAMILY, "&Font :"},
    {IDS_DLG_FONT_SIZE, "&Size (points) :"},
    {IDS_DLG_FONT_SAMPLE, "Sample :"},
    {IDS_MENU_UNDO, "&Undo\tCtrl+Z"},
    {IDS_MENU_REDO, "&Redo\tCtrl+Y"},
    {IDS_MENU_CUT, "Cu&t\tCtrl+X"},
    {IDS_MENU_COPY, "&Copy\tCtrl+C"},
    {IDS_MENU_PASTE, "&Paste\tCtrl+V"},
    {IDS_MENU_FIND, "&Find...\tCtrl+F"},
    {IDS_MENU_REPLACE, "R&eplace...\tCtrl+H"},
};
}  // namespace

void RegisterLibraryStrings() {
  static std::once_flag once;
  std::call_once(once, [] {
    platform::Strings::RegisterBuiltin(kStringModule, kEnglish, sizeof kEnglish / sizeof kEnglish[0]);
  });
}

}  // namespace axview
