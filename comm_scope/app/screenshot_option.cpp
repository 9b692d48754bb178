#include "screenshot_option.h"

#include <QApplication>
#include <QDialog>
#include <QMdiArea>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>
#include <QWidget>

#include "scope_commands.h"
#include "scope_frame.h"

namespace commscope {

CScreenshotOption::CScreenshotOption(CScopeFrame& frame, const QStringList& arguments) : frame_(frame) {
  for (int i = 1; i < arguments.size(); ++i) {
    const QString& a = arguments[i];
    bool hasValue = i + 1 < arguments.size();
    bool ok = true;
    if (a == "--screenshot" && hasValue) file_ = arguments[++i];
    else if (a == "--open-port" && hasValue) ports_.append(arguments[++i].toInt(&ok));
    else if (a == "--open-client" && hasValue) clients_.append(arguments[++i].toInt(&ok));
    else if (a == "--show" && hasValue) show_ = arguments[++i];
    else ok = false;
    valid_ = valid_ && ok;
  }
  if (file_.isEmpty() && (!ports_.isEmpty() || !clients_.isEmpty() || !show_.isEmpty())) valid_ = false;
  if (!show_.isEmpty() && show_ != "property" && show_ != "config") valid_ = false;
}

void CScreenshotOption::Start() {
  if (file_.isEmpty()) return;
  QTimer::singleShot(1200, &frame_, [this] { Stage(); });
}

void CScreenshotOption::Stage() {
  frame_.WatchTick();
  for (int port : ports_) frame_.OpenPortView(port);
  for (int number : clients_) frame_.OpenClientView(number);
  frame_.Execute(ID_WINDOW_TILE);
  if (!show_.isEmpty()) {
    // The dialog is shown without its own loop, grabbed, then closed.
    frame_.runDialog = [this](QDialog& d) {
      d.show();
      QTimer::singleShot(800, &d, [this, &d] {
        Grab();
        d.reject();
      });
      return d.exec();
    };
    if (!ports_.isEmpty()) {
      // Select the first port in the tree so the property window has a port.
      for (QTreeWidgetItem* item : frame_.Tree()->findItems("*", Qt::MatchWildcard | Qt::MatchRecursive))
        if (item->data(0, Qt::UserRole).toInt() == ports_.first()) frame_.Tree()->setCurrentItem(item);
      frame_.Mdi()->setActiveSubWindow(nullptr);
    }
    QTimer::singleShot(0, &frame_, [this] {
      frame_.Execute(show_ == "config" ? ID_OPTION_CONFIG : ID_OPTION_PROPERTY);
      QApplication::quit();
    });
    return;
  }
  QTimer::singleShot(800, &frame_, [this] {
    Grab();
    QApplication::quit();
  });
}

void CScreenshotOption::Grab() {
  // The whole screen, so dialogs over the frame show as the user sees them.
  QScreen* screen = QApplication::primaryScreen();
  QPixmap picture = screen ? screen->grabWindow(0) : QPixmap();
  if (picture.isNull() || picture.toImage().allGray()) picture = frame_.grab();
  picture.save(file_);
}

}  // namespace commscope
