#include "axcfg_unit/unit_axis_config.h"

#include "axcfg_data/unit_types.h"
#include "axcfg_unit/unit_addresses.h"
#include "axcfg_unit/unit_link.h"

namespace axcfg {

int ReadUnitAxisConfig(CUnitLink& link, CUnitAxisConfig& config) {
  CUnitAxisConfig read;
  if (int rc = link.Read(unitaddr::kLayout, unitaddr::kLayoutWords, read.words.data(), kReportNone)) return rc;
  if (!IsUnitLayoutValid(read.words)) return kUnitLayoutInvalid;
  read.layout.Clear();
  if (!UnitLayoutToEntries(read.words, read.layout)) return kUnitLayoutInvalid;
  if (int rc = link.Read(unitaddr::kModelCode, 1, &read.modelCode, kReportNone)) return rc;
  read.family = GetModelFamily(read.modelCode);
  config = read;
  return 0;
}

std::vector<MonitorAxis> MonitorAxes(const CAxisLayout& layout) {
  std::vector<MonitorAxis> axes;
  for (int axis = 0; axis < kAxisCount; ++axis)
    if (layout.IsAxisUsed(axis)) axes.push_back({axis, layout.GetAxisLabel(axis)});
  return axes;
}

}  // namespace axcfg
