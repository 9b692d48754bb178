#include "monitor_view.h"

#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>

namespace commscope {

CMonitorView::CMonitorView(CMonitorDocument& document, QWidget* parent)
    : QAbstractScrollArea(parent), document_(document) {
  setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  setAttribute(Qt::WA_DeleteOnClose);
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setBackgroundRole(QPalette::Base);
  viewToken_ = document_.AddView([this] { Refresh(); });
  UpdateScrollBars();
}

CMonitorView::~CMonitorView() { document_.RemoveView(viewToken_); }

int CMonitorView::LineHeight() const { return fontMetrics().lineSpacing(); }

QString CMonitorView::Title() const { return document_.Ended() ? baseTitle_ + " (ended)" : baseTitle_; }

void CMonitorView::Refresh() {
  setWindowTitle(Title());
  UpdateScrollBars();
  document_.SetDisplayed();
  viewport()->update();
}

void CMonitorView::UpdateScrollBars() {
  int lines = static_cast<int>(document_.Records().size());
  int page = std::max(1, viewport()->height() / std::max(1, LineHeight()));
  adjusting_ = true;
  QScrollBar* v = verticalScrollBar();
  v->setRange(0, std::max(0, lines - page));
  v->setPageStep(page);
  v->setSingleStep(1);
  int widest = 0;
  // Width from a sample of the newest lines: measuring thousands per change costs too much.
  const auto& records = document_.Records();
  for (size_t i = records.size() > 200 ? records.size() - 200 : 0; i < records.size(); ++i)
    widest = std::max(widest, static_cast<int>(records[i].size()));
  QScrollBar* h = horizontalScrollBar();
  h->setRange(0, std::max(0, widest * fontMetrics().horizontalAdvance('0') - viewport()->width()));
  h->setPageStep(viewport()->width());
  if (follow_) v->setValue(v->maximum());
  adjusting_ = false;
}

void CMonitorView::scrollContentsBy(int, int) {
  if (!adjusting_) follow_ = verticalScrollBar()->value() >= verticalScrollBar()->maximum();
  viewport()->update();
}

void CMonitorView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void CMonitorView::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  const auto& records = document_.Records();
  int lh = std::max(1, LineHeight());
  int first = verticalScrollBar()->value();
  int visible = viewport()->height() / lh + 1;
  int x = 2 - horizontalScrollBar()->value();
  int ascent = fontMetrics().ascent();
  for (int i = 0; i < visible && first + i < static_cast<int>(records.size()); ++i)
    painter.drawText(x, i * lh + ascent, QString::fromUtf8(records[static_cast<size_t>(first + i)]));
}

void CMonitorView::keyPressEvent(QKeyEvent* event) {
  // Home and End (with or without Ctrl) go to the oldest and newest record;
  // the other scrolling keys are the scroll area's.
  if (event->key() == Qt::Key_Home) return verticalScrollBar()->setValue(0);
  if (event->key() == Qt::Key_End) return verticalScrollBar()->setValue(verticalScrollBar()->maximum());
  QAbstractScrollArea::keyPressEvent(event);
}

void CMonitorView::contextMenuEvent(QContextMenuEvent* event) {
  if (contextMenu_) contextMenu_->exec(event->globalPos());
}

}  // namespace commscope
