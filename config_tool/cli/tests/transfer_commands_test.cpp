// axcfg upload, download, verify-unit and write-from run as a user runs them,
// through the connection server against the simulated unit. Each test runs
// in a home of its own, so each has a unit of its own.
#include <gtest/gtest.h>

#include <csignal>
#include <string>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/document_file.h"
#include "axcfg_run.h"
#include "peer_process.h"
#include "test_home.h"

using namespace axcfg;

namespace {

using axcfg_test::Axcfg;
using axcfg_test::Result;

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Six axes (group A of axes 1 and 2), synchronous group 1 off with its
// masks kept and group 2 on, values in every used axis, junk in axes 7 and 8.
// With `groupOnly` the layout is group A alone and both groups are off.
std::string VariedDocument(const std::string& dir, bool groupOnly = false) {
  RegisterAxisCfgDataStrings();
  CAxisCfgDoc doc;
  CAxisLayout layout;
  layout.Clear();
  layout.Append(MakeGroupEntry(1, 0x03));
  for (int axis = 2; axis < 6 && !groupOnly; ++axis) layout.Append(MakeSingleAxisEntry(axis));
  doc.SetLayout(layout);
  SyncGroups sync{};
  sync[0].masterMask = 0x10;
  sync[0].slaveMask = 0x20;
  sync[1].operation = groupOnly ? 0 : 1;
  sync[1].masterMask = 0x04;
  sync[1].slaveMask = 0x08;
  sync[1].difference = 321;
  doc.SetSyncGroups(sync);
  doc.SetCreator("bench");
  doc.SetComment("line 3");
  for (int k = 0; k < 600; k += 5) {
    CPosData& row = *doc.GetPosData(k);
    row.SetMoveAmount(0, 100 * k);
    row.SetMoveAmount(1, -7 * k);
    row.SetTargetSpeed(0, 5000 + k);
    row.SetTargetSpeed(1, 0);  // a second member's own speed: never shown, never checked
    row.SetAuxCode(2, 40000);
    row.SetDwellTime(3, 250);
    row.SetPositionMode(4, kPosAbsolute);
    row.SetMoveAmount(6, 123456);
    row.SetTargetSpeed(7, 0);
    row.SetComment(2, "kept");
  }
  const std::string path = dir + "/varied.axc";
  EXPECT_TRUE(SaveDocumentFile(doc, path).Succeeded());
  return path;
}

int CountLines(const std::string& text, const std::string& start) {
  int n = 0;
  for (size_t at = 0; (at = text.find(start, at)) != std::string::npos; ++at) ++n;
  return n;
}

// What follows the four result lines of a verification: its item list.
std::string ItemLines(const std::string& out) {
  const size_t overall = out.find("Result of verification - ");
  if (overall == std::string::npos) return "(no result line)";
  return out.substr(out.find('\n', overall) + 1);
}

}  // namespace

