#pragma once
// --screenshot FILE: opens the named views (--open-port N, --open-client N),
// optionally shows a window (--show property|config), saves a picture of the
// screen's windows to FILE and quits. For documentation and checks under a
// virtual display.
#include <QStringList>

namespace commscope {

class CScopeFrame;

class CScreenshotOption {
 public:
  CScreenshotOption(CScopeFrame& frame, const QStringList& arguments);
  bool Valid() const { return valid_; }
  void Start();

 private:
  void Stage();
  void Grab();

  CScopeFrame& frame_;
  bool valid_ = true;
  QString file_;
  QList<int> ports_, clients_;
  QString show_;
};

}  // namespace commscope
