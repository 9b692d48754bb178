// The motion profile window on a sample C/P chain of group A (axes 1 and
// 2), for a look at it:
//
//   motion_profile_demo [--screenshot FILE]
//
// Table 1 (C) runs along X and dwells, 2 (P) turns up along Y, 3 (P) is a
// quarter circle counter-clockwise, 4 (C, S-shaped) runs back along X and
// dwells, 5 (E) returns to the start. With --screenshot the window is
// saved to FILE and the program ends.
#include <QApplication>
#include <QTimer>

#include "axcfg_data/axcfg_doc.h"
#include "motion_profile_window.h"
#include "ui_strings.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  axcfgui::RegisterAxisCfgUiStrings();
  QString screenshot;
  const QStringList args = app.arguments();
  for (int i = 1; i + 1 < args.size(); ++i)
    if (args[i] == "--screenshot") screenshot = args[i + 1];

  axcfg::CAxisCfgDoc doc;
  axcfg::CAxisLayout layout;
  layout.Clear();
  layout.Append(axcfg::MakeGroupEntry(1, 0x03));
  layout.Append(axcfg::MakeSingleAxisEntry(2));
  doc.SetLayout(layout);
  for (int axis : {0, 1}) doc.GetParamBlock().SetUnitCode(axis, 0x0101);  // um
  const struct {
    uint8_t method, pattern;
    int64_t x, y, auxX, auxY, speed;
    int dwell;
    uint8_t sShaped;
  } rows[] = {
      {axcfg::kCtrlContinue, 0x00, 2000, 0, 0, 0, 2000, 300, 0},
      {axcfg::kCtrlPass, 0x00, 0, 1000, 0, 0, 1500, 0, 0},
      {axcfg::kCtrlPass, 0x11, -1000, 1000, -1000, 0, 1500, 0, 0},
      {axcfg::kCtrlContinue, 0x00, -1000, 0, 0, 0, 2000, 500, 1},
      {axcfg::kCtrlEnd, 0x00, 0, -2000, 0, 0, 2500, 0, 1},
  };
  for (int k = 0; k < 5; ++k)
    for (int axis : {0, 1}) {
      axcfg::CPosData& row = *doc.GetPosData(k);
      row.SetControlMethod(axis, rows[k].method);
      row.SetInterpPattern(axis, rows[k].pattern);
      row.SetMoveAmount(axis, axis == 0 ? rows[k].x : rows[k].y);
      row.SetAuxPoint(axis, axis == 0 ? rows[k].auxX : rows[k].auxY);
      row.SetTargetSpeed(axis, rows[k].speed);
      row.SetAccelTime(axis, 200);
      row.SetDecelTime(axis, 250);
      row.SetDwellTime(axis, rows[k].dwell);
      row.SetAccelPattern(axis, rows[k].sShaped);
    }

  axcfgui::CMotionProfileWindow window(nullptr, "AxisCfgEnu.chm");
  window.resize(1280, 820);
  window.ShowFrom(doc, doc.GetAxisEntry(0), 1);
  if (!screenshot.isEmpty()) {
    QTimer::singleShot(500, &window, [&] {
      const bool saved = window.grab().save(screenshot);
      QApplication::exit(saved ? 0 : 1);
    });
  }
  return app.exec();
}
