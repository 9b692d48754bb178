// Monitor documents on a scripted library and on the real one.
#include <gtest/gtest.h>

#include <memory>

#include "commscope/monitor_document.h"
#include "scripted_viewer_library.h"

using namespace commscope;
using commscope::testing::CScriptedViewerLibrary;

namespace {

TEST(MonitorDocument, OpensOnlyWithARecordAreaAndDetachesOnce) {
  CScriptedViewerLibrary lib;
  CMonitorDocument none(lib, CMonitorDocument::PortId(69));
  EXPECT_EQ(none.Open(), TAV_E_NOT_OPEN);
  EXPECT_FALSE(none.IsOpen());

  lib.PortRing(70).Append("hello");
  {
    CMonitorDocument doc(lib, CMonitorDocument::PortId(69));
    ASSERT_EQ(doc.Open(), 0);
    EXPECT_EQ(doc.Port(), 70);
    EXPECT_EQ(doc.Capacity(), 3000);
    EXPECT_EQ(doc.Records(), std::vector<std::string>{"hello"});
    EXPECT_TRUE(doc.FirstDisplay());
    EXPECT_EQ(lib.recordWatch[CScriptedViewerLibrary::Key({false, 70})], 1);
    doc.Close();
    doc.Close();
  }
  EXPECT_EQ(lib.recordWatch[CScriptedViewerLibrary::Key({false, 70})], 0);

  CMonitorDocument client(lib, CMonitorDocument::ClientId(3), 0);
  EXPECT_EQ(client.Open(), TAV_E_BAD_ARGUMENT);  // a client document needs its handle
}

TEST(MonitorDocument, WatchRedrawsOnlyOnNewLinesAndMarksSeen) {
  CScriptedViewerLibrary lib;
  auto& ring = lib.ClientRing(44);
  CMonitorDocument doc(lib, CMonitorDocument::ClientId(2), 44);
  ASSERT_EQ(doc.Open(), 0);
  EXPECT_TRUE(doc.IsClient());
  EXPECT_EQ(doc.Capacity(), 10000);
  int redraws = 0;
  int token = doc.AddView([&] { ++redraws; });
  ring.status = 0;
  EXPECT_FALSE(doc.Watch());
  int copies = lib.lineCopies;
  EXPECT_FALSE(doc.Watch());
  EXPECT_EQ(lib.lineCopies, copies);  // an idle tick copies no lines
  ring.Append("[new]");
  EXPECT_TRUE(doc.Watch());
  EXPECT_EQ(redraws, 1);
  EXPECT_EQ(ring.status & 0x80, 0);  // seen
  EXPECT_EQ(doc.Records().back(), "[new]");
  // The status bit alone (a port's clients changed) also redraws.
  ring.status |= 0x80;
  EXPECT_TRUE(doc.Watch());
  EXPECT_EQ(redraws, 2);
  doc.SetPaused(true);
  ring.Append("while paused");
  EXPECT_FALSE(doc.Watch());
  doc.SetPaused(false);
  EXPECT_TRUE(doc.Watch());
  doc.RemoveView(token);
  ring.Append("x");
  doc.Watch();
  EXPECT_EQ(redraws, 3);
  ASSERT_EQ(doc.Clear(), 0);
  EXPECT_TRUE(doc.Records().empty());
}

TEST(MonitorDocument, TwoViewersOfAFullRingBothSeeNewLines) {
  CScriptedViewerLibrary lib;
  auto& ring = lib.PortRing(326);
  for (int i = 0; i < 3000; ++i) ring.Append("old " + std::to_string(i));
  CMonitorDocument a(lib, CMonitorDocument::PortId(325));
  CMonitorDocument b(lib, CMonitorDocument::PortId(325));
  ASSERT_EQ(a.Open(), 0);
  ASSERT_EQ(b.Open(), 0);
  ring.Append("newest");
  ring.status = 0x80;
  EXPECT_TRUE(a.Watch());  // clears the status bit for everyone
  EXPECT_TRUE(b.Watch());  // still sees the counter move, though the count stayed 3,000
  EXPECT_EQ(a.Records().back(), "newest");
  EXPECT_EQ(b.Records().back(), "newest");
  EXPECT_EQ(b.Records().front(), "old 1");
}

TEST(MonitorDocument, ARingFreedAndReassignedEndsTheViewKeepingItsLines) {
  CScriptedViewerLibrary lib;
  lib.ClientRing(9).Append("mine");
  CMonitorDocument doc(lib, CMonitorDocument::ClientId(0), 9);
  ASSERT_EQ(doc.Open(), 0);
  int redraws = 0;
  doc.AddView([&] { ++redraws; });
  // The ring is handed to another allocation: another serial, other lines.
  auto& ring = lib.ClientRing(9);
  ring.serial = 2;
  ring.count = ring.start = 0;
  ring.Append("someone else's frame");
  EXPECT_TRUE(doc.Watch());
  EXPECT_TRUE(doc.Ended());
  EXPECT_EQ(redraws, 1);
  EXPECT_EQ(doc.Records(), std::vector<std::string>{"mine"});
  EXPECT_FALSE(doc.Watch());  // an ended document stays as it is
  EXPECT_EQ(doc.Clear(), TAV_E_NOT_OPEN);
  doc.Close();
  // Not detached: the ring is no longer this view's.
  EXPECT_EQ(lib.recordWatch[CScriptedViewerLibrary::Key({true, 9})], 1);

  // A ring that disappears altogether ends the view the same way.
  lib.PortRing(3).Append("port line");
  CMonitorDocument port(lib, CMonitorDocument::PortId(2));
  ASSERT_EQ(port.Open(), 0);
  // A segment that is busy for a moment is not an ending.
  lib.snapshotResult = TAV_E_SEGMENT;
  EXPECT_FALSE(port.Watch());
  EXPECT_FALSE(port.Ended());
  lib.snapshotResult = 0;
  lib.rings.erase(CScriptedViewerLibrary::Key({false, 3}));
  EXPECT_TRUE(port.Watch());
  EXPECT_TRUE(port.Ended());
  EXPECT_EQ(port.Records(), std::vector<std::string>{"port line"});
}

TEST(MonitorDocument, ReadsTheRealLibrarysRingThroughItsSnapshot) {
  constexpr int kPort = 240;
  ASSERT_EQ(TavAttachPort(kPort, TAV_ROLE_SERVER), 0);
  ASSERT_EQ(TavAttachPortRecords(kPort), 0);
  std::string data(300, 'z');
  ASSERT_EQ(TavLogRecord(kPort, 0, 0, 1, 300, data.data(), "", ""), 0);
  auto lib = MakeTavViewerLibrary();
  CMonitorDocument doc(*lib, CMonitorDocument::PortId(kPort - 1));
  ASSERT_EQ(doc.Open(), 0);
  ASSERT_EQ(doc.Records().size(), 2u);
  EXPECT_EQ(doc.Records()[0][0], '[');
  EXPECT_EQ(doc.Records()[1], data);
  ASSERT_EQ(TavLogRecord(kPort, 0, 0, 0, 3, "abc", "", ""), 0);
  EXPECT_TRUE(doc.Watch());
  EXPECT_EQ(doc.Records().back(), "abc");
  // The server ends and a new one takes the port: the view keeps the old lines.
  TavReleasePort(kPort);
  TavReleasePortFinal(kPort);
  ASSERT_EQ(TavAttachPort(kPort, TAV_ROLE_SERVER), 0);
  ASSERT_EQ(TavAttachPortRecords(kPort), 0);
  ASSERT_EQ(TavLogRecord(kPort, 0, 0, 0, 5, "other", "", ""), 0);
  EXPECT_TRUE(doc.Watch());
  EXPECT_TRUE(doc.Ended());
  EXPECT_EQ(doc.Records().back(), "abc");
  doc.Close();
  TavReleasePort(kPort);
  TavReleasePortFinal(kPort);
}

}  // namespace
