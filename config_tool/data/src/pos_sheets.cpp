#include "axcfg_data/pos_sheets.h"

#include "axcfg_data/axis_layout.h"
#include "axcfg_data/pos_columns.h"
#include "axcfg_data/pos_data.h"
#include "axcfg_data/pos_row_text.h"

namespace axcfg {

std::vector<uint32_t> GetSheetEntries(const CAxisLayout& layout) {
  std::vector<uint32_t> sheets;
  int cursor = layout.GetAxisEntryCount() > 0 ? 1 : 0;
  while (cursor != 0) {
    const int index = cursor - 1;
    const int item = layout.NextLayoutItem(cursor);
    if (item < 0) break;
    if (item >= kGroupItemBase) {
      const uint32_t e = layout.GetAxisEntry(index);
      sheets.push_back((static_cast<uint32_t>(item - kGroupItemBase + 1) << 24) |
                       (static_cast<uint32_t>(EntryAxisCount(e)) << 16) | EntryMask(e));
    } else {
      sheets.push_back(MakeSingleAxisEntry(item));
    }
  }
  return sheets;
}

std::vector<int> LayoutAxesInOrder(const CAxisLayout& layout) {
  std::vector<int> axes;
  uint16_t seen = 0;
  for (int i = 0; i < layout.GetAxisEntryCount(); ++i) {
    AxisList list = AxesOfMask(EntryMask(layout.GetAxisEntry(i)));
    for (int m = 0; m < list.count; ++m) {
      const int axis = list.axes[m];
      if (seen & (1u << axis)) continue;  // a damaged layout may name an axis twice
      seen |= static_cast<uint16_t>(1u << axis);
      axes.push_back(axis);
    }
  }
  return axes;
}

namespace {

// Slot of a choice column in the cache, -1 for other columns.
int ChoiceSlot(int column) {
  switch (column) {
    case kColControlMethod: return 0;
    case kColInterpPattern: return 1;
    case kColPositionMode: return 2;
    case kColAccelPattern: return 3;
    default: return -1;
  }
}

uint8_t ChoiceCode(const PosElement& e, int slot) {
  switch (slot) {
    case 0: return e.controlMethod;
    case 1: return e.interpPattern;
    case 2: return e.positionMode;
    default: return e.accelPattern;
  }
}

}  // namespace

CSheetCells::CSheetCells(const CParamBlock& params, uint32_t entry)
    : params_(params), entry_(entry), columns_(GetColumnSet(entry)) {
  AxisList axes = EntryAxes(entry);
  if (axes.count > 0) firstAxis_ = axes.axes[0];
}

const std::string& CSheetCells::ChoiceText(const CPosData& row, int slot, int column) {
  // A choice cell depends only on the code of the entry's first axis.
  const uint8_t code = ChoiceCode(row.Element(firstAxis_), slot);
  if (!known_[slot][code]) {
    choiceText_[slot][code] = RowCellText(row, params_, entry_, column);
    known_[slot][code] = true;
  }
  return choiceText_[slot][code];
}

std::string CSheetCells::Cell(const CPosData& row, int columnIndex) {
  if (columnIndex < 0 || columnIndex >= columns_.count || firstAxis_ < 0) return std::string();
  const int column = columns_.columns[columnIndex];
  const int slot = ChoiceSlot(column);
  return slot >= 0 ? ChoiceText(row, slot, column) : RowFieldText(row, params_, entry_, column);
}

std::vector<std::string> CSheetCells::Cells(const CPosData& row) {
  std::vector<std::string> cells;
  cells.reserve(columns_.count);
  for (int i = 0; i < columns_.count; ++i) cells.push_back(Cell(row, i));
  return cells;
}

void CSheetCells::AppendCells(const CPosData& row, char separator, std::string& out, CellAppender append) {
  for (int i = 0; i < columns_.count; ++i) {
    out += separator;
    const int column = columns_.columns[i];
    const int slot = firstAxis_ < 0 ? -1 : ChoiceSlot(column);
    const std::string& text = slot >= 0 ? ChoiceText(row, slot, column) : Cell(row, i);
    if (append)
      append(out, text);
    else
      out += text;
  }
}

std::vector<std::string> SheetCellTexts(const CPosData& row, const CParamBlock& params, uint32_t entry) {
  ColumnSet set = GetColumnSet(entry);
  std::vector<std::string> cells;
  cells.reserve(set.count);
  for (int i = 0; i < set.count; ++i) cells.push_back(RowCellText(row, params, entry, set.columns[i]));
  return cells;
}

}  // namespace axcfg
