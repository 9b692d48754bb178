// axcfg change-axes and new with synchronous groups, run as a user runs them.
#include <gtest/gtest.h>

#include <memory>
#include <sys/stat.h>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/document_file.h"
#include "axcfg_run.h"
#include "file_bytes.h"
#include "test_home.h"

using namespace axcfg;
using axcfg_test::Axcfg;
using axcfg_test::Result;

namespace {

bool Exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

class AxcfgAxes : public ::testing::Test {
 protected:
  void SetUp() override { RegisterAxisCfgDataStrings(); }
  std::string dir = keldtest::FreshDir("cli_axes");
  std::string Path(const std::string& name) const { return dir + "/" + name; }

  // A file with the given layout and family; table No. 1 of every axis moved.
  std::string MakeFile(const std::string& name, std::initializer_list<uint32_t> entries, uint32_t family = 0) {
    CAxisCfgDoc doc;
    CAxisLayout layout;
    layout.Clear();
    for (uint32_t e : entries) layout.Append(e);
    doc.SetUnitFamily(family);
    doc.SetLayout(layout);
    for (int axis = 0; axis < kAxisCount; ++axis) doc.GetPosData(0)->SetMoveAmount(axis, 1000 + axis);
    EXPECT_EQ(SaveDocumentFile(doc, Path(name)).id, 0u);
    return Path(name);
  }
  std::unique_ptr<CAxisCfgDoc> Open(const std::string& path) {
    auto doc = std::make_unique<CAxisCfgDoc>();
    EXPECT_EQ(OpenDocumentFile(*doc, path).id, 0u);
    return doc;
  }
};

}  // namespace

TEST_F(AxcfgAxes, ChangeAxesInitialisesOnlyChangedEntries) {
  std::string in = MakeFile("in.axc", {0x00010001, 0x00010002, 0x00010004, 0x00010008});
  std::string out = Path("out.axc");
  // Without --yes the question is printed and nothing is written.
  Result r = Axcfg("change-axes " + in + " -o " + out + " --layout \"A:1,2 3 4\"");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.out.find("Change the axis. Is it OK?\n(The all data"), std::string::npos) << r.out;
  EXPECT_FALSE(Exists(out));

  r = Axcfg("change-axes " + in + " -o " + out + " --layout \"A:1,2 3 4\" --yes");
  ASSERT_EQ(r.exitCode, 0) << r.out;
  EXPECT_EQ(r.out, "initialised axes: 1, 2\n");
  auto doc = Open(out);
  ASSERT_EQ(doc->GetAxisEntryCount(), 3);
  EXPECT_EQ(doc->GetAxisEntry(0), MakeGroupEntry(1, 0x03));
  EXPECT_EQ(doc->GetPosData(0)->GetMoveAmount(0), 0);
  EXPECT_EQ(doc->GetPosData(0)->GetMoveAmount(2), 1002);

  // Nothing changed: no question, nothing initialised.
  r = Axcfg("change-axes " + out + " -o " + Path("same.axc"));
  EXPECT_EQ(r.exitCode, 0) << r.out;
  EXPECT_EQ(r.out, "initialised axes: none\n");

  // A one-axis group given on the command line.
  r = Axcfg("change-axes " + in + " -o " + Path("one.axc") + " --layout \"B:2 1 3 4\" --yes");
  ASSERT_EQ(r.exitCode, 0) << r.out;
  EXPECT_EQ(Open(Path("one.axc"))->GetAxisEntry(0), 0x02010002u);

  // An existing OUT without --force stays as it was.
  std::string before = keldtest::ReadBytes(out);
  EXPECT_EQ(Axcfg("change-axes " + in + " -o " + out + " --layout 1 --yes").exitCode, 3);
  EXPECT_EQ(keldtest::ReadBytes(out), before);
}

