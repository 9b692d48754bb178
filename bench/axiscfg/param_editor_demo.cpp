// The parameter settings dialog on a sample document, for a look at it:
//
//   param_editor_demo [--screenshot FILE] [--group | --pulser | --choice | --copy | --init]
//
// --group: group A of axes 1 and 2 and axis 3 alone (the default); --pulser:
// the interpolation family scrolled to the pulser rows; --choice: the unit
// setting's drop-down open; --copy and --init: the Copy axis and Initialize
// dialogs over it. With --screenshot the screen is saved to FILE and the
// program ends.
#include <QApplication>
#include <QComboBox>
#include <QScreen>
#include <QTimer>
#include <QTest>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/axcfg_strings.h"
#include "param_edit_grid.h"
#include "param_settings_dlg.h"
#include "ui_strings.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  axcfgui::RegisterAxisCfgUiStrings();
  QString screenshot, mode = QStringLiteral("--group");
  const QStringList args = app.arguments();
  for (int i = 1; i < args.size(); ++i) {
    if (args[i] == "--screenshot" && i + 1 < args.size()) screenshot = args[++i];
    else mode = args[i];
  }

  axcfg::CAxisCfgDoc doc;
  axcfg::CAxisLayout layout;
  layout.Clear();
  if (mode == "--pulser") {
    doc.SetUnitFamily(1);
    for (int a = 0; a < 4; ++a) layout.Append(axcfg::MakeSingleAxisEntry(a));
  } else {
    layout.Append(axcfg::MakeGroupEntry(1, 0x03));
    layout.Append(axcfg::MakeSingleAxisEntry(2));
  }
  doc.SetLayout(layout);
  axcfg::CParamBlock& params = doc.GetParamBlock();
  axcfg::SetGroupUnit(params, layout, 0, 1);
  params.SetParam(axcfg::kParamUnit, 2, 3);
  params.SetParam(48, 2, 0);  // out of range: drawn red

  axcfg::CParamEditModel model(doc);
  axcfgui::CParamSettingsDlg dialog(nullptr, model, false, std::string());
  axcfgui::CParamEditGrid* grid = dialog.Grid();
  auto grabAndQuit = [&] {
    QPixmap shot = dialog.screen()->grabWindow(0);
    if (shot.isNull()) shot = dialog.grab();
    shot.save(screenshot);
    app.quit();
  };
  dialog.runSubDialog = [&](QDialog& sub) {
    sub.show();
    if (!screenshot.isEmpty()) QTimer::singleShot(800, &sub, [&] { grabAndQuit(); sub.reject(); });
    return sub.exec();
  };
  dialog.resize(dialog.width(), 620);
  dialog.show();

  QTimer::singleShot(300, [&] {
    if (mode == "--pulser") {
      grid->SetCurrentCell(1, model.ParamToRow(axcfg::kParamPulserCode));
      grid->SetFirstVisibleRow(model.ParamToRow(axcfg::kParamPulserCode) - 6);
    } else if (mode == "--choice") {
      grid->SetCurrentCell(2, 0);
      QTest::keyClick(grid, Qt::Key_F2);
    } else if (mode == "--copy") {
      grid->SetCurrentCell(2, 3);
      dialog.OnCopyAxis();
    } else if (mode == "--init") {
      dialog.OnInitialize();
    } else {
      grid->SetCurrentCell(2, model.ParamToRow(48));
    }
  });
  if (!screenshot.isEmpty() && mode != "--copy" && mode != "--init") QTimer::singleShot(1200, grabAndQuit);
  return app.exec();
}
