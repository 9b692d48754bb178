#pragma once
// The application with the dialogs the user answers scripted by the test,
// and small helpers to find sheets and columns.
#include <QDialog>
#include <QStringList>
#include <string>

#include "axcfg_data/axcfg_doc.h"
#include "axiscfg_app.h"
#include "axiscfg_view.h"

namespace axcfgui {

// An application whose dialogs answer from the test.
struct ScriptedApp {
  CAxisCfgApp app;
  int startDialogs = 0;
  StartChoice startChoice = StartChoice::Closed;
  std::string openAnswer;
  std::string saveAnswer;
  std::string proposedName;

  ScriptedApp() {
    app.GetPrompts().startDialog = [this](QWidget*) {
      ++startDialogs;
      return startChoice;
    };
    // The axis dialogs are accepted as they open.
    app.GetPrompts().axisDialog = [](QDialog& dialog) {
      dialog.accept();
      return dialog.result();
    };
    app.GetPrompts().openFile = [this](QWidget*, const std::string&) { return openAnswer; };
    app.GetPrompts().saveFile = [this](QWidget*, const std::string&, const std::string& proposed) {
      proposedName = proposed;
      return saveAnswer;
    };
  }
  bool Start(QStringList extra = {}) {
    QStringList args{QStringLiteral("AxisCfg"), QStringLiteral("--no-splash")};
    args << extra;
    return app.InitInstance(args);
  }
};

// Layout with group A of axes 2 and 5 and axis 1 alone.
inline void UseGroupLayout(axcfg::CAxisCfgDoc& doc) {
  axcfg::CAxisLayout layout;
  layout.Clear();
  layout.Append(axcfg::MakeGroupEntry(1, 0x12));
  layout.Append(axcfg::MakeSingleAxisEntry(0));
  doc.SetLayout(layout);
  doc.UpdateAllViews(nullptr, axcfg::kHintRebuildAll);
}

inline int ColumnOfNumber(const CAxisCfgView& view, int sheet, int number) {
  for (int c = 0; c < view.GetColumnCount(sheet); ++c)
    if (view.GetColumnData(sheet, c) == number) return c;
  return -1;
}


}  // namespace axcfgui
