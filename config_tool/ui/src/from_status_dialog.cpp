#include "from_status_dialog.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include "axcfg_unit/from_write_watch.h"
#include "axcfg_unit/monitor_strings.h"

namespace axcfgui {

using axcfg::CFromWriteWatch;

CFromStatusDialog::CFromStatusDialog(axcfg::CUnitLink* link, QWidget* parent)
    : QDialog(parent),
      m_watch(link ? std::make_unique<CFromWriteWatch>(*link) : nullptr),
      m_writing(new QLabel(QString::fromStdString(axcfg::MonitorText(axcfg::kMonWritingToFrom)), this)),
      m_timer(new QTimer(this)),
      m_tickMs(CFromWriteWatch::kTickMs) {
  setWindowTitle(QString::fromStdString(axcfg::MonitorText(axcfg::kMonFromStatusTitle)));
  auto* layout = new QVBoxLayout(this);
  m_writing->setAlignment(Qt::AlignCenter);
  // The line keeps its place while it blinks.
  QSizePolicy keep = m_writing->sizePolicy();
  keep.setRetainSizeWhenHidden(true);
  m_writing->setSizePolicy(keep);
  layout->addWidget(m_writing);
  auto* wait = new QLabel(QString::fromStdString(axcfg::MonitorText(axcfg::kMonPleaseWait)), this);
  wait->setAlignment(Qt::AlignCenter);
  layout->addWidget(wait);
  setMinimumWidth(320);
  m_timer->setSingleShot(true);
  connect(m_timer, &QTimer::timeout, this, &CFromStatusDialog::OnTick);
}

CFromStatusDialog::~CFromStatusDialog() = default;

int CFromStatusDialog::exec() {
  if (!m_watch) return axcfg::kFromWriteCommError;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const int state = m_watch->Check();
  QApplication::restoreOverrideCursor();
  if (state != axcfg::kFromStillWriting) return state;
  m_timer->start(m_tickMs);
  return QDialog::exec();
}

void CFromStatusDialog::OnTick() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const int state = m_watch->Tick();
  QApplication::restoreOverrideCursor();
  if (state != axcfg::kFromStillWriting) {
    done(state);
    return;
  }
  m_writing->setVisible(m_watch->BlinkVisible());
  m_timer->start(m_tickMs);
}

}  // namespace axcfgui
