#include "tavtools/connect_wait_dialog.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace tavtools {

namespace {

constexpr int kPollMs = 100;

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

CConnectWaitDialog::CConnectWaitDialog(CConnectWaitCore& core, std::function<bool()> finished, int language,
                                       QWidget* parent)
    : QDialog(parent), core_(core), finished_(std::move(finished)), language_(language) {
  setWindowModality(Qt::ApplicationModal);
  setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
  const ConnectWaitTexts texts = ConnectWaitTextsFor(core_.View(), language_);
  setWindowTitle(Q(texts.title));
  message_ = new QLabel(Q(texts.message), this);
  address_ = new QLabel(Q(texts.addressLine), this);
  address_->setObjectName("address");
  address_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  cancel_ = new QPushButton(Q(texts.cancel), this);
  cancel_->setObjectName("cancel");
  cancel_->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cancel_);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(message_);
  layout->addWidget(address_);
  layout->addSpacing(8);
  layout->addLayout(buttons);
  setMinimumWidth(360);
  connect(cancel_, &QPushButton::clicked, this, [this] { reject(); });
  timer_ = new QTimer(this);
  connect(timer_, &QTimer::timeout, this, [this] { Refresh(); });
  timer_->start(kPollMs);
}

void CConnectWaitDialog::reject() {
  if (core_.Cancel() == 0) cancel_->setEnabled(false);
}

void CConnectWaitDialog::Refresh() {
  if (finished_() || !core_.Poll().visible) {
    timer_->stop();
    accept();
    return;
  }
  address_->setText(Q(ConnectWaitTextsFor(core_.View(), language_).addressLine));
  cancel_->setEnabled(!core_.Cancelled());
}

int RunWatchingConnect(const std::function<int()>& call, int language, QWidget* parent) {
  CConnectWaitCore core;
  return RunWatchingConnect(call, language, parent, core);
}

int RunWatchingConnect(const std::function<int()>& call, int language, QWidget* parent, CConnectWaitCore& core) {
  if (!qApp || QThread::currentThread() != qApp->thread()) return call();
  std::mutex mutex;
  std::condition_variable changed;
  bool done = false;
  int result = 0;
  std::thread worker([&] {
    const int rc = call();
    std::lock_guard<std::mutex> lock(mutex);
    result = rc;
    done = true;
    changed.notify_all();
  });
  auto finished = [&] {
    std::lock_guard<std::mutex> lock(mutex);
    return done;
  };
  // Until the window is due nothing else runs on this thread, as while any
  // other library call waits; once it shows, it is modal.
  for (;;) {
    {
      std::unique_lock<std::mutex> lock(mutex);
      if (changed.wait_for(lock, std::chrono::milliseconds(kPollMs), [&] { return done; })) break;
    }
    if (!core.Poll().visible) continue;
    CConnectWaitDialog dialog(core, finished, language, parent);
    // The caller's wait cursor would hide that the window takes clicks.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    dialog.exec();
    QApplication::restoreOverrideCursor();
  }
  worker.join();
  return result;
}

}  // namespace tavtools
