#pragma once
// A monitor view: the records of one document as text, oldest first. Only
// the visible lines are painted; the view follows the newest record unless
// the user scrolled up. Its context menu carries the view commands.
#include <QAbstractScrollArea>
#include <functional>

#include "commscope/monitor_document.h"

class QMenu;

namespace commscope {

class CMonitorView : public QAbstractScrollArea {
  Q_OBJECT
 public:
  CMonitorView(CMonitorDocument& document, QWidget* parent = nullptr);
  ~CMonitorView() override;

  CMonitorDocument& Document() { return document_; }
  // The context menu's commands, built by the frame from its command table.
  void SetContextMenu(QMenu* menu) { contextMenu_ = menu; }
  // Re-reads the records (the document changed) and keeps following the end.
  void Refresh();
  bool FollowsEnd() const { return follow_; }
  int LineHeight() const;
  // The title: the port's name or the client's label, and a mark once ended.
  QString Title() const;
  void SetBaseTitle(const QString& title) { baseTitle_ = title, setWindowTitle(Title()); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void UpdateScrollBars();

  CMonitorDocument& document_;
  int viewToken_ = 0;
  bool follow_ = true;
  bool adjusting_ = false;
  QMenu* contextMenu_ = nullptr;
  QString baseTitle_;
};

}  // namespace commscope
