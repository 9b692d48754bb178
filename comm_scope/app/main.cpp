// KELD_TAVSCOPE: the log viewer's window, or with a command the command line.
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QTimer>
#include <csignal>
#include <iostream>

#include "platform/program_icon.h"
#include "platform/widget_message_box.h"
#include "scope_cli.h"
#include "scope_frame.h"
#include "screenshot_option.h"

int main(int argc, char** argv) {
  // A file size limit must fail an export with its message, not end the program.
  std::signal(SIGXFSZ, SIG_IGN);
  std::vector<std::string> args(argv + 1, argv + argc);
  if (commscope::IsScopeCommandLine(args)) {
    QCoreApplication app(argc, argv);
    auto library = commscope::MakeTavViewerLibrary();
    return commscope::RunScopeCommandLine(args, *library, std::cout, std::cerr);
  }
  QApplication app(argc, argv);
  platform::InstallWidgetMessageBox();
  platform::SetProgramIdentity("KELD_TAVSCOPE", "keld-tavscope");
  auto library = commscope::MakeTavViewerLibrary();
  commscope::CScopeFrame frame(*library);
  frame.show();
  commscope::CScreenshotOption shot(frame, QCoreApplication::arguments());
  if (!shot.Valid()) {
    std::cerr << "usage: KELD_TAVSCOPE [--screenshot FILE [--open-port N]... [--open-client N]... "
                 "[--show property|config]]\n";
    return 2;
  }
  shot.Start();
  return app.exec();
}
