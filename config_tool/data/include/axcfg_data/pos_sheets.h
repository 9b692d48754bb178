#pragma once
// The sheets of the positioning-table view as the axis layout gives them,
// and the cell texts of a sheet's line. The grid, the data check and the
// CSV export all take their sheets and cells from here, so they cannot
// disagree.
#include <array>
#include <bitset>
#include <cstdint>
#include <string>
#include <vector>

#include "axcfg_data/pos_columns.h"

namespace axcfg {

class CAxisLayout;
class CParamBlock;
class CPosData;

// One sheet per single axis and per interpolation group, in the order of
// the layout walk. The sheet's entry is 0x00010000 plus the axis bit for a
// single axis, and group number, axis count and mask for a group.
std::vector<uint32_t> GetSheetEntries(const CAxisLayout& layout);

// The used axes in layout order: entry by entry, a group's members one
// after another in ascending order.
std::vector<int> LayoutAxesInOrder(const CAxisLayout& layout);

// The cell texts of one sheet's lines: exactly RowCellText for each of the
// sheet's columns (GetColumnSet order), with the choice texts looked up once
// per sheet instead of once per cell. The params must outlive the object.
class CSheetCells {
 public:
  CSheetCells(const CParamBlock& params, uint32_t entry);

  const ColumnSet& Columns() const { return columns_; }
  // The text of the cell in the column with that index.
  std::string Cell(const CPosData& row, int columnIndex);
  // All cells of the row.
  std::vector<std::string> Cells(const CPosData& row);
  // Appends the cells, each preceded by the separator and written by
  // `append` (the text as it is by default).
  using CellAppender = void (*)(std::string& out, const std::string& cell);
  void AppendCells(const CPosData& row, char separator, std::string& out, CellAppender append = nullptr);

 private:
  const std::string& ChoiceText(const CPosData& row, int slot, int column);

  const CParamBlock& params_;
  uint32_t entry_;
  ColumnSet columns_;
  int firstAxis_ = -1;
  // Choice columns (control method, interpolation pattern, position mode,
  // accel./decel. pattern): the text of each code met so far.
  std::array<std::array<std::string, 256>, 4> choiceText_;
  std::array<std::bitset<256>, 4> known_;
};

// The texts of the sheet's columns (GetColumnSet order) for one row, as the
// grid shows them: choice texts for choice columns, formatted numbers.
std::vector<std::string> SheetCellTexts(const CPosData& row, const CParamBlock& params, uint32_t entry);

}  // namespace axcfg
