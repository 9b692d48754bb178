#include "help_window.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QWindow>
#include <filesystem>

#include "axcfg_data/axcfg_strings.h"
#include "platform/folders.h"

namespace axcfgui {

namespace {

QPointer<QTextBrowser> g_helpWindow;

// Dialogs and message boxes block only the windows they belong to, not the
// help window, which stays usable beside them: an application-modal
// window that has an owner is made modal to that owner's window before it
// shows.
class CDialogModality : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* object, QEvent* event) override {
    if (event->type() == QEvent::Show && object->isWidgetType()) {
      auto* widget = static_cast<QWidget*>(object);
      if (widget->isWindow() && widget->parentWidget() && widget->windowModality() == Qt::ApplicationModal) {
        widget->setWindowModality(Qt::WindowModal);
        // The native window took its modality when it was created.
        if (QWindow* window = widget->windowHandle()) window->setModality(Qt::WindowModal);
      }
    }
    return false;
  }
};

}  // namespace

std::string HelpFolder(const std::string& helpFile) {
  std::string stem = helpFile.substr(0, helpFile.rfind('.'));
  return (std::filesystem::path(platform::ProgramDir()) / ".." / "share" / "keld" / "help" / stem).string();
}

void KeepHelpUsableBesideDialogs() {
  static CDialogModality* filter = nullptr;
  if (filter || !qApp) return;
  filter = new CDialogModality(qApp);
  qApp->installEventFilter(filter);
}

bool ShowHelp(QWidget* parent, const std::string& helpFile, int context) {
  const std::string page = context == 0 ? "index.html" : std::to_string(context) + ".html";
  const QString path = QString::fromStdString((std::filesystem::path(HelpFolder(helpFile)) / page).string());
  if (!QFileInfo::exists(path)) return false;
  if (!g_helpWindow) {
    // A window of its own, owned by nobody: no dialog of the tool blocks it.
    g_helpWindow = new QTextBrowser;
    g_helpWindow->setObjectName(QStringLiteral("HelpWindow"));
    g_helpWindow->setAttribute(Qt::WA_DeleteOnClose);
    g_helpWindow->setAttribute(Qt::WA_QuitOnClose, false);
    g_helpWindow->resize(720, 560);
    QTextBrowser* window = g_helpWindow;
    auto retitle = [window] {
      const QString caption = QString::fromUtf8(axcfg::kMessageCaption);
      const QString title = window->documentTitle();
      window->setWindowTitle(title.isEmpty() ? caption : title + QStringLiteral(" - ") + caption);
    };
    QObject::connect(g_helpWindow, &QTextBrowser::sourceChanged, g_helpWindow, retitle);
    if (parent) g_helpWindow->move(parent->window()->geometry().center() - QPoint(360, 280));
  }
  g_helpWindow->setSource(QUrl::fromLocalFile(path));
  g_helpWindow->show();
  g_helpWindow->raise();
  g_helpWindow->activateWindow();
  return true;
}

QWidget* HelpWindow() { return g_helpWindow; }

void CloseHelpWindow() {
  if (g_helpWindow) g_helpWindow->close();
}

}  // namespace axcfgui
