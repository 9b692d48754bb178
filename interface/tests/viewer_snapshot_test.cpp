// The viewer's locked ring snapshots: state and lines in one copy, the
// append counter that every viewer sees, and a ring's identity across being
// freed and handed to another owner.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "client_handles.h"
#include "shared_segment.h"
#include "tavinter/tavinter.h"

using namespace tavinter;

namespace {

constexpr int kPort = 250;

std::string LineAt(const std::vector<char>& lines, int index) {
  return std::string(&lines[static_cast<size_t>(index) * TAV_RECORD_LINE_BYTES]);
}

void Log(int port, int handle, const std::string& text) {
  ASSERT_EQ(TavLogRecord(port, handle, 0, 1, static_cast<int>(text.size()), text.data(), "", ""), 0);
}

class ViewerSnapshot : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(TavAttachPort(kPort, TAV_ROLE_SERVER), 0);
    ASSERT_EQ(TavAttachPortRecords(kPort), 0);
  }
  void TearDown() override {
    TavReleasePort(kPort);
    TavReleasePortFinal(kPort);
  }
};

TEST_F(ViewerSnapshot, CopiesStateAndLinesAtTheirRingIndices) {
  Log(kPort, 0, "first");
  Log(kPort, 0, std::string(130, 'x'));  // header, 118 and 12 characters
  TavRingSnapshot st{};
  std::vector<char> lines(static_cast<size_t>(3000) * TAV_RECORD_LINE_BYTES, '#');
  ASSERT_EQ(TavSnapshotPortRecords(kPort, &st, lines.data(), 3000), 0);
  EXPECT_EQ(st.owner, kPort);
  EXPECT_NE(st.serial, 0u);
  EXPECT_EQ(st.capacity, 3000);
  EXPECT_EQ(st.start, 0);
  EXPECT_EQ(st.count, 5);
  EXPECT_EQ(st.appended, 5u);
  EXPECT_EQ(LineAt(lines, 0)[0], '[');
  EXPECT_EQ(LineAt(lines, 1), "first");
  EXPECT_EQ(LineAt(lines, 3), std::string(118, 'x'));
  EXPECT_EQ(LineAt(lines, 4), std::string(12, 'x'));

  // The state alone, a buffer too small, no ring at all, bad arguments.
  TavRingSnapshot again{};
  EXPECT_EQ(TavSnapshotPortRecords(kPort, &again, nullptr, 0), 0);
  EXPECT_EQ(again.serial, st.serial);
  EXPECT_EQ(TavSnapshotPortRecords(kPort, &again, lines.data(), 2999), TAV_E_BUFFER_SMALL);
  EXPECT_EQ(again.count, 5);
  EXPECT_EQ(TavSnapshotPortRecords(kPort + 1, &again, lines.data(), 3000), TAV_E_NOT_OPEN);
  EXPECT_EQ(TavSnapshotPortRecords(0, &again, nullptr, 0), TAV_E_BAD_ARGUMENT);
  EXPECT_EQ(TavSnapshotClientRecords(0, &again, nullptr, 0), TAV_E_BAD_ARGUMENT);
  EXPECT_EQ(TavSnapshotClientRecords(4321, &again, nullptr, 0), TAV_E_NOT_OPEN);
}

TEST_F(ViewerSnapshot, EveryViewerSeesNewLinesOfAFullRing) {
  TavResetPortRecords(kPort);
  for (int i = 0; i < 1500; ++i) Log(kPort, 0, "f" + std::to_string(i));
  TavRingSnapshot a{}, b{};
  ASSERT_EQ(TavSnapshotPortRecords(kPort, &a, nullptr, 0), 0);
  ASSERT_EQ(a.count, 3000);
  // One viewer clears the status bit; the other still sees the counter move.
  TavMarkPortSeen(kPort);
  Log(kPort, 0, "late");
  ASSERT_EQ(TavSnapshotPortRecords(kPort, &b, nullptr, 0), 0);
  EXPECT_EQ(b.count, 3000);
  EXPECT_EQ(b.appended, a.appended + 2);
  EXPECT_EQ(b.start, (a.start + 2) % 3000);
}

TEST_F(ViewerSnapshot, ARingGivenToAnotherOwnerComesBackWithAnotherSerial) {
  TavRingSnapshot before{};
  ASSERT_EQ(TavSnapshotPortRecords(kPort, &before, nullptr, 0), 0);
  // The server ends: its ring is freed; a new server of the same port gets one again.
  TavReleasePort(kPort);
  TavReleasePortFinal(kPort);
  TavRingSnapshot gone{};
  EXPECT_EQ(TavSnapshotPortRecords(kPort, &gone, nullptr, 0), TAV_E_NOT_OPEN);
  ASSERT_EQ(TavAttachPort(kPort, TAV_ROLE_SERVER), 0);
  ASSERT_EQ(TavAttachPortRecords(kPort), 0);
  TavRingSnapshot after{};
  ASSERT_EQ(TavSnapshotPortRecords(kPort, &after, nullptr, 0), 0);
  EXPECT_EQ(after.owner, kPort);
  EXPECT_NE(after.serial, before.serial);
  EXPECT_EQ(after.appended, 0u);
}

TEST_F(ViewerSnapshot, ClientRingsFollowTheirHandle) {
  int handle = AllocateClientHandle("snapshot test");
  ASSERT_GT(handle, 0);
  ASSERT_EQ(TavAddClient(kPort, handle, "snapshot test"), 0);
  ASSERT_EQ(TavAttachClientRecords(handle), 0);
  Log(kPort, handle, "to the client");
  TavRingSnapshot st{};
  std::vector<char> lines(static_cast<size_t>(10000) * TAV_RECORD_LINE_BYTES);
  ASSERT_EQ(TavSnapshotClientRecords(handle, &st, lines.data(), 10000), 0);
  EXPECT_EQ(st.owner, handle);
  EXPECT_EQ(st.capacity, 10000);
  EXPECT_EQ(st.count, 2);
  EXPECT_EQ(LineAt(lines, 1), "to the client");
  // The client leaves: its ring goes with it.
  TavReleaseClient(handle);
  EXPECT_EQ(TavSnapshotClientRecords(handle, &st, nullptr, 0), TAV_E_NOT_OPEN);
  FreeClientHandle(handle);
}

}  // namespace
