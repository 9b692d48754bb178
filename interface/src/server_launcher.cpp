#include "server_launcher.h"

#include <QProcess>
#include <QString>
#include <QStringList>

#include "library_settings.h"
#include "platform/folders.h"
#include "tavinter/result_codes.h"

namespace tavinter {

int StartServer(int port, int language) {
  std::string program = ServerProgram();
  if (program.empty()) return TAV_E_SERVER_START;
  QProcess process;
  process.setProgram(QString::fromStdString(program));
  process.setArguments({QString("-%1").arg(port), QString("-%1").arg(language)});
  // A resident server must not hold on to the terminal or pipes of the
  // program that happened to start it; its diagnostics go to a file.
  process.setStandardInputFile(QProcess::nullDevice());
  process.setStandardOutputFile(QProcess::nullDevice());
  process.setStandardErrorFile(
      QString::fromStdString(platform::RuntimeDir() + "/KELD_TAVMGR" + std::to_string(port) + ".err"),
      QIODevice::Append);
  return process.startDetached() ? 0 : TAV_E_SERVER_START;
}

}  // namespace tavinter
