// Shows one of the axis settings dialogs with a prepared state and saves a
// picture of it: for looking at the dialogs without walking through the
// application. Options:
//   --init MASK        the used-axis dialog choosing axes to initialise, the
//                      axes of MASK (hexadecimal, bit 0 = axis 1) offered
//   --groups           the group settings dialog: group A axes 1 and 2,
//                      group B axes 3 and 4, axes 5 and 6 independent,
//                      synchronous group 1 on (master 1, slave 5)
//   --screenshot FILE  where the picture goes (default axis_dialog.png)
#include <QApplication>
#include <QDialog>
#include <QPixmap>
#include <QTest>
#include <cstdio>
#include <memory>

#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/axis_settings.h"
#include "group_settings_dlg.h"
#include "ui_strings.h"
#include "used_axis_dlg.h"

using namespace axcfg;

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  RegisterAxisCfgDataStrings();
  axcfgui::RegisterAxisCfgUiStrings();
  QString file = QStringLiteral("axis_dialog.png");
  int initMask = -1;
  bool groups = false;
  const QStringList args = app.arguments();
  for (int i = 1; i < args.size(); ++i) {
    if (args[i] == "--init" && i + 1 < args.size()) initMask = args[++i].toInt(nullptr, 16);
    else if (args[i] == "--groups") groups = true;
    else if (args[i] == "--screenshot" && i + 1 < args.size()) file = args[++i];
    else {
      std::fprintf(stderr, "usage: axiscfg_axis_dialogs_demo (--init MASK | --groups) [--screenshot FILE]\n");
      return 2;
    }
  }
  if ((initMask < 0) == !groups) {
    std::fprintf(stderr, "choose --init MASK or --groups\n");
    return 2;
  }

  CUsedAxisChoice choice = CUsedAxisChoice::ForInitialise(static_cast<uint16_t>(initMask & 0xFF), 0);
  CAxisLayout layout;
  layout.Clear();
  layout.Append(MakeGroupEntry(1, 0x03));
  layout.Append(MakeGroupEntry(2, 0x0C));
  layout.Append(MakeSingleAxisEntry(4));
  layout.Append(MakeSingleAxisEntry(5));
  SyncGroups sync{};
  sync[0].operation = 1;
  sync[0].masterMask = 0x01;
  sync[0].slaveMask = 0x10;
  std::array<uint16_t, kAxisCount> codes{};
  CGroupArrangement arrangement(0x3F, layout, sync, codes, codes, 0);

  std::unique_ptr<QDialog> dialog;
  if (groups) dialog = std::make_unique<axcfgui::CGroupSettingsDlg>(nullptr, arrangement);
  else dialog = std::make_unique<axcfgui::CUsedAxisDlg>(nullptr, choice);
  dialog->show();
  if (!QTest::qWaitForWindowExposed(dialog.get())) {
    std::fprintf(stderr, "the dialog was not shown\n");
    return 1;
  }
  QTest::qWait(300);
  if (!dialog->grab().save(file)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
    return 1;
  }
  std::printf("%s\n", qPrintable(file));
  return 0;
}
