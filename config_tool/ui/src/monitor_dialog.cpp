#include "monitor_dialog.h"

#include <QApplication>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "axcfg_data/axcfg_strings.h"
#include "axcfg_unit/monitor_strings.h"
#include "axcfg_unit/unit_link.h"
#include "help_window.h"
#include "monitor_grid.h"
#include "platform/message_box.h"

namespace axcfgui {

CMonitorDialog::CMonitorDialog(QWidget* parent, axcfg::CUnitLink& link, int helpContext, CMonitorGrid* grid)
    : QDialog(parent),
      m_link(link),
      m_helpContext(helpContext),
      m_grid(grid ? grid : new CMonitorGrid(this)),
      m_close(new QPushButton(QString::fromStdString(axcfg::MonitorText(axcfg::kMonClose)), this)),
      m_help(new QPushButton(QString::fromStdString(axcfg::MonitorText(axcfg::kMonHelp)), this)),
      m_buttons(new QHBoxLayout),
      m_timer(new QTimer(this)) {
  m_grid->setParent(this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_grid, 1);
  auto* buttons = m_buttons;
  buttons->addStretch(1);
  buttons->addWidget(m_close);
  buttons->addWidget(m_help);
  layout->addLayout(buttons);
  m_close->setDefault(true);
  connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
  connect(m_help, &QPushButton::clicked, this, [this] { ShowHelp(this, m_helpFile, m_helpContext); });
  m_timer->setSingleShot(true);
  connect(m_timer, &QTimer::timeout, this, &CMonitorDialog::OnTick);
}

void CMonitorDialog::AddButton(QPushButton* button) {
  button->setParent(this);
  m_buttons->insertWidget(m_buttons->indexOf(m_close), button);
}

void CMonitorDialog::FitToGrid() {
  // The axis columns end under the Close button; Help stands to its right.
  resize(m_grid->sizeHint().width() + m_help->sizeHint().width() + 40,
         m_grid->sizeHint().height() + m_close->sizeHint().height() + 40);
}

CMonitorDialog::~CMonitorDialog() {
  // The worker reads through storage the cycle function owns: it must end
  // before that goes. A result it still posts is dropped with this object.
  m_stop = true;
  if (m_worker.joinable()) m_worker.join();
}

void CMonitorDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // The axis columns end where the Close button ends.
  m_grid->SetColumnsRight(m_close->geometry().right() - m_grid->geometry().left() + 1);
  if (!m_started) {
    m_started = true;
    m_timer->start(m_periodMs);
  }
}

void CMonitorDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_PageUp) {
    m_grid->ScrollBy(-1);
  } else if (event->key() == Qt::Key_PageDown) {
    m_grid->ScrollBy(1);
  } else {
    QDialog::keyPressEvent(event);
  }
}

void CMonitorDialog::OnTick() {
  if (m_closing || m_stop || m_worker.joinable() || !m_cycle) return;
  m_worker = std::thread([this] {
    int rc = 0;
    if (!m_stop) rc = m_cycle();
    // Handed to the window thread; dropped when the window is gone.
    QMetaObject::invokeMethod(this, [this, rc] { OnCycleDone(rc); }, Qt::QueuedConnection);
  });
}

void CMonitorDialog::OnCycleDone(int rc) {
  if (m_worker.joinable()) m_worker.join();
  if (m_waitLoop) m_waitLoop->quit();
  if (m_closing || m_stop) return;
  if (rc != 0) {
    m_stop = true;
    CycleFailed(rc);
    update();
    return;
  }
  m_take();
  ++m_drawn;
  m_timer->start(m_periodMs);
}

void CMonitorDialog::CycleFailed(int rc) {
  axcfg::AxisCfgMessageBox(axcfg::MonitorText(axcfg::kMonStopMonitoring) + m_link.GetErrorString(rc),
                           platform::MB_OK | platform::MB_ICONEXCLAMATION);
}

void CMonitorDialog::StopAndWait() {
  m_closing = true;
  m_stop = true;
  m_timer->stop();
  m_grid->SetButtonsEnabled(false);
  m_close->setEnabled(false);
  m_help->setEnabled(false);
  if (!m_worker.joinable()) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  QEventLoop loop;
  m_waitLoop = &loop;
  // The worker's result arrives as a queued call, which ends the loop.
  if (m_worker.joinable()) loop.exec();
  m_waitLoop = nullptr;
  QApplication::restoreOverrideCursor();
}

void CMonitorDialog::done(int result) {
  // A second close while the first waits for the worker changes nothing.
  if (m_closing) return;
  StopAndWait();
  QDialog::done(result);
}

}  // namespace axcfgui
