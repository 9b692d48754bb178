// AxisCfg: the configuration tool for positioning units.
#include <QApplication>

#include "axcfg_unit/connect_wait_library.h"
#include "axcfg_unit/link_dialogs.h"
#include "axcfg_unit/link_library.h"
#include "axiscfg_app.h"
#include "platform/program_icon.h"
#include "platform/widget_message_box.h"

int main(int argc, char* argv[]) {
  QApplication qapp(argc, argv);
  platform::InstallWidgetMessageBox();
  platform::SetProgramIdentity("AxisCfg", "keld-axiscfg");
  axcfgui::CAxisCfgApp app;
  // Opens and requests over Ethernet show the connecting window while they wait.
  axcfg::CConnectWatchingLibrary library(axcfg::TavLinkLibrary());
  app.SetLinkLibrary(&library, &axcfg::TavLinkDialogs());
  if (!app.InitInstance(QApplication::arguments())) {
    app.ExitInstance();
    return 0;
  }
  const int rc = QApplication::exec();
  app.ExitInstance();
  return rc;
}