TEST_F(AxcfgAxes, FamilyOneDropsAxesFiveToEightWithTheMessage) {
  std::string in = MakeFile("wide.axc", {MakeGroupEntry(1, 0x30), 0x00010001}, 0);
  Result r = Axcfg("change-axes " + in + " -o " + Path("f1.axc") + " --family 1 --yes", false);
  ASSERT_EQ(r.exitCode, 0) << r.out;
  EXPECT_EQ(r.out,
            "Axial setting was changed.\nThe following information will be initialized.\n\n"
            "Axis Information\nInterpolation group\ninitialised axes: none\n");
  auto doc = Open(Path("f1.axc"));
  EXPECT_EQ(doc->GetUnitFamily(), 1u);
  EXPECT_EQ(doc->GetAxisEntryCount(), 1);
  // Usage errors: axes 5-8 with family 1, a bad SYNC.
  EXPECT_EQ(Axcfg("change-axes " + in + " -o " + Path("x.axc") + " --family 1 --layout 5").exitCode, 2);
  EXPECT_EQ(Axcfg("change-axes " + in + " -o " + Path("x.axc") + " --sync1 on,A,1,2,100,3").exitCode, 2);
  EXPECT_EQ(Axcfg("change-axes " + in + " -o " + Path("x.axc") + " --sync1 on,C,1,2,100,0").exitCode, 2);
  EXPECT_EQ(Axcfg("change-axes " + in + " -o " + Path("x.axc") + " --sync1 maybe").exitCode, 2);
  EXPECT_EQ(Axcfg("change-axes " + Path("missing.axc") + " -o " + Path("x.axc")).exitCode, 3);
  EXPECT_FALSE(Exists(Path("x.axc")));
}

TEST_F(AxcfgAxes, SynchronousGroupsAreCheckedAndCorrected) {
  std::string in = MakeFile("sync.axc", {0x00010001, 0x00010002, 0x00010004});
  // A slave inside an interpolation group is refused on stderr.
  Result r = Axcfg("change-axes " + in + " -o " + Path("bad.axc") + " --layout \"A:2,3 1\" --sync1 on,A,1,2,100,0 --yes");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "The setting for the slave axis of the synchronous group\"1\" is incorrect.\n");
  EXPECT_FALSE(Exists(Path("bad.axc")));
  // 70000 does not wrap to a valid value.
  r = Axcfg("change-axes " + in + " -o " + Path("bad.axc") + " --sync1 on,A,1,2,70000,0");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "The input value is out of the allowable range.\n(Setting range 1 - 32767)\n");

  // Mode B corrects the master's home return method (code 0 -> 1) and says so.
  r = Axcfg("change-axes " + in + " -o " + Path("b.axc") + " --sync1 on,B,1,2,500,1", false);
  ASSERT_EQ(r.exitCode, 0) << r.out;
  EXPECT_EQ(r.out,
            "The home return method for the synchronous group is incorrect. \nThe method has been changed as below.\n"
            "\nSynchronous group1   0:DOG method 1 -> 1:DOG method 2   \ninitialised axes: none\n");
  auto doc = Open(Path("b.axc"));
  EXPECT_EQ(doc->GetSyncGroups()[0].operation, 1u);
  EXPECT_EQ(doc->GetSyncGroups()[0].difference, 500);
  EXPECT_EQ(doc->GetParamBlock().GetParam(34, 0), 1u);
  // Switching the group off keeps its other fields.
  r = Axcfg("change-axes " + Path("b.axc") + " -o " + Path("off.axc") + " --sync1 off");
  ASSERT_EQ(r.exitCode, 0) << r.out;
  CSyncGroupRecord off = Open(Path("off.axc"))->GetSyncGroups()[0];
  EXPECT_EQ(off.operation, 0u);
  EXPECT_EQ(off.masterMask, 0x01);
  EXPECT_EQ(off.difference, 500);
}

TEST_F(AxcfgAxes, NewTakesSynchronousGroups) {
  Result r = Axcfg("new -o " + Path("n.axc") + " --layout \"1 2 3\" --sync2 on,A,3,1,200,2");
  ASSERT_EQ(r.exitCode, 0) << r.out;
  auto doc = Open(Path("n.axc"));
  EXPECT_EQ(doc->GetSyncGroups()[1].masterMask, 0x04);
  EXPECT_EQ(doc->GetSyncGroups()[1].differenceBehavior, 2);
  EXPECT_EQ(doc->GetSyncGroups()[0], CSyncGroupRecord());

  r = Axcfg("new -o " + Path("m.axc") + " --layout \"1 2\" --sync1 on,A,1,1,200,0");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "The setting for the synchronous group \"1\" is incorrect.\n");
  EXPECT_FALSE(Exists(Path("m.axc")));
}
