#pragma once
// The columns of a positioning-table row. A sheet shows the columns that
// apply to its axis entry, in ascending column number; the row text, the
// grid and the CSV export all follow this one column set.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace axcfg {

enum PosColumn : int {
  kColControlMethod = 1,
  kColJumpNo = 2,  // never shown
  kColInterpPattern = 3,
  kColPositionMode = 4,
  kColFirstMove = 5,  // movement amount of axis n (0-based): 5 + 2n
  kColFirstAux = 6,   // auxiliary point of axis n: 6 + 2n
  kColAccelPattern = 21,
  kColAccelTime = 22,
  kColDecelTime = 23,
  kColAxisSpeed = 24,    // single axes
  kColInterpSpeed = 25,  // groups
  kColDwellTime = 26,
  kColAuxCode = 27,
  kColComment = 28,
  kColLast = 28,
};

struct ColumnSet {
  int count = 0;
  std::array<int, kColLast> columns{};
};

// The columns of a sheet for the entry: empty for an entry with no axis or
// more than 3. The jump table No. is not shown but the data check walks it.
ColumnSet GetColumnSet(uint32_t entry, bool withJumpNo = false);

// The name of the sheet of an entry: "3Axis" for axis 3 alone, "[A] 1,2Axis"
// for group A of axes 1 and 2.
std::string GetSheetName(uint32_t entry);

// Axis index of a movement-amount or auxiliary-point column, else -1.
int ColumnAxis(int column);
bool IsMoveColumn(int column);
bool IsAuxPointColumn(int column);

// String id of a column header (0 for an unknown column).
unsigned ColumnTitleId(int column);
// The header; movement and auxiliary-point headers carry the axis letter
// within the entry: X, Y, Z for group members in ascending order, X for a
// single axis.
std::string GetColumnTitle(int column, uint32_t entry);

// Choice texts of a choice column in list order (empty for other columns):
// control method E, C, P (and J for single axes), the interpolation
// patterns of a 2- or 3-axis group, position mode I, A, pattern L, S.
std::vector<std::string> GetColumnChoices(int column, uint32_t entry);

}  // namespace axcfg
