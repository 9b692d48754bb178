#include "platform/help_window.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QWindow>
#include <filesystem>

namespace platform {

namespace {

QPointer<QTextBrowser> g_window;

// An application-modal window that has an owner is made modal to its
// owner's window before it shows: it then blocks that window only.
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

bool ShowHelpPage(QWidget* parent, const std::string& folder, int context, const std::string& caption) {
  const std::string page = context == 0 ? "index.html" : std::to_string(context) + ".html";
  const QString path = QString::fromStdString((std::filesystem::path(folder) / page).string());
  if (!QFileInfo::exists(path)) return false;
  if (!g_window) {
    // A window of its own, owned by nobody, so that no dialog blocks it.
    g_window = new QTextBrowser;
    g_window->setObjectName(QStringLiteral("HelpWindow"));
    g_window->setAttribute(Qt::WA_DeleteOnClose);
    g_window->setAttribute(Qt::WA_QuitOnClose, false);
    g_window->resize(720, 560);
    if (parent) g_window->move(parent->window()->geometry().center() - QPoint(360, 280));
  }
  QTextBrowser* window = g_window;
  const QString name = caption.empty() ? QApplication::applicationDisplayName() : QString::fromStdString(caption);
  QObject::disconnect(window, &QTextBrowser::sourceChanged, nullptr, nullptr);
  QObject::connect(window, &QTextBrowser::sourceChanged, window, [window, name] {
    const QString title = window->documentTitle();
    window->setWindowTitle(title.isEmpty() ? name : title + QStringLiteral(" - ") + name);
  });
  window->setSource(QUrl::fromLocalFile(path));
  window->show();
  window->raise();
  window->activateWindow();
  return true;
}

QWidget* HelpPageWindow() { return g_window; }

void CloseHelpPages() {
  if (g_window) g_window->close();
}

void KeepHelpUsableBesideDialogs() {
  static CDialogModality* filter = nullptr;
  if (filter || !qApp) return;
  filter = new CDialogModality(qApp);
  qApp->installEventFilter(filter);
}

}  // namespace platform
