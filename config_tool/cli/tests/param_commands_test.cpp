// axcfg params and edit-params, run as a user runs them: the grid as text,
// the steps in order, refusals with nothing written, and the exit codes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/document_file.h"
#include "axcfg_data/le_bytes.h"
#include "axcfg_run.h"
#include "file_bytes.h"
#include "test_home.h"

using namespace axcfg;
using axcfg_test::Axcfg;
using axcfg_test::Result;

namespace {

class AxcfgParams : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterAxisCfgDataStrings();
    // Axis 3 alone, then group A of axes 1 and 2; synchronous group 1 in
    // Mode B with master axis 1 and slave axis 3.
    CAxisCfgDoc doc;
    CAxisLayout layout;
    layout.Clear();
    layout.Append(MakeSingleAxisEntry(2));
    layout.Append(MakeGroupEntry(1, 0x03));
    doc.SetLayout(layout);
    doc.GetSyncGroups()[0] = {1, 1, 0x01, 0x04, 100, 0};
    ASSERT_TRUE(doc.GetParamBlock().SetParam(34, 0, 1));
    ASSERT_EQ(SaveDocumentFile(doc, file).id, 0u);
  }
  std::string dir = keldtest::FreshDir("cli_params");
  std::string file = dir + "/unit.axc";
  std::string out = dir + "/out.axc";

  std::unique_ptr<CAxisCfgDoc> Open(const std::string& path) {
    auto doc = std::make_unique<CAxisCfgDoc>();
    EXPECT_EQ(OpenDocumentFile(*doc, path).id, 0u);
    return doc;
  }
  Result Edit(const std::string& steps) { return Axcfg("edit-params " + file + " -o " + out + " " + steps); }
};

TEST_F(AxcfgParams, ListsTheRowsInLayoutOrder) {
  Result r = Axcfg("params " + file, false);
  ASSERT_EQ(r.exitCode, 0) << r.out;
  EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "Parameter\t3 axis\t1 axis [A]\t2 axis [A]");
  EXPECT_NE(r.out.find("\nUnit setting\tP:pulse\tP:pulse\tP:pulse\n"), std::string::npos);
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 45);

  r = Axcfg("params " + file + " --kinds", false);
  EXPECT_NE(r.out.find("\nPulse number per roration\t8:1\t8:1\t8:1\n"), std::string::npos) << r.out;

  r = Axcfg("params " + file + " --guidance 1:21", false);
  ASSERT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "Set the time that the auxiliary output contact is ON.\nSetting range: 0 - 255  (Default 10) ms\n");

  EXPECT_EQ(Axcfg("params " + file + " --guidance 4:21").exitCode, 2);   // axis 4 not in the layout
  EXPECT_EQ(Axcfg("params " + file + " --guidance 1:3").exitCode, 2);    // family 1 only
  EXPECT_EQ(Axcfg("params " + file + " --guidance 1:61").exitCode, 2);
  EXPECT_EQ(Axcfg("params " + dir + "/missing.axc").exitCode, 3);
}

TEST_F(AxcfgParams, RunsTheStepsInOrderAndWrites) {
  Result r = Edit("--set 3:0=1 --set 1:0=D:degree\\ [Min\\ 1] --set 3:48=2500 --copy 3:2 --set 2:48=7");
  ASSERT_EQ(r.exitCode, 0) << r.out;
  EXPECT_EQ(r.out, out + "\n");
  auto doc = Open(out);
  const CParamBlock& p = doc->GetParamBlock();
  EXPECT_EQ(p.GetParam(0, 2), 1u);
  EXPECT_EQ(p.GetParam(0, 0), 1u);  // the copy gave group A the unit of axis 2
  EXPECT_EQ(p.GetParam(48, 2), 2500u);
  EXPECT_EQ(p.GetParam(48, 1), 7u);

  // An existing OUT stays without --force.
  const std::string before = keldtest::ReadBytes(out);
  EXPECT_EQ(Edit("--set 3:48=9").exitCode, 3);
  EXPECT_EQ(keldtest::ReadBytes(out), before);
  EXPECT_EQ(Edit("--set 3:48=9 --force").exitCode, 0);
  EXPECT_EQ(Open(out)->GetParamBlock().GetParam(48, 2), 9u);
}

TEST_F(AxcfgParams, RefusalsPrintTheMessageAndWriteNothing) {
  struct Case {
    const char* steps;
    const char* text;
  };
  const Case cases[] = {
      {"--set 3:48=abc", "Enter the value correctly.\nParameter: JOG operation - Target speed, 3 axis\n"},
      {"--set 3:48=0",
       "The input value is out of the allowable range.\nParameter: JOG operation - Target speed, 3 axis\n"},
      {"--set 1:34=3",
       "As the synchronous operation is set to the synchronous operaiton mode B, this home return setting code cannot "
       "be specified.\nParameter: Home return - Setting code, 1 axis [A]\n"},
      {"--init ''", "Choose the one to initialize.\n"},
  };
  for (const Case& c : cases) {
    Result r = Edit(c.steps);
    EXPECT_EQ(r.exitCode, 1) << c.steps;
    EXPECT_EQ(r.out, c.text) << c.steps;
    EXPECT_FALSE(std::filesystem::exists(out)) << c.steps;
  }
  // The OK check finds a value out of range that the file brought.
  {
    CAxisCfgDoc doc;
    ASSERT_EQ(OpenDocumentFile(doc, file).id, 0u);
    ASSERT_TRUE(doc.GetParamBlock().SetParam(48, 1, 0));
    ASSERT_EQ(SaveDocumentFile(doc, file).id, 0u);
  }
  Result r = Edit("--set 3:48=5");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "The value in the unallowable range was set.\nChange the settings.\n"
                   "Parameter: JOG operation - Target speed, 2 axis [A]\n");
  EXPECT_FALSE(std::filesystem::exists(out));
  EXPECT_EQ(Edit("--set 2:48=5").exitCode, 0);
}

TEST_F(AxcfgParams, InitializingTheModeBMasterCorrectsItsHomeReturn) {
  Result r = Axcfg("edit-params " + file + " -o " + out + " --init 1,3", false);
  ASSERT_EQ(r.exitCode, 0) << r.out;
  EXPECT_NE(r.out.find("Synchronous group1"), std::string::npos) << r.out;
  auto doc = Open(out);
  EXPECT_EQ(GetLe16(doc->GetParamBlock().RecordBytes(0) + 64), 1);
  EXPECT_EQ(GetLe16(doc->GetParamBlock().RecordBytes(2) + 64), 0);
}

TEST_F(AxcfgParams, WrongNamesAreUsageErrors) {
  for (const char* steps : {"--set 4:48=5", "--set 3:3=0", "--set 3:61=0", "--set 3:0=7", "--set 3:0=X:unknown",
                            "--set 3:1=5", "--set 3:48=12345678901", "--copy 3:4", "--copy 3", "--init 1,4",
                            "--init 1,,2", "--set 3:48", "--bogus 1"}) {
    Result r = Edit(steps);
    EXPECT_EQ(r.exitCode, 2) << steps << "\n" << r.out;
    EXPECT_FALSE(std::filesystem::exists(out)) << steps;
  }
  // The length is checked before the number is read.
  EXPECT_EQ(Edit("--set 3:48=abcdefghijk").exitCode, 2);
  EXPECT_EQ(Edit("--set 3:48=1234567890").exitCode, 1);  // ten characters: read, then out of range
}

}  // namespace
