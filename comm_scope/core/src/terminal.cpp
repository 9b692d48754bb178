#include "commscope/terminal.h"

#include <unistd.h>

#include <QProcess>
#include <QString>
#include <QStringList>

#include "commscope/scope_texts.h"

namespace commscope {

std::string TerminalProgram(const std::string& programDir) { return programDir + "/TAVTERM.EXE"; }

unsigned StartTerminal(const std::string& programDir, int port) {
  std::string program = TerminalProgram(programDir);
  if (::access(program.c_str(), X_OK) != 0) return kIdNoTerminal;
  QStringList args{QString::asprintf("-%d", port)};
  return QProcess::startDetached(QString::fromStdString(program), args) ? 0 : kIdNoTerminal;
}

}  // namespace commscope
