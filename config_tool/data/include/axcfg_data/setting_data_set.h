#pragma once
// A complete set of setting data as a file or an upload delivers it: unit
// family, axis layout, synchronous groups, parameters, positioning rows and
// the extra-data list, plus the creator and comment of a file header. Loads
// and comparisons work on such a set before (or instead of) touching the
// document.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/axis_layout.h"
#include "axcfg_data/param_block.h"
#include "axcfg_data/pos_data.h"
#include "axcfg_data/sync_group.h"

namespace axcfg {

struct CSettingDataSet {
  uint32_t family = 0;
  CAxisLayout layout;
  SyncGroups sync{};
  CParamBlock params;  // all axes at their reset values until loaded
  std::vector<std::unique_ptr<CPosData>> rows;
  std::vector<uint16_t> extraData;
  std::array<uint8_t, CAxisCfgDoc::kCreatorFieldBytes> creator{};
  std::array<uint8_t, CAxisCfgDoc::kCommentFieldBytes> comment{};
  uint16_t formatVersion = 0;  // of the file it came from; 0 otherwise

  CSettingDataSet() { layout.Reset(); }
  CSettingDataSet(CSettingDataSet&&) = default;
  CSettingDataSet& operator=(CSettingDataSet&&) = default;

  int RowCount() const { return static_cast<int>(rows.size()); }
  const CPosData* Row(int k) const { return (k >= 0 && k < RowCount()) ? rows[k].get() : nullptr; }
};

}  // namespace axcfg
