#include "platform/widget_message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

#include "platform/message_box.h"

namespace platform {

namespace {

struct ButtonSpec {
  QMessageBox::StandardButton button;
  int id;
};

std::vector<ButtonSpec> ButtonsFor(unsigned type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_ABORTRETRYIGNORE:
      return {{QMessageBox::Abort, IDABORT}, {QMessageBox::Retry, IDRETRY}, {QMessageBox::Ignore, IDIGNORE}};
    case MB_YESNOCANCEL: return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_YESNO: return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
    case MB_RETRYCANCEL: return {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}};
    default: return {{QMessageBox::Ok, IDOK}};
  }
}

QMessageBox::Icon IconFor(unsigned type) {
  switch (type & MB_ICONMASK) {
    case MB_ICONHAND: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONEXCLAMATION: return QMessageBox::Warning;
    case MB_ICONASTERISK: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

int WidgetBox(const MessageBoxRequest& r) {
  QWidget* owner = static_cast<QWidget*>(r.owner);
  // Without an owner the box belongs to the dialog in front, else to the
  // active window, and centres on it.
  if (!owner) owner = QApplication::activeModalWidget();
  if (!owner) owner = QApplication::activeWindow();
  if (r.window) return r.window(owner);
  QMessageBox box(IconFor(r.type), QString::fromStdString(r.caption), QString::fromStdString(r.text),
                  QMessageBox::NoButton, owner);
  auto buttons = ButtonsFor(r.type);
  for (auto& b : buttons) box.addButton(b.button);
  unsigned def = (r.type & MB_DEFMASK) >> 8;
  if (def < buttons.size()) box.setDefaultButton(buttons[def].button);
  int answer = box.exec();
  for (auto& b : buttons)
    if (answer == b.button) return b.id;
  // Closed by Escape or the window's close button: Cancel where there is one.
  for (auto& b : buttons)
    if (b.id == IDCANCEL) return IDCANCEL;
  return buttons.size() == 1 ? buttons[0].id : IDCANCEL;
}

}  // namespace

void InstallWidgetMessageBox() { SetMessageBoxHandler(WidgetBox); }

}  // namespace platform
