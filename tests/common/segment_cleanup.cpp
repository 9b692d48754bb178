// Each test process maps a shared segment of its own (its KELD_HOME names
// it); remove it when the process is done so none is left behind.
#include <gtest/gtest.h>
#include <sys/mman.h>

#include "shared_segment.h"

namespace {

class CSegmentCleanup : public ::testing::Environment {
 public:
  void TearDown() override { ::shm_unlink(tavinter::SegmentName()); }
};

const auto* gCleanup = ::testing::AddGlobalTestEnvironment(new CSegmentCleanup);

}  // namespace