TEST(AxcfgTransfer, DownloadWriteFromUploadAndVerifyAgree) {
  const std::string dir = keldtest::FreshDir("transfer");
  const std::string file = VariedDocument(dir);

  Result d = Axcfg("download " + file + " --write-from");
  ASSERT_EQ(d.exitCode, 0) << d.out;
  EXPECT_EQ(d.out,
            "The download to the unit completed successfully.\nFROM writes: 0\n"
            "Writing to FROM completed successfully.\n");

  Result v = Axcfg("verify-unit " + file);
  ASSERT_EQ(v.exitCode, 0) << v.out;
  EXPECT_EQ(CountLines(v.out, " - Agree"), 4) << v.out;
  EXPECT_TRUE(Has(v.out, "Target : QX2 Positioning unit SRLX 8-axis type")) << v.out;

  Result u = Axcfg("upload -o " + dir + "/up --progress");
  ASSERT_EQ(u.exitCode, 0) << u.out;
  EXPECT_EQ(u.out.rfind("progress 0/4809\n", 0), 0u);
  EXPECT_TRUE(Has(u.out, "progress 4809/4809\n" + dir + "/up.axc\n")) << u.out.substr(u.out.size() - 200);
  CAxisCfgDoc up;
  ASSERT_TRUE(OpenDocumentFile(up, dir + "/up.axc").Succeeded());
  EXPECT_EQ(up.GetTotalAxisCount(), 6);
  const CPosData& row = *up.GetPosData(595);
  EXPECT_EQ(row.GetMoveAmount(0), 59500);
  EXPECT_EQ(row.GetMoveAmount(1), -4165);
  EXPECT_EQ(row.GetTargetSpeed(1), 5595);  // the group's speed, not the member's own 0
  EXPECT_EQ(row.GetAuxCode(2), 40000);
  EXPECT_EQ(row.GetPositionMode(4), kPosAbsolute);
  EXPECT_EQ(row.GetMoveAmount(6), 0);  // axes outside the layout never reach the unit
  EXPECT_EQ(row.GetComment(2), "");
  EXPECT_EQ(up.GetSyncGroups()[0].operation, 0u);
  EXPECT_EQ(up.GetSyncGroups()[1].difference, 321);

  // Into the file itself: its comments on request, its creator and comment always.
  Result into = Axcfg("upload -o " + dir + "/into --into " + file + " --keep-comments");
  ASSERT_EQ(into.exitCode, 0) << into.out;
  CAxisCfgDoc merged;
  ASSERT_TRUE(OpenDocumentFile(merged, dir + "/into.axc").Succeeded());
  EXPECT_EQ(merged.GetPosData(595)->GetComment(2), "kept");
  EXPECT_EQ(merged.GetCreator(), "bench");
  EXPECT_EQ(merged.GetComment(), "line 3");

  // One table changed in the unit.
  ASSERT_EQ(Axcfg("write-words " + std::to_string(((10 + 0x85) * 0x20) + 0x5000 * 3 + 24) + " 7").exitCode, 0);
  Result changed = Axcfg("verify-unit " + file + " --list");
  EXPECT_EQ(changed.exitCode, 1) << changed.out;
  EXPECT_TRUE(Has(changed.out, "Positioninng data - Disagree")) << changed.out;
  // The item lines are those axcfg diff and verify --list print for the
  // unit's data before and after the change.
  const std::string items = ItemLines(changed.out);
  EXPECT_EQ(items, "Table 4Axis No. 11 Dwell Time(ms): 250 | 7\n") << changed.out;
  ASSERT_EQ(Axcfg("upload -o " + dir + "/changed").exitCode, 0);
  Result diff = Axcfg("diff " + dir + "/up.axc " + dir + "/changed.axc");
  EXPECT_EQ(diff.exitCode, 1);
  EXPECT_EQ(diff.out, items);
  EXPECT_EQ(ItemLines(Axcfg("verify " + dir + "/up.axc " + dir + "/changed.axc --list").out), items);

  Result from = Axcfg("write-from");
  EXPECT_EQ(from.exitCode, 0) << from.out;
  EXPECT_TRUE(Has(from.out, "FROM writes: 1\n")) << from.out;
}

TEST(AxcfgTransfer, RefusalsAndUsageErrorsWriteNothing) {
  const std::string dir = keldtest::FreshDir("refusals");
  const std::string file = VariedDocument(dir);
  EXPECT_EQ(Axcfg("download " + file + " --range ''").exitCode, 2);
  EXPECT_EQ(Axcfg("download " + file + " --range 5-4").exitCode, 2);
  EXPECT_EQ(Axcfg("download " + file + " --range 4 --params-only").exitCode, 2);
  EXPECT_EQ(Axcfg("upload -o " + dir + "/x --keep-comments").exitCode, 2);
  EXPECT_EQ(Axcfg("download " + dir + "/missing.axc").exitCode, 3);
  EXPECT_EQ(Axcfg("upload -o " + file).exitCode, 3);  // exists, no --force
  EXPECT_EQ(Axcfg("verify-unit " + file + " --slot 5").exitCode, 4);

  ASSERT_EQ(Axcfg("new -o " + dir + "/interp --family 1").exitCode, 0);
  Result family = Axcfg("download " + dir + "/interp.axc");
  EXPECT_EQ(family.exitCode, 5);
  EXPECT_TRUE(Has(family.out, "cannot be downloaded to the connected unit")) << family.out;

  CAxisCfgDoc doc;
  ASSERT_TRUE(OpenDocumentFile(doc, file).Succeeded());
  doc.GetPosData(3)->SetTargetSpeed(2, 0);
  ASSERT_TRUE(SaveDocumentFile(doc, dir + "/bad.axc").Succeeded());
  Result check = Axcfg("download " + dir + "/bad.axc");
  EXPECT_EQ(check.exitCode, 1);
  EXPECT_EQ(check.out, Axcfg("check " + dir + "/bad.axc").out);

  // Nothing of the above reached the unit: its layout is still the simulator's own.
  Result layout = Axcfg("read-words 0x168 1");
  EXPECT_EQ(layout.out, "0x168 0x00FF\n");
}

