// The four transfer commands' steps, messages and outcomes over a scripted
// user interface and unit.
#include <gtest/gtest.h>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/unit_types.h"
#include "axcfg_unit/transfer_commands.h"
#include "axcfg_unit/unit_link.h"
#include "transfer_unit.h"

using namespace axcfg;

namespace {

struct ScriptedUi : ITransferUi {
  int Open(CUnitLink& link) override {
    steps.push_back("open");
    return link.Open(nullptr, false, false, false);
  }
  bool Confirm(int mode) override {
    steps.push_back("confirm " + std::to_string(mode));
    return confirm;
  }
  bool ChooseDownload(DownloadSelection& s) override {
    steps.push_back("choose");
    if (choose) s = choice;
    return choose;
  }
  int RunWithProgress(int mode, const std::function<int(ITransferProgress&)>& work) override {
    steps.push_back("progress " + std::to_string(mode));
    struct P : ITransferProgress {
      void SetRange(int) override {}
      void Step(int) override {}
      bool Cancelled() override { return cancel; }
      bool cancel = false;
    } p;
    p.cancel = cancel;
    return work(p);
  }
  bool Ask(unsigned id, const std::string&) override {
    steps.push_back("ask " + std::to_string(id));
    return id == 21453 ? retries-- > 0 : yes;
  }
  void Message(unsigned id, const std::string& text, MessageIcon icon) override {
    steps.push_back("message " + std::to_string(id));
    texts.push_back(text);
    icons.push_back(icon);
  }
  void ShowVerifyResult(const VerifyResult& r, const std::vector<uint32_t>&) override {
    steps.push_back("verify");
    result = r;
  }
  void FromWriteCount(int n) override { fromCount = n; }
  bool FollowFromWrite(CUnitLink&) override {
    steps.push_back("follow");
    return fromFinished;
  }
  bool CheckData(const CAxisCfgDoc&) override {
    steps.push_back("check");
    return checkOk;
  }

  std::vector<std::string> steps, texts;
  std::vector<MessageIcon> icons;
  bool confirm = true, choose = true, cancel = false, yes = true, fromFinished = true, checkOk = true;
  int retries = 0, fromCount = -1;
  DownloadSelection choice{2, 1, 600};
  VerifyResult result;
};

struct CommandsTest : ::testing::Test {
  axcfg_test::TransferUnit unit;
  axcfg_test::RecordingUi linkUi;
  CUnitLink link{"Axis Configurator", unit, linkUi};
  ScriptedUi ui;
  CAxisCfgDoc doc;
  void SetUp() override {
    RegisterAxisCfgDataStrings();
    unit.SetLayout({0, 0, 0, 0, 0x03});
    unit.Set(0x140, 0x0008);  // no FROM write running
    link.SetFromAckLimit(200);
  }
  std::vector<std::string> Steps(std::initializer_list<const char*> s) { return {s.begin(), s.end()}; }
};

}  // namespace

TEST_F(CommandsTest, UploadReplacesTheUnitsDataAndKeepsWhatTheUnitNeverHeld) {
  doc.SetCreator("me");
  doc.SetComment("bench rig");
  doc.ExtraData() = {1, 2, 3};
  doc.GetPosData(5)->SetComment(0, "home");
  unit.Set32(unitmap::Table(1, 5) + 16, 4321);
  EXPECT_EQ(RunUpload(link, ui, doc), TransferOutcome::Done);
  EXPECT_EQ(ui.steps, Steps({"confirm 1", "open", "progress 1", "ask 21326", "message 21322"}));
  EXPECT_FALSE(link.IsOpen());
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(doc.GetTotalAxisCount(), 2);
  EXPECT_EQ(doc.GetPosData(5)->GetMoveAmount(1), 4321);
  EXPECT_EQ(doc.GetPosData(5)->GetComment(0), "home");  // Yes to 21326
  EXPECT_EQ(doc.GetCreator(), "me");
  EXPECT_EQ(doc.GetComment(), "bench rig");
  EXPECT_EQ(doc.ExtraData(), (std::vector<uint16_t>{1, 2, 3}));

  ui.yes = false;
  EXPECT_EQ(RunUpload(link, ui, doc), TransferOutcome::Done);
  EXPECT_EQ(doc.GetPosData(5)->GetComment(0), "");
}

TEST_F(CommandsTest, FailedUploadsLeaveTheDocumentAndSayWhy) {
  doc.GetPosData(0)->SetMoveAmount(0, 77);
  ui.cancel = true;
  EXPECT_EQ(RunUpload(link, ui, doc), TransferOutcome::Refused);
  EXPECT_EQ(ui.steps.back(), "message 21325");
  EXPECT_EQ(ui.icons.back(), MessageIcon::Stop);
  EXPECT_TRUE(unit.reads.empty());

  ui.cancel = false;
  unit.SetLayout({0x0F, 0, 0, 0, 0});
  EXPECT_EQ(RunUpload(link, ui, doc), TransferOutcome::Refused);
  EXPECT_EQ(ui.steps.back(), "message 21323");

  unit.SetLayout({0, 0, 0, 0, 0x03});
  unit.FailAt(0x1000, -11061);
  EXPECT_EQ(RunUpload(link, ui, doc), TransferOutcome::LinkFailed);
  EXPECT_EQ(ui.texts.back(), "library error -11061");
  EXPECT_FALSE(link.IsOpen());
  EXPECT_EQ(doc.GetPosData(0)->GetMoveAmount(0), 77);
  EXPECT_FALSE(doc.IsModified());

  ui.confirm = false;
  ui.steps.clear();
  EXPECT_EQ(RunUpload(link, ui, doc), TransferOutcome::Declined);
  EXPECT_EQ(ui.steps, Steps({"confirm 1"}));
}

