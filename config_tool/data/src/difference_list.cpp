#include "axcfg_data/difference_list.h"

#include <algorithm>
#include <functional>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/pos_columns.h"
#include "axcfg_data/pos_row_text.h"
#include "axcfg_data/pos_sheets.h"
#include "axcfg_data/setting_data_set.h"

namespace axcfg {

namespace {

using Part = DifferenceItem::Part;

// One side of the comparison, whether it is a document or a loaded set.
struct Side {
  uint32_t family = 0;
  const CAxisLayout* layout = nullptr;
  const SyncGroups* sync = nullptr;
  CParamBlock params;  // a copy carrying the side's family, so rows and formats follow it
  int rowCount = 0;
  std::function<const CPosData*(int)> row;
};

Side SideOf(const CSettingDataSet& s) {
  Side side{s.family, &s.layout, &s.sync, s.params, s.RowCount(), [&s](int k) { return s.Row(k); }};
  side.params.SetFamily(s.family);
  return side;
}

Side SideOf(const CAxisCfgDoc& d) {
  Side side{d.GetUnitFamily(), &d.GetLayout(), &d.GetSyncGroups(), d.GetParamBlock(), d.GetRowCount(),
            [&d](int k) { return d.GetPosData(k); }};
  side.params.SetFamily(d.GetUnitFamily());
  return side;
}

// Whether the stored values behind a column differ. Texts alone would not
// do: the same value reads differently under another unit setting, and
// distinct codes can share a text. Row-wide fields are held by every member
// of a group, so each member counts.
bool ColumnDiffers(const CPosData& x, const CPosData& y, uint32_t entry, int column) {
  const int own = ColumnAxis(column);
  if (own >= 0) {
    const PosElement& a = x.Element(own);
    const PosElement& b = y.Element(own);
    return IsMoveColumn(column) ? a.moveAmount != b.moveAmount : a.auxPoint != b.auxPoint;
  }
  const AxisList axes = EntryAxes(entry);
  for (int i = 0; i < axes.count; ++i) {
    const PosElement& a = x.Element(axes.axes[static_cast<size_t>(i)]);
    const PosElement& b = y.Element(axes.axes[static_cast<size_t>(i)]);
    bool differs = false;
    switch (column) {
      case kColControlMethod: differs = a.controlMethod != b.controlMethod; break;
      case kColJumpNo: differs = a.jumpNo != b.jumpNo; break;
      case kColInterpPattern: differs = a.interpPattern != b.interpPattern; break;
      case kColPositionMode: differs = a.positionMode != b.positionMode; break;
      case kColAccelPattern: differs = a.accelPattern != b.accelPattern; break;
      case kColAccelTime: differs = a.accelTime != b.accelTime; break;
      case kColDecelTime: differs = a.decelTime != b.decelTime; break;
      case kColAxisSpeed:
      case kColInterpSpeed: differs = a.targetSpeed != b.targetSpeed; break;
      case kColDwellTime: differs = a.dwellTime != b.dwellTime; break;
      case kColAuxCode: differs = a.auxCode != b.auxCode; break;
      case kColComment: differs = a.comment != b.comment; break;
      default: break;
    }
    if (differs) return true;
  }
  return false;
}

class CDifferenceLister {
 public:
  CDifferenceLister(const Side& a, const Side& b, bool comments) : a_(a), b_(b), comments_(comments) {}

  std::vector<DifferenceItem> Run() {
    if (a_.family != b_.family) Add(Part::Family, "", 0, "Unit family", FamilyText(a_.family), FamilyText(b_.family));
    Layout();
    for (int g = 0; g < 2; ++g) Sync(g);
    Params();
    Tables();
    return std::move(items_);
  }

 private:
  void Add(Part part, std::string where, int tableNo, std::string item, std::string first, std::string second) {
    items_.push_back({part, std::move(where), tableNo, std::move(item), std::move(first), std::move(second)});
  }

  static std::string FamilyText(uint32_t family) { return std::to_string(family); }

  static std::string EntryText(const CAxisLayout& layout, int i) {
    return i < layout.GetAxisEntryCount() ? GetSheetName(layout.GetAxisEntry(i)) : "(none)";
  }

  void Layout() {
    const int entries = std::max(a_.layout->GetAxisEntryCount(), b_.layout->GetAxisEntryCount());
    for (int i = 0; i < entries; ++i) {
      const std::string x = EntryText(*a_.layout, i);
      const std::string y = EntryText(*b_.layout, i);
      if (i < a_.layout->GetAxisEntryCount() && i < b_.layout->GetAxisEntryCount() &&
          a_.layout->GetAxisEntry(i) == b_.layout->GetAxisEntry(i))
        continue;
      Add(Part::Layout, "", 0, "Entry " + std::to_string(i + 1), x, y);
    }
  }

  static std::string MaskText(uint16_t mask) {
    std::string text;
    for (int axis = 0; axis < 16; ++axis) {
      if (!(mask & (1u << axis))) continue;
      if (!text.empty()) text += ",";
      text += std::to_string(axis + 1) + " axis";
    }
    return text.empty() ? "-" : text;
  }

  static std::string BehaviorText(uint16_t v) {
    static const char* const kTexts[] = {"Error", "Warning", "Not available"};
    return v < 3 ? kTexts[v] : std::to_string(v);
  }

