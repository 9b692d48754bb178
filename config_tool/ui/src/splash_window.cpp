#include "splash_window.h"

#include <QApplication>
#include <QEventLoop>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

namespace axcfgui {

CSplashWindow* CSplashWindow::Create(const SplashInfo& info) {
  QPixmap picture;
  if (!picture.loadFromData(reinterpret_cast<const uchar*>(info.bytes.data()),
                            static_cast<uint>(info.bytes.size()), "BMP"))
    return nullptr;
  return new CSplashWindow(picture);
}

CSplashWindow::CSplashWindow(const QPixmap& picture)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), m_picture(picture) {
  setFixedSize(picture.size());
  if (QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->geometry().center() - rect().center());
}

CSplashWindow::~CSplashWindow() { qApp->removeEventFilter(this); }

void CSplashWindow::RunUntilClosed() {
  qApp->installEventFilter(this);
  show();
  QEventLoop loop;
  QTimer::singleShot(3000, &loop, &QEventLoop::quit);
  connect(this, &QObject::destroyed, &loop, &QEventLoop::quit);
  QTimer poll;
  connect(&poll, &QTimer::timeout, &loop, [&] {
    if (m_closed) loop.quit();
  });
  poll.start(20);
  loop.exec();
  qApp->removeEventFilter(this);
  hide();
}

bool CSplashWindow::eventFilter(QObject*, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::NonClientAreaMouseButtonPress:
      m_closed = true;
      break;
    default:
      break;
  }
  return false;
}

void CSplashWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawPixmap(0, 0, m_picture);
}

}  // namespace axcfgui
