// Change of axes on a full document: 8 single axes with 600 filled rows
// become groups A (axes 1-3) and B (axes 4-6) and the single axes 7 and 8.
// The dialogs are answered by script; the time covers the sequence, the
// confirmation, the reset of the changed axes' tables and the rebuild of
// every sheet of the table view. Prints the median and the fastest run:
//   scripted dialogs   the sequence over its core, no widgets
//   dialog widgets     the used-axis and group dialogs built and answered
//
//   bench_change_axes [runs]     (runs offscreen unless QT_QPA_PLATFORM is set)
#include <QApplication>
#include <QDialog>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/axis_settings.h"
#include "axis_settings_sequence.h"
#include "axiscfg_view.h"
#include "bench_timing.h"
#include "group_area.h"
#include "group_settings_dlg.h"
#include "platform/message_box.h"
#include "ui_strings.h"

using namespace axcfg;

namespace {

CAxisLayout EightSingles() {
  CAxisLayout l;
  l.Clear();
  for (int a = 0; a < kAxisCount; ++a) l.Append(MakeSingleAxisEntry(a));
  return l;
}

void Fill(CAxisCfgDoc& doc) {
  doc.SetLayout(EightSingles());
  for (int k = 0; k < doc.GetRowCount(); ++k)
    for (int a = 0; a < kAxisCount; ++a) {
      CPosData* row = doc.GetPosData(k);
      row->SetMoveAmount(a, 1000 * k + a);
      row->SetTargetSpeed(a, 1 + k);
      row->SetComment(a, "table " + std::to_string(k + 1));
    }
  doc.SetModifiedFlag(false);
}

// Groups the axes as the benchmark wants them.
void Arrange(CGroupArrangement& a) {
  for (int axis = 0; axis < 3; ++axis) a.Move(axis, 0);
  for (int axis = 3; axis < 6; ++axis) a.Move(axis, 1);
}

class ScriptedDialogs : public IAxisDialogs {
 public:
  bool RunUsedAxis(CUsedAxisChoice& c) override { return c.Ok().accepted; }
  bool RunGroups(CGroupArrangement& a) override {
    Arrange(a);
    return a.Ok().accepted;
  }
  void ShowInformation(const std::string&) override {}
};

void Check(const CAxisCfgDoc& doc, const axcfgui::CAxisCfgView& view) {
  if (doc.GetAxisEntryCount() != 4 || view.GetSheetCount() != 4 || doc.GetPosData(0)->GetComment(0) != "") {
    std::fprintf(stderr, "the change of axes did not give groups A, B and axes 7, 8\n");
    std::exit(1);
  }
}

void Run(const char* label, IAxisSettingsSequence& sequence, int runs) {
  CAxisCfgDoc doc;
  doc.CreateDefaultRows();
  axcfgui::CAxisCfgView view;
  view.resize(1200, 700);
  doc.AddView(&view);
  doc.SetAxisSettingsSequence(&sequence);
  const bench::Timing t = bench::MeasureMs(
      runs,
      [&] {
        Fill(doc);
        doc.UpdateAllViews(nullptr, kHintRebuildAll);
      },
      [&] {
        if (doc.ChangeAxes() != ChangeAxesResult::Changed) {
          std::fprintf(stderr, "the change of axes was not made\n");
          std::exit(1);
        }
      });
  Check(doc, view);
  bench::Print(label, t);
  doc.RemoveView(&view);
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  RegisterAxisCfgDataStrings();
  axcfgui::RegisterAxisCfgUiStrings();
  // Yes to "initialise the changed axes?".
  platform::SetMessageBoxHandler([](const platform::MessageBoxRequest&) { return platform::IDYES; });
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;

  ScriptedDialogs scripted;
  CAxisSettingsSequenceCore core(scripted);
  Run("scripted dialogs", core, runs);

  axcfgui::CAxisSettingsSequence widgets(nullptr, [](QDialog& dialog) {
    if (auto* groups = qobject_cast<axcfgui::CGroupSettingsDlg*>(&dialog)) Arrange(groups->Area()->Arrangement());
    dialog.accept();
    return dialog.result();
  });
  Run("dialog widgets", widgets, runs);
  return 0;
}
