// Fuzz entry for the setting file reader: any bytes must load or be refused
// with a message, never crash or read past the data. A file that loads is
// applied to a document and written again; a second load and write must
// give the same bytes (the first write may normalise undecodable comment
// bytes, nothing else). Whatever loads also goes through the data check,
// the CSV texts and the comparison, which must cope with any layout.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/compare.h"
#include "axcfg_data/csv_export.h"
#include "axcfg_data/data_check.h"
#include "axcfg_data/document_file.h"
#include "axcfg_data/pos_sheets.h"
#include "axcfg_data/setting_file.h"

using namespace axcfg;

namespace {

bool Reload(std::string_view bytes, CAxisCfgDoc& doc) {
  CMemoryByteSource source(bytes);
  CSettingDataSet set;
  if (ReadSettingData(source, set) != 0) return false;
  if (set.RowCount() != kTableRowCount) std::abort();
  doc.SetCreatorField(set.creator.data(), set.creator.size());
  doc.SetCommentField(set.comment.data(), set.comment.size());
  ApplyLoadedData(doc, std::move(set));
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool registered = (RegisterAxisCfgDataStrings(), true);
  (void)registered;
  std::string_view input(reinterpret_cast<const char*>(data), size);
  CAxisCfgDoc first;
  if (!Reload(input, first)) return 0;
  std::string once, twice;
  if (BuildSettingFile(first, kAllSections, once) != 0) std::abort();
  CAxisCfgDoc second;
  if (!Reload(once, second)) std::abort();
  if (BuildSettingFile(second, kAllSections, twice) != 0) std::abort();
  CAxisCfgDoc third;
  std::string thrice;
  if (!Reload(twice, third) || BuildSettingFile(third, kAllSections, thrice) != 0) std::abort();
  if (twice != thrice) std::abort();

  // The other cores on whatever the file held.
  CheckData(first);
  size_t csv = BuildParameterCsv(first).size();
  for (uint32_t entry : GetSheetEntries(first.GetLayout())) csv += BuildSheetCsv(first, entry).size();
  if (csv == 0) std::abort();
  CMemoryByteSource source(twice);
  CSettingDataSet set;
  if (ReadSettingData(source, set) != 0) std::abort();
  std::vector<uint32_t> differences;
  if (CompareWithDocument(third, set, differences, true) != 0) std::abort();
  return 0;
}
