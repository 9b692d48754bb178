#pragma once
// Item-by-item differences between two configurations: each differing
// family, layout entry, synchronous group field, parameter and table cell,
// with both values as the editor shows them.
#include <string>
#include <vector>

namespace axcfg {

class CAxisCfgDoc;
struct CSettingDataSet;

struct DifferenceItem {
  enum class Part { Family, Layout, SyncGroup, Parameter, Table };
  Part part = Part::Family;
  std::string where;  // sheet name, axis label or "Synchronous group n"; empty for family and layout
  int tableNo = 0;    // 1-based table No. of a table cell, else 0
  std::string item;   // column title, parameter name or field name
  std::string first;  // the value in the first configuration
  std::string second; // the value in the second configuration
  bool operator==(const DifferenceItem&) const = default;
};

// Every differing item, in the order family, layout, synchronous groups,
// parameters (by editor row, then axis), tables (by sheet, then table No.,
// then column). Sheets are those of the first layout, followed by single-axis
// sheets for axes it does not use, so no stored value escapes the list.
// Row comments are compared only when asked.
std::vector<DifferenceItem> ListDifferences(const CSettingDataSet& a, const CSettingDataSet& b,
                                            bool compareComments = true);
std::vector<DifferenceItem> ListDifferences(const CAxisCfgDoc& a, const CSettingDataSet& b,
                                            bool compareComments = true);

// "Part name" of an item: "Unit family", "Axis layout", ...
std::string DifferencePartName(DifferenceItem::Part part);
// One line: "Table [A] 1,2Axis No. 3 Movement amount X: 10.000 | 20.000".
std::string DifferenceLine(const DifferenceItem& item);

}  // namespace axcfg
