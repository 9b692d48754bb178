#pragma once
// The start-up picture: a caption-less window with the bitmap, closed after
// 3 s or at the first key or mouse press anywhere in the application.
#include <QWidget>

#include "startup_rules.h"

namespace axcfgui {

class CSplashWindow : public QWidget {
  Q_OBJECT

 public:
  // Null when the picture cannot be shown.
  static CSplashWindow* Create(const SplashInfo& info);
  ~CSplashWindow() override;
  // Shows the window and pumps events until it has closed.
  void RunUntilClosed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  explicit CSplashWindow(const QPixmap& picture);
  QPixmap m_picture;
  bool m_closed = false;
};

}  // namespace axcfgui
