#include "comm_error_dialog.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QThread>
#include <QVBoxLayout>

#include "platform/message_box.h"
#include "ui_strings.h"

namespace axcfgui {

namespace {

QString Ui(unsigned id) { return QString::fromStdString(UiText(id)); }

}  // namespace

CCommErrorDialog::CCommErrorDialog(const QString& text, QWidget* parent) : QDialog(parent) {
  setWindowTitle(Ui(kIdsCommErrorTitle));
  auto* layout = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  auto* icon = new QLabel(this);
  icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
  row->addWidget(icon, 0, Qt::AlignTop);
  m_text = new QLabel(text, this);
  m_text->setObjectName("errorText");
  m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
  row->addWidget(m_text, 1);
  layout->addLayout(row);
  auto* buttons = new QHBoxLayout;
  m_continue = new QPushButton(Ui(kIdsCommErrorContinue), this);
  m_end = new QPushButton(Ui(kIdsCommErrorEnd), this);
  m_continue->setDefault(true);
  buttons->addStretch();
  buttons->addWidget(m_continue);
  buttons->addWidget(m_end);
  buttons->addStretch();
  layout->addLayout(buttons);
  connect(m_continue, &QPushButton::clicked, this, &CCommErrorDialog::accept);
  connect(m_end, &QPushButton::clicked, this, &CCommErrorDialog::reject);
}

void CCommErrorDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (m_beeped) return;
  m_beeped = true;
  QApplication::beep();
}

QWidget* CurrentTopLevelWindow() {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  if (QWidget* active = QApplication::activeWindow()) return active;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && w->isWindow() && !w->testAttribute(Qt::WA_DontShowOnScreen)) return w;
  return nullptr;
}

int CWidgetLinkUi::CommunicationError(const std::string& text, void* /*remembered owner*/) {
  // Windows live on the interface thread: a report from a worker waits there.
  if (QApplication::instance() && QThread::currentThread() != QApplication::instance()->thread()) {
    int answer = CCommErrorDialog::kEnd;
    QMetaObject::invokeMethod(QApplication::instance(), [&] { answer = CommunicationError(text, nullptr); },
                              Qt::BlockingQueuedConnection);
    return answer;
  }
  platform::MessageBoxRequest request;
  request.text = text;
  request.caption = UiText(kIdsCommErrorTitle);
  request.type = platform::MB_OKCANCEL | platform::MB_ICONEXCLAMATION;
  request.owner = CurrentTopLevelWindow();
  request.window = [text](void* owner) {
    CCommErrorDialog dialog(QString::fromStdString(text), static_cast<QWidget*>(owner));
    return dialog.exec();
  };
  return platform::ShowMessageBox(request) == platform::IDOK ? CCommErrorDialog::kContinue : CCommErrorDialog::kEnd;
}

}  // namespace axcfgui
