#include "demo_table.h"

#include <cstdio>

namespace axview_demo {

namespace {

struct ColumnSpec {
  const char* title;
  char kind;  // 'n' number, 'c' choice, 't' text
  int digits;
  int decimals;
  std::vector<const char*> choices;
};

const std::vector<ColumnSpec>& Columns() {
  static const std::vector<ColumnSpec> columns = {
      {"Operation pattern", 'c', 0, 0, {"Independent", "Continuous", "Path", "End"}},
      {"Control method", 'c', 0, 0, {"ABS linear", "INC linear", "Forward speed", "Reverse speed"}},
      {"Axis to interpolate", 'n', 1, 0, {}},
      {"Acceleration time No.", 'n', 1, 0, {}},
      {"Deceleration time No.", 'n', 1, 0, {}},
      {"Positioning address", 'n', 10, 3, {}},
      {"Arc address", 'n', 10, 3, {}},
      {"Command speed", 'n', 9, 2, {}},
      {"Dwell time", 'n', 5, 0, {}},
      {"M code", 'n', 5, 0, {}},
      {"Condition", 'c', 0, 0, {"None", "Start", "Wait", "Synchronous"}},
      {"Torque limit", 'n', 3, 1, {}},
      {"Speed change", 'n', 9, 2, {}},
      {"Comment", 't', 0, 0, {}},
      {"Jump destination", 'n', 3, 0, {}},
      {"Loop count", 'n', 5, 0, {}},
      {"Sub axis 1", 'n', 10, 3, {}},
      {"Sub axis 2", 'n', 10, 3, {}},
      {"Sub axis 3", 'n', 10, 3, {}},
      {"Output signal", 'c', 0, 0, {"Off", "On", "Pulse"}},
      {"Start delay", 'n', 5, 0, {}},
      {"Stop mode", 'c', 0, 0, {"Deceleration", "Sudden", "Immediate"}},
      {"Speed limit", 'n', 9, 2, {}},
      {"Reference axis", 'n', 1, 0, {}},
      {"Block start", 'c', 0, 0, {"No", "Yes"}},
      {"Parameter 1", 'n', 7, 0, {}},
      {"Parameter 2", 'n', 7, 0, {}},
      {"Remark", 't', 0, 0, {}},
  };
  return columns;
}

}  // namespace

void AddDemoSheets(CTableModel& table) {
  for (int s = 0; s < kSheets; ++s) {
    char name[32];
    std::snprintf(name, sizeof name, "Axis %d", s + 1);
    table.InsertSheet(s, name);
    table.SetSheetData(s, 0x100u + static_cast<unsigned>(s));
    int c = 0;
    for (const auto& column : Columns()) {
      table.InsertColumn(s, c, column.title, column.kind == 'n' ? 1 : 0);
      for (const char* choice : column.choices) table.AddColumnString(s, c, choice);
      if (!column.choices.empty()) table.SetColumnDefaultString(s, c, column.choices[0]);
      if (column.kind == 'n')
        table.SetColumnEditMode(s, c, 1, 0, static_cast<BYTE>(column.digits), static_cast<BYTE>(column.decimals));
      else if (column.kind == 't')
        table.SetColumnEditMode(s, c, 0, 32, 0, 0);
      ++c;
    }
  }
}

std::string DemoLineText(int sheet, int line) {
  std::string text;
  char field[64];
  int c = 0;
  for (const auto& column : Columns()) {
    const unsigned v = static_cast<unsigned>(line * 7919 + sheet * 104729 + c * 31);
    switch (column.kind) {
      case 'c': std::snprintf(field, sizeof field, "%s", column.choices[v % column.choices.size()]); break;
      case 't': std::snprintf(field, sizeof field, line % 5 ? "" : "Point %d-%d", sheet + 1, line + 1); break;
      default:
        if (column.decimals > 0)
          std::snprintf(field, sizeof field, "%d.%02d", static_cast<int>(v % 200000) - 100000,
                        static_cast<int>(v % 100));
        else
          std::snprintf(field, sizeof field, "%u", v % (column.digits >= 5 ? 10000 : column.digits >= 3 ? 100 : 4));
    }
    if (c++) text.push_back('\t');
    text += field;
  }
  return text;
}

void FillDemoLines(CTableModel& table, int sheet) {
  for (int l = 0; l < kLines; ++l) {
    table.InsertLine(sheet, l, "");
    table.SetLineText(sheet, l, DemoLineText(sheet, l).c_str());
  }
}

void FillDemoTable(CTableModel& table) {
  AddDemoSheets(table);
  for (int s = 0; s < kSheets; ++s) FillDemoLines(table, s);
}

}  // namespace axview_demo