  void Sync(int g) {
    const CSyncGroupRecord& x = (*a_.sync)[static_cast<size_t>(g)];
    const CSyncGroupRecord& y = (*b_.sync)[static_cast<size_t>(g)];
    const std::string where = "Synchronous group " + std::to_string(g + 1);
    auto field = [&](bool differs, const char* name, std::string first, std::string second) {
      if (differs) Add(Part::SyncGroup, where, 0, name, std::move(first), std::move(second));
    };
    auto onOff = [](uint32_t v) { return std::string(v == 1 ? "On" : v == 0 ? "Off" : std::to_string(v)); };
    auto mode = [](uint16_t v) { return std::string(v == 0 ? "Mode A" : v == 1 ? "Mode B" : std::to_string(v)); };
    field(x.operation != y.operation, "Operation", onOff(x.operation), onOff(y.operation));
    field(x.mode != y.mode, "Mode", mode(x.mode), mode(y.mode));
    field(x.masterMask != y.masterMask, "Master axis", MaskText(x.masterMask), MaskText(y.masterMask));
    field(x.slaveMask != y.slaveMask, "Slave axis", MaskText(x.slaveMask), MaskText(y.slaveMask));
    field(x.difference != y.difference, "Allowable difference", std::to_string(x.difference),
          std::to_string(y.difference));
    field(x.differenceBehavior != y.differenceBehavior, "Action on difference", BehaviorText(x.differenceBehavior),
          BehaviorText(y.differenceBehavior));
  }

  std::string AxisLabel(int axis) const {
    std::string label = a_.layout->GetAxisLabel(axis);
    return label.empty() ? std::to_string(axis + 1) + " axis" : label;
  }

  void Params() {
    for (int row = 0; row < a_.params.GetRowCount(); ++row) {
      const int no = a_.params.RowToParam(row);
      for (int axis = 0; axis < kAxisCount; ++axis) {
        if (a_.params.GetParam(no, axis) == b_.params.GetParam(no, axis)) continue;
        Add(Part::Parameter, AxisLabel(axis), 0, a_.params.GetParamName(no), a_.params.FormatParam(no, axis),
            b_.params.FormatParam(no, axis));
      }
    }
  }

  // The sheets of the first layout, then one single-axis sheet for each
  // axis that layout leaves out.
  std::vector<uint32_t> Sheets() const {
    std::vector<uint32_t> sheets = GetSheetEntries(*a_.layout);
    for (int axis = 0; axis < kAxisCount; ++axis)
      if (!a_.layout->IsAxisUsed(axis)) sheets.push_back(MakeSingleAxisEntry(axis));
    return sheets;
  }

  void Tables() {
    const int rows = std::max(a_.rowCount, b_.rowCount);
    const std::vector<uint32_t> sheets = Sheets();
    for (uint32_t entry : sheets) {
      const std::string sheet = GetSheetName(entry);
      const ColumnSet set = GetColumnSet(entry, true);
      for (int k = 0; k < rows; ++k) {
        const CPosData* x = a_.row(k);
        const CPosData* y = b_.row(k);
        if (!x || !y) continue;
        for (int i = 0; i < set.count; ++i) {
          const int column = set.columns[static_cast<size_t>(i)];
          if (column == kColComment && !comments_) continue;
          if (!ColumnDiffers(*x, *y, entry, column)) continue;
          Add(Part::Table, sheet, k + 1, ColumnTitle(column, entry), RowCellText(*x, a_.params, entry, column),
              RowCellText(*y, b_.params, entry, column));
        }
      }
    }
    // A table that only one side holds.
    for (int k = 0; k < rows; ++k)
      if (!a_.row(k) != !b_.row(k))
        Add(Part::Table, "", k + 1, "Table", a_.row(k) ? "present" : "(none)", b_.row(k) ? "present" : "(none)");
  }

  static std::string ColumnTitle(int column, uint32_t entry) {
    std::string title = GetColumnTitle(column, entry);
    return title.empty() && column == kColJumpNo ? "Jump table No." : title;
  }

  const Side& a_;
  const Side& b_;
  bool comments_;
  std::vector<DifferenceItem> items_;
};

}  // namespace

std::vector<DifferenceItem> ListDifferences(const CSettingDataSet& a, const CSettingDataSet& b, bool compareComments) {
  const Side x = SideOf(a);
  const Side y = SideOf(b);
  return CDifferenceLister(x, y, compareComments).Run();
}

std::vector<DifferenceItem> ListDifferences(const CAxisCfgDoc& a, const CSettingDataSet& b, bool compareComments) {
  const Side x = SideOf(a);
  const Side y = SideOf(b);
  return CDifferenceLister(x, y, compareComments).Run();
}

std::string DifferencePartName(DifferenceItem::Part part) {
  switch (part) {
    case Part::Family: return "Unit family";
    case Part::Layout: return "Axis layout";
    case Part::SyncGroup: return "Synchronous group";
    case Part::Parameter: return "Parameter";
    case Part::Table: return "Table";
  }
  return "";
}

std::string DifferenceLine(const DifferenceItem& d) {
  std::string line;
  switch (d.part) {
    case Part::Family: line = d.item; break;
    case Part::Layout: line = "Axis layout " + d.item; break;
    case Part::SyncGroup: line = d.where + " " + d.item; break;
    case Part::Parameter: line = "Parameter " + d.item + " (" + d.where + ")"; break;
    case Part::Table:
      line = "Table ";
      if (!d.where.empty()) line += d.where + " ";
      line += "No. " + std::to_string(d.tableNo);
      if (d.item != "Table") line += " " + d.item;
      break;
  }
  return line + ": " + d.first + " | " + d.second;
}

}  // namespace axcfg
