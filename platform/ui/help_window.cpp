#include "platform/help_window.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <filesystem>

namespace platform {

bool ShowHelpPage(QWidget* parent, const std::string& folder, int context) {
  const std::string page = context == 0 ? "index.html" : std::to_string(context) + ".html";
  const QString path = QString::fromStdString((std::filesystem::path(folder) / page).string());
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

}  // namespace platform
