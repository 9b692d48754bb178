#pragma once
// The data check: the synchronous groups, the parameters of the used axes
// and every value of every positioning-table sheet. It stops at the first
// problem and says where it is; it changes no data.
#include <cstdint>
#include <string>

namespace axcfg {

class CAxisCfgDoc;
class CPosData;
struct AxisList;

// Results of CheckTables besides a location.
inline constexpr uint32_t kTablesValid = 0xFFFFFFFF;
inline constexpr uint32_t kTablesCheckFailed = 0xFFFF0000;

// A location: table index in bits 16-31, sheet index in bits 8-15, column
// number in bits 0-7 (column 0 = the row itself is missing).
constexpr uint32_t MakeTableLocation(int table, int sheet, int column) {
  return (static_cast<uint32_t>(table & 0xFFFF) << 16) | (static_cast<uint32_t>(sheet & 0xFF) << 8) |
         static_cast<uint32_t>(column & 0xFF);
}
constexpr int LocationTable(uint32_t location) { return static_cast<int>(location >> 16); }
constexpr int LocationSheet(uint32_t location) { return static_cast<int>((location >> 8) & 0xFF); }
constexpr int LocationColumn(uint32_t location) { return static_cast<int>(location & 0xFF); }

// The rule of one column for one axis of a sheet (axes = the sheet's axes,
// member = the axis's position among them) in table index k. Row-wide
// fields are only judged with the first member; positions only in the
// column of their own axis.
bool IsTableValueValid(const CPosData& row, int k, const AxisList& axes, int member, int column);

// The message of the check for an invalid value of table index k in a
// column of the sheet of `entry`: "Table No. ddd: sss" with the column's
// title, or the general failure text (with the place as its second line
// for the jump table No., which no sheet shows).
std::string TableValueMessage(uint32_t entry, int k, int column);

// Walks the sheets of the layout in order, each table, each axis of the
// sheet and each of its columns (the jump table No. included).
uint32_t CheckTables(const CAxisCfgDoc& doc);

enum class CheckStage { Passed, SyncGroups, Parameters, Tables };

struct DataCheckResult {
  CheckStage stage = CheckStage::Passed;
  unsigned messageId = 0;  // 30109 when everything is valid
  std::string message;     // the text to show
  // Parameters: the first parameter out of range and its axis.
  int param = -1;
  int axis = -1;
  // Tables: the location and the index among the sheet's columns of the
  // cell to put the cursor on: the value's column, or the first column for
  // a jump table No., which no sheet shows (30222 with the place as its
  // second line); -1 when there is no cell to go to (30222 alone).
  uint32_t location = kTablesValid;
  uint32_t sheetEntry = 0;
  int cellColumn = -1;

  bool Valid() const { return stage == CheckStage::Passed; }
};

// The whole check in the order of the command "Check Parameters and Data".
DataCheckResult CheckData(const CAxisCfgDoc& doc);

}  // namespace axcfg
