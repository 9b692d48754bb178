#include "dialog_util.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFont>
#include <QKeyEvent>
#include <QPushButton>
#include <QWidget>
#include <algorithm>

#include "ui_strings.h"

namespace axcfgui {

namespace {

const QFont* g_dialogFont = nullptr;

// Watches the events dispatched for Enter and Escape key presses.
class CKeyWatcher : public QObject {
 public:
  int result = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::KeyPress && result == 0) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) result = 1;
      if (key == Qt::Key_Escape) result = 2;
    }
    return false;
  }
};

}  // namespace

void SetDialogFont(const QFont* font) { g_dialogFont = font; }
const QFont* DialogFont() { return g_dialogFont; }

void ApplyDialogFont(QWidget* window, int mode, std::initializer_list<int> excludedIds) {
  if (!g_dialogFont || !window) return;
  if (mode == 0) window->setFont(*g_dialogFont);
  for (QWidget* child : window->findChildren<QWidget*>()) {
    const int id = child->property("controlId").toInt();
    if (id != 0 && std::find(excludedIds.begin(), excludedIds.end(), id) != excludedIds.end()) continue;
    child->setFont(*g_dialogFont);
  }
}

int DispatchPendingMessages(QWidget*) {
  CKeyWatcher watcher;
  QCoreApplication::instance()->installEventFilter(&watcher);
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  QCoreApplication::sendPostedEvents();
  QCoreApplication::instance()->removeEventFilter(&watcher);
  return watcher.result;
}

QString UiQText(unsigned id) { return QString::fromStdString(UiText(id)); }

QDialogButtonBox* OkCancelHelp(QDialog* dialog, const std::function<void()>* onHelp) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  QPushButton* help = buttons->addButton(UiQText(kIdsHelpButton), QDialogButtonBox::HelpRole);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  QObject::connect(help, &QPushButton::clicked, dialog, [onHelp] {
    if (*onHelp) (*onHelp)();
  });
  return buttons;
}

}  // namespace axcfgui
