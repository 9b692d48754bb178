#include "axcfg_data/data_check.h"

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/cp932_text.h"
#include "axcfg_data/pos_columns.h"
#include "axcfg_data/pos_row_text.h"
#include "axcfg_data/pos_sheets.h"
#include "axcfg_data/sync_group_check.h"

namespace axcfg {

namespace {

constexpr unsigned kIdParamOutOfRange = 21183;
constexpr unsigned kIdNoError = 30109;
constexpr unsigned kIdCheckFailed = 30222;
constexpr unsigned kIdTableError = 30223;

constexpr int64_t kMaxMove = 1073741823;
constexpr int64_t kMinAux = -2147483648LL;
constexpr int64_t kMaxAux = 2147483647LL;

bool Within(int64_t v, int64_t lo, int64_t hi) { return v >= lo && v <= hi; }

std::string ReplaceFirst(std::string text, const std::string& what, const std::string& with) {
  size_t at = text.find(what);
  if (at != std::string::npos) text.replace(at, what.size(), with);
  return text;
}

// "Table No. ddd: sss" with the table No. and the column title filled in.
std::string TableErrorText(const std::string& pattern, const std::string& tableNo, const std::string& title) {
  return ReplaceFirst(ReplaceFirst(pattern, "ddd", tableNo), "sss", title);
}

// The text after the first line break ("Table No. ddd: sss" of the table
// error message), so that every language keeps its own wording.
std::string SecondLine(const std::string& text) {
  const size_t at = text.find('\n');
  return at == std::string::npos ? text : text.substr(at + 1);
}

}  // namespace

bool IsTableValueValid(const CPosData& row, int k, const AxisList& axes, int member, int column) {
  if (member < 0 || member >= axes.count) return true;
  const int axis = axes.axes[member];
  const PosElement& e = row.Element(axis);
  if (int owner = ColumnAxis(column); owner >= 0) {
    if (owner != axis) return true;
    return IsMoveColumn(column) ? Within(e.moveAmount, -kMaxMove, kMaxMove) : Within(e.auxPoint, kMinAux, kMaxAux);
  }
  if (column == kColPositionMode) return e.positionMode <= kPosAbsolute;
  if (member != 0) return true;
  const bool group = axes.count >= 2;
  switch (column) {
    case kColControlMethod:
      // J is a single-axis method: no group sheet offers it.
      if (e.controlMethod > (group ? kCtrlContinue : kCtrlJog)) return false;
      return k != kTableRowCount - 1 || e.controlMethod == kCtrlEnd;
    case kColJumpNo: return Within(e.jumpNo, 0, kTableRowCount);
    case kColInterpPattern: return IsInterpPatternAllowed(e.interpPattern, axes.count);
    case kColAccelPattern: return e.accelPattern <= 1;
    case kColAccelTime: return Within(e.accelTime, 0, 10000);
    case kColDecelTime: return Within(e.decelTime, 0, 10000);
    case kColAxisSpeed:
    case kColInterpSpeed: return Within(e.targetSpeed, 1, 32767000);
    case kColDwellTime: return Within(e.dwellTime, 0, 32767);
    case kColAuxCode: return Within(e.auxCode, 0, 65535);
    case kColComment: return Cp932Length(e.comment) <= kMaxCommentBytes;
    default: return true;
  }
}

std::string TableValueMessage(uint32_t entry, int k, int column) {
  const std::string tableNo = std::to_string(k + 1);
  const ColumnSet shown = GetColumnSet(entry);
  for (int c = 0; c < shown.count; ++c)
    if (shown.columns[c] == column)
      return TableErrorText(AxisCfgText(kIdTableError), tableNo, GetColumnTitle(column, entry));
  std::string text = AxisCfgText(kIdCheckFailed);
  // Files can bring any jump table No.: the general message gets the place
  // of the value as its second line.
  if (column == kColJumpNo && shown.count > 0)
    text += "\r\n" + TableErrorText(SecondLine(AxisCfgText(kIdTableError)), tableNo, GetColumnTitle(column, entry));
  return text;
}

uint32_t CheckTables(const CAxisCfgDoc& doc) {
  const std::vector<uint32_t> sheets = GetSheetEntries(doc.GetLayout());
  if (sheets.empty()) return kTablesCheckFailed;
  for (size_t s = 0; s < sheets.size(); ++s) {
    const AxisList axes = EntryAxes(sheets[s]);
    if (axes.count < 1 || axes.count > 3) return kTablesCheckFailed;
    const ColumnSet columns = GetColumnSet(sheets[s], true);
    const int sheet = static_cast<int>(s);
    for (int k = 0; k < doc.GetRowCount(); ++k) {
      const CPosData* row = doc.GetPosData(k);
      if (!row) return MakeTableLocation(k, sheet, 0);
      for (int m = 0; m < axes.count; ++m)
        for (int c = 0; c < columns.count; ++c)
          if (!IsTableValueValid(*row, k, axes, m, columns.columns[c]))
            return MakeTableLocation(k, sheet, columns.columns[c]);
    }
  }
  return kTablesValid;
}

DataCheckResult CheckData(const CAxisCfgDoc& doc) {
  DataCheckResult r;
  SyncCheckFailure sync = CheckSyncGroups(SyncCheckDataOf(doc));
  if (sync.id) {
    r.stage = CheckStage::SyncGroups;
    r.messageId = sync.id;
    r.message = sync.Text();
    return r;
  }

  CParamBlock params = doc.GetParamBlock();
  params.SetFamily(doc.GetUnitFamily());
  ParamCheckResult p = params.CheckAll(doc.GetLayout().GetUsedAxisMask());
  if (!p.ok) {
    r.stage = CheckStage::Parameters;
    r.messageId = kIdParamOutOfRange;
    r.message = AxisCfgText(kIdParamOutOfRange);
    r.param = p.param;
    r.axis = p.axis;
    return r;
  }

  const uint32_t tables = CheckTables(doc);
  if (tables == kTablesValid) {
    r.messageId = kIdNoError;
    r.message = AxisCfgText(kIdNoError);
    return r;
  }
  r.stage = CheckStage::Tables;
  r.messageId = kIdCheckFailed;
  r.message = AxisCfgText(kIdCheckFailed);
  if (tables == kTablesCheckFailed) return r;

  r.location = tables;
  const std::vector<uint32_t> sheets = GetSheetEntries(doc.GetLayout());
  const int sheet = LocationSheet(tables);
  if (sheet >= static_cast<int>(sheets.size())) return r;
  r.sheetEntry = sheets[sheet];
  const int column = LocationColumn(tables);
  const ColumnSet shown = GetColumnSet(r.sheetEntry);
  for (int c = 0; c < shown.count; ++c)
    if (shown.columns[c] == column) {
      r.cellColumn = c;
      r.messageId = kIdTableError;
    }
  // No sheet shows the jump table No.: the cursor goes to the line of that
  // table.
  if (r.cellColumn < 0 && column == kColJumpNo && shown.count > 0) r.cellColumn = 0;
  r.message = TableValueMessage(r.sheetEntry, LocationTable(tables), column);
  return r;
}

}  // namespace axcfg
