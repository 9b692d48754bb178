#include "axcfg_data/param_edit_model.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/fixed_point.h"
#include "axcfg_data/le_bytes.h"
#include "axcfg_data/sync_group_check.h"

namespace axcfg {

namespace {

constexpr size_t kHomeCodeOffset = 64;

// Home return methods a Mode B master can follow, as choice indices.
bool ModeBAllowsChoice(int index) { return index == 1 || index == 4 || index == 6 || index == 8; }

bool IsChoiceKind(int kind) { return kind == kKindChoice || kind == kKindChoiceUnavailable; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// Reads a typed number in the form of the kind; false when it is not one.
bool ReadNumber(int kind, int decimals, const std::string& text, int64_t& value) {
  constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
  constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
  switch (kind) {
    case kKindSigned:
      return ParseInteger(text, kMin, kMax, value);
    case kKindUnsigned: {
      std::string_view t = Trimmed(text);
      if (t.empty() || t.front() == '-' || t.front() == '+') return false;
      return ParseInteger(text, 0, kMax, value);
    }
    case kKindSignedFixed:
    case kKindFixed:
      return ParseFixed(text, decimals, value);
    default:
      return false;
  }
}

}  // namespace

CParamEditModel::CParamEditModel(const CAxisCfgDoc& doc)
    : CParamEditModel(doc.GetParamBlock(), doc.GetUnitFamily(), doc.GetLayout(), doc.GetSyncGroups()) {}

CParamEditModel::CParamEditModel(const CParamBlock& params, uint32_t family, const CAxisLayout& layout,
                                 const SyncGroups& sync)
    : params_(params), layout_(layout), sync_(sync) {
  params_.SetFamily(family);
  BuildColumns();
}

void CParamEditModel::BuildColumns() {
  // Layout order: a group's members one after another. A damaged layout may
  // name an axis twice; it is shown once.
  uint16_t seen = 0;
  auto add = [&](int axis) {
    if (axis < 0 || axis >= kAxisCount || (seen & (1u << axis))) return;
    seen = static_cast<uint16_t>(seen | (1u << axis));
    axes_.push_back(axis);
  };
  int cursor = 1;
  for (int guard = 0; cursor != 0 && guard < kAxisCount; ++guard) {
    const int item = layout_.NextLayoutItem(cursor);
    if (item < 0) break;
    if (item >= kGroupItemBase) {
      const int group = item - kGroupItemBase;
      for (int member = 1; member <= kAxisCount; ++member) {
        const int axis = layout_.GetGroupAxis(group, member);
        if (axis < 0) break;
        add(axis);
      }
    } else {
      add(item);
    }
  }
}

int CParamEditModel::ColumnAxis(int column) const {
  return column >= 0 && column < ColumnCount() ? axes_[static_cast<size_t>(column)] : -1;
}

int CParamEditModel::AxisColumn(int axis) const {
  auto it = std::find(axes_.begin(), axes_.end(), axis);
  return it == axes_.end() ? -1 : static_cast<int>(it - axes_.begin());
}

uint16_t CParamEditModel::ShownMask() const {
  uint16_t mask = 0;
  for (int axis : axes_) mask = static_cast<uint16_t>(mask | (1u << axis));
  return mask;
}

bool CParamEditModel::IsCell(int column, int row) const {
  return column >= 0 && column < ColumnCount() && row >= 0 && row < RowCount();
}

std::string CParamEditModel::RowTitle(int row) const {
  const int no = RowToParam(row);
  return no < 0 ? std::string() : params_.GetParamName(no);
}

std::string CParamEditModel::ColumnTitle(int column) const {
  const int axis = ColumnAxis(column);
  return axis < 0 ? std::string() : layout_.GetAxisLabel(axis);
}

ParamCell CParamEditModel::Cell(int column, int row) const {
  if (!IsCell(column, row)) return {};
  const int no = RowToParam(row);
  const int axis = ColumnAxis(column);
  const int kind = params_.GetParamKind(no, axis);
  ParamCell cell;
  cell.text = params_.FormatParam(no, axis);
  cell.style = kCellMiddle | (IsChoiceKind(kind) ? kCellLeft : kCellRight);
  if (kind == kKindChoiceUnavailable || kind == kKindNotUsed) cell.style |= kCellGrey;
  else if (!params_.IsInRange(no, axis, params_.GetParamValue(no, axis))) cell.style |= kCellRed;
  return cell;
}

std::string CParamEditModel::Guidance(int column, int row) const {
  if (!IsCell(column, row)) return std::string();
  return params_.GetGuidance(RowToParam(row), ColumnAxis(column));
}

int CParamEditModel::EditKind(int column, int row) const {
  if (!IsCell(column, row)) return kEditNone;
  const int kind = params_.GetParamKind(RowToParam(row), ColumnAxis(column));
  switch (kind) {
    case kKindChoice:
    case kKindSigned:
    case kKindSignedFixed:
    case kKindUnsigned:
    case kKindFixed:
      return kind;
    default:
      return kEditNone;
  }
}

int CParamEditModel::EditLength(int column, int row) const {
  if (!IsCell(column, row)) return 0;
  return params_.GetEditLength(RowToParam(row), ColumnAxis(column));
}

std::vector<std::string> CParamEditModel::Choices(int column, int row) const {
  std::vector<std::string> list;
  if (!IsCell(column, row)) return list;
  const int no = RowToParam(row);
  for (int i = 0; i < params_.GetChoiceCount(no); ++i) {
    std::string text = params_.GetChoiceText(no, i);
    if (text.empty()) break;
    list.push_back(std::move(text));
  }
  return list;
}

int CParamEditModel::CurrentChoice(int column, int row) const {
  if (!IsCell(column, row)) return -1;
  const uint32_t index = params_.GetParam(RowToParam(row), ColumnAxis(column));
  return index < Choices(column, row).size() ? static_cast<int>(index) : -1;
}

std::string CParamEditModel::EditText(int column, int row) const {
  if (!IsCell(column, row)) return std::string();
  return params_.FormatParam(RowToParam(row), ColumnAxis(column));
}

ParamEditResult CParamEditModel::Refuse(unsigned id) const {
  ParamEditResult r;
  r.id = id;
  r.message = AxisCfgText(id);
  return r;
}

std::vector<int> CParamEditModel::ChangedColumns(const CParamBlock& before) const {
  std::vector<int> columns;
  for (int column = 0; column < ColumnCount(); ++column) {
    const int axis = ColumnAxis(column);
    if (std::memcmp(before.RecordBytes(axis), params_.RecordBytes(axis), kParamRecordBytes) != 0)
      columns.push_back(column);
  }
  return columns;
}

bool CParamEditModel::IsModeBMaster(int axis) const {
  // A switched-off group keeps its mode; only a group that is on binds its master.
  for (const CSyncGroupRecord& g : sync_)
    if (g.operation != 0 && g.mode == 1 && SyncAxisOfMask(g.masterMask) == axis) return true;
  return false;
}

ParamEditResult CParamEditModel::CommitChoice(int column, int row, int index) {
  if (!IsCell(column, row) || EditKind(column, row) != kEditList) return Refuse(kIdUnreadable);
  ParamEditResult result;
  // Nothing selected: the stored value stays, also one without choice text.
  if (index < 0) return result;
  const int no = RowToParam(row);
  const int axis = ColumnAxis(column);
  if (index >= static_cast<int>(Choices(column, row).size())) return Refuse(kIdUnreadable);
  if (no == kParamHomeCode && IsModeBMaster(axis) && !ModeBAllowsChoice(index)) return Refuse(kIdModeBHomeCode);
  const CParamBlock before = params_;
  const bool stored = no == kParamUnit ? SetGroupUnit(params_, layout_, axis, index)
                                       : params_.SetParam(no, axis, static_cast<uint32_t>(index));
  if (!stored) return Refuse(kIdUnreadable);
  result.redrawColumns = ChangedColumns(before);
  return result;
}

ParamEditResult CParamEditModel::CommitText(int column, int row, const std::string& text) {
  const int kind = EditKind(column, row);
  if (kind == kEditList || kind == kEditNone) return Refuse(kIdUnreadable);
  const int no = RowToParam(row);
  const int axis = ColumnAxis(column);
  int64_t value = 0;
  if (!ReadNumber(kind, params_.GetDecimals(no, axis), text, value)) return Refuse(kIdUnreadable);
  // The range check sees the whole 64-bit value; nothing is cut to the
  // field's width before it.
  if (!params_.IsInRange(no, axis, value)) return Refuse(kIdOutOfRange);
  const CParamBlock before = params_;
  if (!params_.SetParam(no, axis, static_cast<uint32_t>(value))) return Refuse(kIdOutOfRange);
  ParamEditResult result;
  result.redrawColumns = ChangedColumns(before);
  return result;
}

ParamOkCheck CParamEditModel::CheckForOk() const {
  ParamOkCheck check;
  const ParamCheckResult r = params_.CheckAll(ShownMask());
  if (r.ok) return check;
  check.ok = false;
  check.id = kIdOkOutOfRange;
  check.message = AxisCfgText(kIdOkOutOfRange);
  check.row = ParamToRow(r.param);
  check.column = AxisColumn(r.axis);
  return check;
}

std::string CParamEditModel::CorrectModeBMasters(uint16_t changed) {
  SyncGroupCheckData data;
  data.groups = sync_;
  for (int axis = 0; axis < kAxisCount; ++axis)
    data.homeCodes[axis] = GetLe16(params_.RecordBytes(axis) + kHomeCodeOffset);
  std::vector<HomeReturnCorrection> applied;
  for (const HomeReturnCorrection& c : PlanHomeReturnCorrections(data)) {
    if (!(changed & (1u << c.axis))) continue;
    ParamRecord record{};
    std::memcpy(record.data(), params_.RecordBytes(c.axis), kParamRecordBytes);
    PutLe16(record.data() + kHomeCodeOffset, c.to);
    params_.SetRecordBytes(c.axis, record.data(), record.size());
    applied.push_back(c);
  }
  return HomeReturnCorrectionText(applied, params_.GetFamily());
}

ParamEditResult CParamEditModel::CopyAxis(int fromAxis, int toAxis) {
  ParamEditResult result;
  if (fromAxis == toAxis || AxisColumn(fromAxis) < 0 || AxisColumn(toAxis) < 0) return result;
  const CParamBlock before = params_;
  params_.CopyAxis(fromAxis, toAxis);
  AlignGroupUnit(params_, layout_, toAxis);
  result.info = CorrectModeBMasters(static_cast<uint16_t>(1u << toAxis));
  result.redrawColumns = ChangedColumns(before);
  return result;
}

ParamEditResult CParamEditModel::Initialize(uint16_t mask) {
  const uint16_t chosen = static_cast<uint16_t>(mask & ShownMask());
  if (chosen == 0) return Refuse(kIdChooseInitialise);
  const CParamBlock before = params_;
  params_.ResetAxes(chosen);
  unsigned alignedGroups = 0;
  for (int axis = 0; axis < kAxisCount; ++axis) {
    if (!(chosen & (1u << axis))) continue;
    const int group = layout_.GetAxisGroupNo(axis);
    if (group == 0 || (alignedGroups & (1u << group))) continue;
    alignedGroups |= 1u << group;
    AlignGroupUnit(params_, layout_, axis);
  }
  ParamEditResult result;
  result.info = CorrectModeBMasters(chosen);
  result.redrawColumns = ChangedColumns(before);
  return result;
}

void CParamEditModel::Apply(CAxisCfgDoc& doc) const {
  CWholeDocumentChange whole(doc);
  CParamBlock& target = doc.GetParamBlock();
  for (int axis = 0; axis < kAxisCount; ++axis)
    target.SetRecordBytes(axis, params_.RecordBytes(axis), kParamRecordBytes);
  doc.SetModifiedFlag(true);
  doc.UpdateAllViews(nullptr, kHintRebuildAll);
}

}  // namespace axcfg
