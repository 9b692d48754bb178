#pragma once
// A table like the configuration tool's positioning tables: 8 sheets (one per
// axis) of 600 lines and 28 columns of numbers, choices and texts.
#include <string>
#include <vector>

#include "axview/table_model.h"

namespace axview_demo {

constexpr int kSheets = 8;
constexpr int kLines = 600;

// Sheets, with their columns, each filled with kLines lines (InsertLine, then
// SetLineText from the line's data text).
void FillDemoTable(CTableModel& table);
// Only the columns, for measuring the line fill on its own.
void AddDemoSheets(CTableModel& table);
// The data text of one line of a sheet, as an owner produces it.
std::string DemoLineText(int sheet, int line);
void FillDemoLines(CTableModel& table, int sheet);

}  // namespace axview_demo
