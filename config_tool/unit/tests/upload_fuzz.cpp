// Fuzz entry for what an upload makes of the unit's words: every read answers
// words taken from the input (by address, wrapping around), so the layout,
// model, synchronous groups, parameter records and table rows take any
// values. The upload command must refuse a layout that breaks the rules with
// 21323 and leave the document alone; an accepted upload must give a valid
// layout whose rows re-encode to the words read (reserved bits aside), and
// comparing the document with a data set of another shape must not fail.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/axcfg_strings.h"
#include "axcfg_unit/transfer_commands.h"
#include "axcfg_unit/unit_axis_config.h"
#include "axcfg_unit/unit_link.h"
#include "axcfg_unit/unit_transfer.h"
#include "fake_unit.h"
#include "input_unit.h"

using namespace axcfg;

namespace {

// Answers every question Yes and records the last message.
struct AnsweringUi : ITransferUi {
  int Open(CUnitLink& link) override { return link.Open(nullptr, false, false, false); }
  bool Confirm(int) override { return true; }
  bool ChooseDownload(DownloadSelection&) override { return true; }
  int RunWithProgress(int, const std::function<int(ITransferProgress&)>& work) override {
    struct P : ITransferProgress {
      void SetRange(int) override {}
      void Step(int) override {}
      bool Cancelled() override { return false; }
    } p;
    return work(p);
  }
  bool Ask(unsigned, const std::string&) override { return keepComments; }
  void Message(unsigned id, const std::string&, MessageIcon) override { lastMessage = id; }
  void ShowVerifyResult(const VerifyResult&, const std::vector<uint32_t>&) override {}
  bool FollowFromWrite(CUnitLink&) override { return true; }
  bool CheckData(const CAxisCfgDoc&) override { return true; }
  bool keepComments = false;
  unsigned lastMessage = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool registered = (RegisterAxisCfgDataStrings(), true);
  (void)registered;
  if (size < 2) return 0;
  axcfg_test::InputUnit unit(data, size);
  axcfg_test::RecordingUi linkUi;
  CUnitLink link("Axis Configurator", unit, linkUi);

  CUnitAxisConfig config;
  link.Open(nullptr, false, false, false);
  const int configRc = ReadUnitAxisConfig(link, config);
  link.Close();

  // The command: a refused layout leaves the document as it was.
  CAxisCfgDoc doc;
  const int axesBefore = doc.GetTotalAxisCount();
  AnsweringUi ui;
  ui.keepComments = data[0] & 1;
  const TransferOutcome outcome = RunUpload(link, ui, doc);
  if (link.IsOpen()) std::abort();
  if (configRc == kUnitLayoutInvalid) {
    if (outcome != TransferOutcome::Refused || ui.lastMessage != 21323 || doc.GetTotalAxisCount() != axesBefore)
      std::abort();
    return 0;
  }
  if (outcome != TransferOutcome::Done || !doc.GetLayout().IsValid() || doc.GetRowCount() != kTableRowCount)
    std::abort();
  // Rows of the layout's axes re-encode to the words read.
  const CAxisLayout& layout = doc.GetLayout();
  for (int axis = 0; axis < kAxisCount; ++axis) {
    if (!layout.IsAxisUsed(axis)) continue;
    for (int k = 0; k < kTableRowCount; k += 97) {
      const UnitRowWords again = EncodeUnitRow(doc.GetPosData(k)->Element(axis));
      const long base = unitmap::Table(axis, k) / 2;
      for (int i = 0; i < static_cast<int>(unitmap::kRowWords); ++i) {
        uint16_t read = unit.WordAt(base + i);
        if (i == 0) read &= 0x0003;
        if (i == 2 || i == 3 || i == 14) read = 0;
        if (again[static_cast<size_t>(i)] != read) std::abort();
      }
    }
  }
  // The uploaded document compared with what the unit holds.
  CSettingDataSet set;
  set.family = doc.GetUnitFamily();
  set.layout = layout;
  std::vector<uint32_t> differences;
  CompareWithUnit(doc, set, differences);
  return 0;
}
