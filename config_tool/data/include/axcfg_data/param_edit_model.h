#pragma once
// The parameter settings editor without widgets: a working copy of the
// document's parameter records shown as rows (parameters of the family) and
// columns (the axes of the layout), and every decision the editor makes on
// it: cell texts and styles, editors, commits with their refusals, the OK
// check, copying and initialising axes. The dialog and the command line
// only show and drive what this class decides.
#include <cstdint>
#include <string>
#include <vector>

#include "axcfg_data/axis_layout.h"
#include "axcfg_data/param_block.h"
#include "axcfg_data/sync_group.h"

namespace axcfg {

class CAxisCfgDoc;

// Style bits of a cell as the parameter grid draws it.
enum CellStyle : unsigned {
  kCellCentre = 0x01,
  kCellLeft = 0x02,
  kCellRight = 0x04,
  kCellTop = 0x10,
  kCellBottom = 0x20,
  kCellMiddle = 0x40,
  kCellGrey = 0x100,
  kCellRed = 0x200,
};

// Editor kind of a cell: a drop-down list, an edit field of one of the
// number kinds, or none.
inline constexpr int kEditList = kKindChoice;
inline constexpr int kEditNone = kKindNotUsed;

struct ParamCell {
  std::string text;
  unsigned style = 0;
};

// The outcome of an edit step. A refusal keeps the working copy as it was.
struct ParamEditResult {
  unsigned id = 0;        // 0: accepted; else the refusal's text id
  std::string message;    // the refusal, empty when accepted
  std::string info;       // an information text to show after an accepted step
  std::vector<int> redrawColumns;  // columns whose cells may have changed
  bool Accepted() const { return id == 0; }
};

struct ParamOkCheck {
  bool ok = true;
  unsigned id = 0;  // 21183 when a shown value is out of range
  std::string message;
  int row = -1;     // the failing cell
  int column = -1;
};

class CParamEditModel {
 public:
  static constexpr unsigned kIdUnreadable = 21181;
  static constexpr unsigned kIdOutOfRange = 21182;
  static constexpr unsigned kIdOkOutOfRange = 21183;
  static constexpr unsigned kIdModeBHomeCode = 21184;
  static constexpr unsigned kIdChooseInitialise = 10103;

  // The working copy: the document's records with the document's family,
  // its layout and synchronous groups.
  explicit CParamEditModel(const CAxisCfgDoc& doc);
  CParamEditModel(const CParamBlock& params, uint32_t family, const CAxisLayout& layout, const SyncGroups& sync);

  const CParamBlock& Params() const { return params_; }
  const CAxisLayout& Layout() const { return layout_; }

  // --- Rows and columns ---
  int RowCount() const { return params_.GetRowCount(); }
  int ColumnCount() const { return static_cast<int>(axes_.size()); }
  int RowToParam(int row) const { return params_.RowToParam(row); }
  int ParamToRow(int no) const { return params_.ParamToRow(no); }
  // Axis index of a column, -1 outside; column of an axis, -1 when not shown.
  int ColumnAxis(int column) const;
  int AxisColumn(int axis) const;
  // Mask of the shown axes.
  uint16_t ShownMask() const;
  bool IsCell(int column, int row) const;

  std::string RowTitle(int row) const;
  std::string ColumnTitle(int column) const;
  ParamCell Cell(int column, int row) const;
  std::string Guidance(int column, int row) const;

  // --- Editors ---
  // kEditList, 2, 3, 4, 5, or kEditNone (also outside the cells).
  int EditKind(int column, int row) const;
  int EditLength(int column, int row) const;
  // The choice texts of a list cell, up to the first one without text.
  std::vector<std::string> Choices(int column, int row) const;
  // The index of the stored value, -1 when it has no choice text.
  int CurrentChoice(int column, int row) const;
  // What an edit field starts with.
  std::string EditText(int column, int row) const;

  // --- Commits ---
  // A selected index; -1 (nothing selected) keeps the stored value. The unit
  // goes to the whole interpolation group; the home return setting code of
  // the master of a synchronous group in Mode B is refused unless it is one
  // the unit can follow.
  ParamEditResult CommitChoice(int column, int row, int index);
  // Typed text of a number cell, read in the cell's kind and decimals and
  // checked against the range before anything is stored.
  ParamEditResult CommitText(int column, int row, const std::string& text);

  // The OK check over the shown axes.
  ParamOkCheck CheckForOk() const;

  // Copies one shown axis to another (nothing when they are the same), then
  // gives the destination's group the destination's unit.
  ParamEditResult CopyAxis(int fromAxis, int toAxis);
  // Resets the shown axes of the mask; 10103 when it holds none.
  ParamEditResult Initialize(uint16_t mask);

  // Puts the records into the document, marks it modified and refreshes its views.
  void Apply(CAxisCfgDoc& doc) const;

 private:
  void BuildColumns();
  // The columns of the axes whose record differs from `before`.
  std::vector<int> ChangedColumns(const CParamBlock& before) const;
  bool IsModeBMaster(int axis) const;
  // Puts a home return method the unit can follow on Mode B masters among
  // `changed`; returns the message naming the corrections.
  std::string CorrectModeBMasters(uint16_t changed);
  ParamEditResult Refuse(unsigned id) const;

  CParamBlock params_;
  CAxisLayout layout_;
  SyncGroups sync_{};
  std::vector<int> axes_;  // shown axes in layout order
};

}  // namespace axcfg