TEST_F(CommandsTest, DownloadRunsItsStepsAndWritesFromWhenAccepted) {
  unit.Set(0x100, 12);
  EXPECT_EQ(RunDownload(link, ui, doc), TransferOutcome::Done);
  EXPECT_EQ(ui.steps, Steps({"confirm 0", "open", "check", "choose", "progress 0", "message 21302", "open",
                             "ask 21451", "follow", "message 21455"}));
  EXPECT_EQ(ui.fromCount, 12);
  EXPECT_EQ(unit.Get(0x102), 0xAAAA);  // the FROM request was confirmed
  EXPECT_FALSE(link.IsOpen());
  EXPECT_EQ(doc.GetDownloadSelection(), ui.choice);
}

TEST_F(CommandsTest, DownloadStopsBeforeWritingWhenTheTargetOrTheDataDoNotFit) {
  doc.SetUnitFamily(kFamilyInterp);
  EXPECT_EQ(RunDownload(link, ui, doc), TransferOutcome::Refused);
  EXPECT_EQ(ui.steps.back(), "message 21307");
  EXPECT_EQ(ui.icons.back(), MessageIcon::Exclamation);
  doc.SetUnitFamily(kFamilySrlx);

  ui.checkOk = false;
  EXPECT_EQ(RunDownload(link, ui, doc), TransferOutcome::CheckFailed);
  ui.checkOk = true;
  ui.choose = false;
  EXPECT_EQ(RunDownload(link, ui, doc), TransferOutcome::Declined);
  EXPECT_TRUE(unit.frames.empty());
  EXPECT_FALSE(link.IsOpen());
}

TEST_F(CommandsTest, DownloadHandshakeOutcomes) {
  struct Case {
    int answer;
    const char* message;
    TransferOutcome outcome;
  };
  for (Case c : {Case{0xCCCC, "message 21303", TransferOutcome::Refused},
                 Case{0x4321, "message 21305", TransferOutcome::Refused}}) {
    unit.downloadAnswer = c.answer;
    unit.downloadReads = 0;
    EXPECT_EQ(RunDownload(link, ui, doc), c.outcome);
    EXPECT_EQ(ui.steps.back(), c.message);
    EXPECT_EQ(unit.Get(0x102), 0);
  }
  // A failed write of the request ends with the link's text at once.
  unit.FailAt(0x102, -11060);
  EXPECT_EQ(RunDownload(link, ui, doc, false), TransferOutcome::LinkFailed);
  EXPECT_EQ(ui.texts.back(), "library error -11060");
  EXPECT_FALSE(link.IsOpen());
}

TEST_F(CommandsTest, WriteFromRefusalsAndRetry) {
  unit.Set(0x140, 0);  // a FROM write is running
  ui.retries = 2;
  EXPECT_EQ(RunWriteFrom(link, ui), TransferOutcome::Refused);
  EXPECT_EQ(ui.steps, Steps({"open", "ask 21451", "ask 21453", "ask 21453", "ask 21453"}));
  EXPECT_FALSE(link.IsOpen());

  unit.Set(0x140, 0x0008);
  unit.ackAfterReads = 0;  // never acknowledged
  ui.steps.clear();
  EXPECT_EQ(RunWriteFrom(link, ui), TransferOutcome::Refused);
  EXPECT_EQ(ui.steps.back(), "message 21454");

  unit.ackAfterReads = 3;
  unit.handshakeReads = 0;
  ui.fromFinished = false;
  EXPECT_EQ(RunWriteFrom(link, ui), TransferOutcome::Refused);
  EXPECT_EQ(ui.steps.back(), "message 21454");

  ui.yes = false;
  ui.steps.clear();
  EXPECT_EQ(RunWriteFrom(link, ui), TransferOutcome::Declined);
  EXPECT_EQ(ui.steps, Steps({"open", "ask 21451"}));
  EXPECT_FALSE(link.IsOpen());
}

TEST_F(CommandsTest, VerifyUnitNamesTheModelAndComparesAsDownloaded) {
  CAxisLayout layout;
  layout.Clear();
  layout.Append(MakeSingleAxisEntry(0));
  layout.Append(MakeSingleAxisEntry(1));
  doc.SetLayout(layout);
  ui.choice = {2, 1, 600};
  ASSERT_EQ(RunDownload(link, ui, doc, false), TransferOutcome::Done);
  EXPECT_EQ(RunVerifyUnit(link, ui, doc), TransferOutcome::Done);
  EXPECT_EQ(ui.result.mismatch, 0u);
  EXPECT_TRUE(ui.result.showCommentNote);
  EXPECT_FALSE(ui.result.target.empty());
  EXPECT_NE(ui.result.target, "Not exist");

  unit.Set(0x004, 4711);  // a model the tool does not know: still compared
  doc.GetPosData(3)->SetDwellTime(1, 5);
  EXPECT_EQ(RunVerifyUnit(link, ui, doc), TransferOutcome::Differs);
  EXPECT_EQ(ui.result.target, "Not exist");
  EXPECT_EQ(ui.result.mismatch, static_cast<uint32_t>(kDiffRows));
  EXPECT_FALSE(link.IsOpen());
}
