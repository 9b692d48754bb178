// The workspace tree from the status snapshot, and watching the ports it lists.
#include <gtest/gtest.h>

#include "commscope/device_tree.h"
#include "scripted_viewer_library.h"

using namespace commscope;
using commscope::testing::CScriptedViewerLibrary;

namespace {

TEST(DeviceTree, PortsAscendWithTheirClientsInNumberOrder) {
  CScriptedViewerLibrary lib;
  lib.AddPort(326);
  lib.AddPort(70);
  lib.AddClient(1, 12, 326, "AxisCfg");
  lib.AddClient(0, 11, 326, "KELD_TavModem");
  lib.AddClient(5, 13, 70, "x");
  lib.AddClient(7, 14, 0, "not attached");
  CDeviceTree tree(lib);
  ASSERT_TRUE(tree.Refresh());
  ASSERT_EQ(tree.Ports().size(), 2u);
  EXPECT_EQ(tree.Ports()[0].name, "Com2");
  EXPECT_EQ(tree.Ports()[1].name, "PLC-Simulation");
  const auto& sim = tree.Ports()[1];
  ASSERT_EQ(sim.clients.size(), 2u);
  EXPECT_EQ(sim.clients[0].label, "001 KELD_TavModem");  // shown whole
  EXPECT_EQ(sim.clients[1].label, "002 AxisCfg");
  EXPECT_EQ(sim.clients[1].handle, 12);
  EXPECT_TRUE(sim.Expanded());
  EXPECT_EQ(tree.FindClient(6)->label, "006 x");
  EXPECT_EQ(tree.FindClient(8), nullptr);
  EXPECT_FALSE(tree.Refresh());  // nothing changed
}

TEST(DeviceTree, NamesAndCountsFromTheSnapshotAreBounded) {
  CScriptedViewerLibrary lib;
  lib.AddPort(1);
  lib.AddClient(0, 1, 1, "a");
  lib.AddClient(1, 2, 1, "b");
  // A name field without its NUL ends at the field; a port counting fewer
  // clients than are attached lists only that many.
  std::memset(lib.status->clientName[1], 'N', sizeof lib.status->clientName[1]);
  lib.status->portClients[0] = 1;
  auto items = BuildDeviceItems(*lib.status);
  ASSERT_EQ(items[0].clients.size(), 1u);
  lib.status->portClients[0] = 2;
  items = BuildDeviceItems(*lib.status);
  EXPECT_EQ(items[0].clients[1].label, "002 " + std::string(84, 'N'));
  EXPECT_EQ(items[0].name, "Tavnet-h(0)");
}

TEST(DeviceTree, EachListedPortIsWatchedOnceAndLetGoWhenItLeaves) {
  CScriptedViewerLibrary lib;
  lib.AddPort(5);
  lib.AddPort(326);
  {
    CDeviceTree tree(lib);
    for (int i = 0; i < 5; ++i) tree.Refresh();
    EXPECT_EQ(lib.portWatch[5], 1);
    EXPECT_EQ(lib.portWatch[326], 1);
    lib.status->portInUse[4] = 0;  // port 5's server ended
    EXPECT_TRUE(tree.Refresh());
    EXPECT_EQ(lib.portWatch[5], 0);
    lib.status->portInUse[4] = 1;
    tree.Refresh();
    EXPECT_EQ(lib.portWatch[5], 1);
    // A failed snapshot keeps the items and the watching.
    lib.statusResult = TAV_E_SEGMENT;
    EXPECT_FALSE(tree.Refresh());
    EXPECT_EQ(tree.Ports().size(), 2u);
  }
  EXPECT_EQ(lib.portWatch[5], 0);  // the tree's end lets go of everything
  EXPECT_EQ(lib.portWatch[326], 0);
}

}  // namespace
