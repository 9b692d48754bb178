#include "help_window.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <filesystem>

#include "platform/folders.h"
#include "startup_rules.h"

namespace axcfgui {

std::string HelpFolder(const std::string& helpFile) {
  std::string stem = helpFile.substr(0, helpFile.rfind('.'));
  return (std::filesystem::path(platform::ProgramDir()) / ".." / "share" / "keld" / "help" / stem).string();
}

namespace {
std::string g_appHelpFile;
}

void SetAppHelpFile(const std::string& helpFile) { g_appHelpFile = helpFile; }
std::string AppHelpFile() { return g_appHelpFile.empty() ? HelpFileName(0) : g_appHelpFile; }

bool ShowHelp(QWidget* parent, const std::string& helpFile, int context) {
  const std::string page = context == 0 ? "index.html" : std::to_string(context) + ".html";
  const QString path = QString::fromStdString((std::filesystem::path(HelpFolder(helpFile)) / page).string());
  if (!QFileInfo::exists(path)) return false;
  static QTextBrowser* window = nullptr;
  if (!window) {
    window = new QTextBrowser(parent);
    window->setWindowFlag(Qt::Window);
    window->resize(640, 480);
    window->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(window, &QObject::destroyed, [] { window = nullptr; });
  }
  window->setSource(QUrl::fromLocalFile(path));
  window->show();
  window->raise();
  return true;
}

}  // namespace axcfgui
