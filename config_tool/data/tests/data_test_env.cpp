// Every test of the data model reads texts from the "AxisCfg" table.
#include <gtest/gtest.h>

#include "axcfg_data/axcfg_strings.h"

namespace {

class DataStringsEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { axcfg::RegisterAxisCfgDataStrings(); }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new DataStringsEnvironment);

}  // namespace
