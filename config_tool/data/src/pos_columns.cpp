#include "axcfg_data/pos_columns.h"

#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/axis_layout.h"
#include "axcfg_data/text_format.h"

namespace axcfg {

namespace {

void Add(ColumnSet& set, int column) { set.columns[set.count++] = column; }

std::vector<std::string> Texts(std::initializer_list<unsigned> ids) {
  std::vector<std::string> texts;
  texts.reserve(ids.size());
  for (unsigned id : ids) texts.push_back(AxisCfgText(id));
  return texts;
}

}  // namespace

ColumnSet GetColumnSet(uint32_t entry, bool withJumpNo) {
  ColumnSet set;
  AxisList axes = EntryAxes(entry);
  if (axes.count < 1 || axes.count > 3) return set;
  bool group = axes.count >= 2;
  Add(set, kColControlMethod);
  if (withJumpNo) Add(set, kColJumpNo);
  if (group) Add(set, kColInterpPattern);
  Add(set, kColPositionMode);
  for (int i = 0; i < axes.count; ++i) {
    Add(set, kColFirstMove + 2 * axes.axes[i]);
    if (group) Add(set, kColFirstAux + 2 * axes.axes[i]);
  }
  Add(set, kColAccelPattern);
  Add(set, kColAccelTime);
  Add(set, kColDecelTime);
  Add(set, group ? kColInterpSpeed : kColAxisSpeed);
  Add(set, kColDwellTime);
  Add(set, kColAuxCode);
  Add(set, kColComment);
  return set;
}

std::string GetSheetName(uint32_t entry) {
  AxisList axes = EntryAxes(entry);
  if (axes.count == 0) return std::string();
  const std::string axisWord = AxisCfgText(20028);
  if (axes.count == 1) return std::to_string(axes.axes[0] + 1) + axisWord;
  std::string name = FormatText("[%c] ", {GroupLetter(EntryGroupNo(entry))});
  for (int i = 0; i < axes.count; ++i) {
    if (i > 0) name += ',';
    name += std::to_string(axes.axes[i] + 1);
  }
  return name + axisWord;
}

int ColumnAxis(int column) {
  return (column >= kColFirstMove && column < kColAccelPattern) ? (column - kColFirstMove) / 2 : -1;
}

bool IsMoveColumn(int column) { return ColumnAxis(column) >= 0 && (column - kColFirstMove) % 2 == 0; }
bool IsAuxPointColumn(int column) { return ColumnAxis(column) >= 0 && (column - kColFirstMove) % 2 == 1; }

unsigned ColumnTitleId(int column) {
  if (ColumnAxis(column) >= 0) return 20001u + static_cast<unsigned>(column - kColFirstMove);
  switch (column) {
    case kColControlMethod: return 30006;
    case kColJumpNo: return 30145;
    case kColInterpPattern: return 20029;
    case kColPositionMode: return 20000;
    case kColAccelPattern: return 20030;
    case kColAccelTime: return 20024;
    case kColDecelTime: return 20025;
    case kColAxisSpeed: return 30010;
    case kColInterpSpeed: return 30150;
    case kColDwellTime: return 30012;
    case kColAuxCode: return 30013;
    case kColComment: return 30014;
    default: return 0;
  }
}

std::string GetColumnTitle(int column, uint32_t entry) {
  unsigned id = ColumnTitleId(column);
  if (id == 0) return std::string();
  int axis = ColumnAxis(column);
  if (axis < 0) return AxisCfgText(id);
  AxisList axes = EntryAxes(entry);
  char letter = 'X';
  for (int i = 0; i < axes.count && i < 3; ++i)
    if (axes.axes[i] == axis) letter = static_cast<char>('X' + i);
  return FormatText(AxisCfgText(id), {std::string(1, letter)});
}

std::vector<std::string> GetColumnChoices(int column, uint32_t entry) {
  int axes = EntryAxes(entry).count;
  switch (column) {
    case kColControlMethod:
      return axes >= 2 ? Texts({30131, 30128, 30129}) : Texts({30131, 30128, 30129, 30135});
    case kColInterpPattern:
      if (axes == 2) return Texts({20040, 20041, 20042, 20043, 20044});
      if (axes == 3)
        return Texts({20050, 20051, 20052, 20053, 20054, 20055, 20056, 20057, 20060, 20061, 20062});
      return {};
    case kColPositionMode: return Texts({30133, 30132});
    case kColAccelPattern: return Texts({20100, 20101});
    default: return {};
  }
}

}  // namespace axcfg