// The unit's answers to the download request, through a unit that gives a
// fixed answer or none: each is a refusal (exit 5) with its message on
// stderr, the handshake word is cleared where the tool clears it, and no FROM
// write follows.
TEST(AxcfgTransfer, DownloadHandshakeFailures) {
  const std::string dir = keldtest::FreshDir("handshake");
  const std::string file = VariedDocument(dir);
  struct Case {
    const char* fault;
    const char* text;
    const char* wordAfter;  // the handshake word afterwards, where the tool sets it
  } cases[] = {
      {"download=CCCC", "System error\nThe downloaded data in the unit cannot be open correctly.\n", "0x0000"},
      {"download=1234", "System error \n Check the connected unit or the slot number.\n", "0x0000"},
      {"download=none",
       "Confirm the completion of download  Timeout error\nThe completion of the download was not confirmed.\n",
       nullptr},
  };
  int n = 0;
  for (const Case& c : cases) {
    // A home of its own starts a server, and with it a unit, with this fault.
    const std::string env = "KELD_HOME=" + dir + "/home" + std::to_string(n++) + " KELD_SIM_FAULTS=" + c.fault + " ";
    const std::string axcfg = env + keldtest::BinPath("axcfg");
    Result d = axcfg_test::Run(axcfg + " download " + file + " --write-from 2>&1 >/dev/null");
    EXPECT_EQ(d.exitCode, 5) << c.fault;
    EXPECT_EQ(d.out, c.text) << c.fault;
    if (c.wordAfter) {
      EXPECT_EQ(axcfg_test::Run(axcfg + " read-words 0x102 1 2>&1").out, std::string("0x102 ") + c.wordAfter + "\n");
    }
    EXPECT_EQ(axcfg_test::Run(axcfg + " read-words 0x100 1 2>&1").out, "0x100 0x0000\n") << "no FROM write";
  }
}

// Over a serial line to plcsim on a pseudo-terminal whose answers are
// corrupted, refused, dropped and split, so that the server repeats them
// away (a two-axis document keeps the run short: every seventh answer
// costs a second). The download is written to FROM, survives switching the
// unit off and on, and uploads and verifies equal.
TEST(AxcfgTransfer, OverASerialLineWithFaults) {
  const std::string dir = keldtest::FreshDir("serial");
  const std::string file = VariedDocument(dir, true);
  keldtest::PeerProcess sim("plcsim", {"--serial", "--faults", "bcc=3,nak=4,drop=7,split=2"});
  ASSERT_FALSE(keldtest::RouteAnnouncedDeviceToCom(sim, 6).empty());
  const std::string dest = " --dest com:6,115200 --timeout 1";

  Result d = Axcfg("download " + file + " --write-from" + dest);
  ASSERT_EQ(d.exitCode, 0) << d.out;
  EXPECT_TRUE(Has(d.out, "Writing to FROM completed successfully.")) << d.out;

  // A table word changed in working memory only; switching the unit off and
  // on brings back what FROM holds.
  const std::string word = std::to_string((5 + 0x85) * 0x20 + 24);
  ASSERT_EQ(Axcfg("write-words " + word + " 4321" + dest).exitCode, 0);
  ASSERT_TRUE(Has(Axcfg("read-words " + word + " 1" + dest).out, "0x10E1"));
  ASSERT_EQ(kill(sim.Pid(), SIGHUP), 0);
  bool restored = false;
  for (int i = 0; i < 50 && !restored; ++i) {
    const Result r = Axcfg("read-words " + word + " 1" + dest);
    restored = r.exitCode == 0 && !Has(r.out, "0x10E1");
  }
  ASSERT_TRUE(restored);

  Result u = Axcfg("upload -o " + dir + "/up" + dest);
  ASSERT_EQ(u.exitCode, 0) << u.out;
  CAxisCfgDoc up, sent;
  ASSERT_TRUE(OpenDocumentFile(up, dir + "/up.axc").Succeeded());
  ASSERT_TRUE(OpenDocumentFile(sent, file).Succeeded());
  ASSERT_EQ(up.GetTotalAxisCount(), 2);
  for (int k = 0; k < 600; k += 5)
    for (int axis : {0, 1}) {
      EXPECT_EQ(up.GetPosData(k)->GetMoveAmount(axis), sent.GetPosData(k)->GetMoveAmount(axis)) << k << " " << axis;
      EXPECT_EQ(up.GetPosData(k)->GetTargetSpeed(axis), sent.GetPosData(k)->GetTargetSpeed(0)) << k << " " << axis;
    }

  Result v = Axcfg("verify-unit " + file + dest);
  EXPECT_EQ(v.exitCode, 0) << v.out;
  EXPECT_EQ(CountLines(v.out, " - Agree"), 4) << v.out;
}
