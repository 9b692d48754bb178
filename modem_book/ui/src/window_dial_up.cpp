#include "window_dial_up.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>
#include <atomic>
#include <thread>

#include "modem_book/modem_strings.h"
#include "modem_ui.h"

namespace modembook {

namespace {

constexpr int kTickMs = 1000;
constexpr int kDialPollMs = 100;

QLabel* Label(QWidget* parent, QVBoxLayout* layout, int id, const std::string& text) {
  auto* label = new QLabel(Qt8(text), parent);
  SetControlId(label, id);
  layout->addWidget(label);
  return label;
}

QPushButton* Button(QWidget* parent, QVBoxLayout* layout, int id, const std::string& text) {
  auto* row = new QHBoxLayout;
  auto* button = new QPushButton(Qt8(text), parent);
  SetControlId(button, id);
  row->addStretch();
  row->addWidget(button);
  row->addStretch();
  layout->addLayout(row);
  return button;
}

// The hang-up window ends only with the hang-up: Escape and the close box do nothing.
class CHangUpDialog : public QDialog {
 public:
  using QDialog::QDialog;
  void reject() override {}
};

}  // namespace

CWindowDialUp::CWindowDialUp(CTelConnectDoc& doc, IDialLibrary& library, ISessionClock& clock, bool english,
                             int productNumber)
    : doc_(doc), session_(library, clock), english_(english), productNumber_(productNumber) {
  supervision_.setInterval(kTickMs);
  connect(&supervision_, &QTimer::timeout, this, &CWindowDialUp::Supervise);
  // The dial and the hang-up run on a worker thread: their lines reach the
  // form through the event loop, and only the newest list is shown.
  session_.onStatus = [this](const std::string&) {
    const unsigned serial = ++statusSerial_;
    if (QThread::currentThread() == thread()) {
      if (showStatus) showStatus(session_.StatusLines());
      return;
    }
    QMetaObject::invokeMethod(
        this,
        [this, serial, lines = session_.StatusLines()] {
          if (serial == statusSerial_ && showStatus) showStatus(lines);
        },
        Qt::QueuedConnection);
  };
}

void CWindowDialUp::SetWindow(QWidget* mainWindow) {
  window_ = mainWindow;
  supervision_.start();
}

void CWindowDialUp::ShowStatusNow() {
  ++statusSerial_;
  if (showStatus) showStatus(session_.StatusLines());
}

int CWindowDialUp::Run(QDialog& dialog) { return runDialog ? runDialog(dialog) : dialog.exec(); }

void CWindowDialUp::SetTitle(const std::string& entryTitle) {
  if (!window_) return;
  const std::string caption = ModemText(kIdsCaption);
  window_->setWindowTitle(Qt8(entryTitle.empty() ? caption : caption + " " + entryTitle));
}

DialOutcome CWindowDialUp::DialWithProgress(const CPhoneBookEntry& entry, int port) {
  // The progress window: the dial text, "please wait" and Cancel.
  QDialog dialog(window_);
  dialog.setObjectName(QString::number(kDialProgressWindow));
  dialog.setWindowTitle(Qt8(ModemText(kIdsDialTitle)));
  auto* layout = new QVBoxLayout(&dialog);
  const std::string dialText = CDialUpSession::DialText(entry, doc_.Port(port));
  QLabel* text = Label(&dialog, layout, kIdDialText, dialText + " " + ModemText(kIdsDialConnecting));
  Label(&dialog, layout, kIdDialWait, ModemText(kIdsPleaseWait));
  QPushButton* cancel = Button(&dialog, layout, kIdDialCancel, ModemText(kIdsDialCancel));

  std::atomic<bool> done{false};
  DialOutcome outcome;
  const bool owner = !doc_.ReadOnly();
  std::thread worker([&] {
    outcome = session_.Connect(entry, port, doc_.Port(port), english_, productNumber_, owner ? std::function<void()>([&] {
      doc_.WritePortSettings(port);
      doc_.SetPortModified(port, false);
    }) : std::function<void()>());
    done = true;
  });
  QObject::connect(cancel, &QPushButton::clicked, &dialog, [&, cancel, text] {
    session_.CancelDial();
    cancel->hide();
    text->setText(Qt8(ModemText(kIdsDialCancelAccepted)));
  });
  QTimer poll;
  poll.setInterval(kDialPollMs);
  QObject::connect(&poll, &QTimer::timeout, &dialog, [&] {
    if (done) dialog.accept();
  });
  poll.start();
  Run(dialog);
  // Run may have been answered before the dial ended (tests, a closed window).
  worker.join();
  ShowStatusNow();
  return outcome;
}

void CWindowDialUp::Connect(const CPhoneBookEntry& entry, int port) {
  if (session_.Connected()) return;
  if (std::string refusal = CDialUpSession::Refusal(entry, doc_.Port(port)); !refusal.empty()) {
    ModemMessageBox(refusal, platform::MB_OK | platform::MB_ICONEXCLAMATION, window_);
    return;
  }
  supervision_.stop();
  const DialOutcome o = DialWithProgress(entry, port);
  if (o.kind == DialOutcome::kFailed) {
    ModemMessageBox(o.message, platform::MB_OK | platform::MB_ICONSTOP, window_);
  } else if (o.kind == DialOutcome::kDone && session_.Connected()) {
    ShowConnected(entry);
  }
  supervision_.start();
}

void CWindowDialUp::ShowConnected(const CPhoneBookEntry& entry) {
  SetTitle(entry.Title());
  QDialog dialog(window_);
  dialog.setObjectName(QString::number(kConnectedWindow));
  dialog.setWindowTitle(Qt8(ModemText(kIdsConnectedTitle)));
  auto* layout = new QVBoxLayout(&dialog);
  Label(&dialog, layout, kIdDialText, entry.Title());
  Label(&dialog, layout, kIdDialWait, entry.Phone() + ModemText(kIdsConnectedTo));
  QPushButton* ok = Button(&dialog, layout, 1, "OK");
  QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
  Run(dialog);
  if (window_) window_->showMinimized();
  if (connectedChanged) connectedChanged(true);
  if (raiseNamedWindow) raiseNamedWindow();
}

void CWindowDialUp::Supervise() {
  if (!session_.Connected()) return;
  supervision_.stop();
  if (session_.LineLost()) HangUp();
  supervision_.start();
}

void CWindowDialUp::Disconnect() {
  if (!session_.Connected()) return;
  supervision_.stop();
  HangUp();
  supervision_.start();
}

void CWindowDialUp::HangUp() {
  if (window_) {
    window_->showNormal();
    window_->repaint();
  }
  session_.BeginHangUp();
  CHangUpDialog dialog(window_);
  dialog.setObjectName(QString::number(kHangUpWindow));
  dialog.setWindowTitle(Qt8(ModemText(kIdsHangUpTitle)));
  auto* layout = new QVBoxLayout(&dialog);
  QLabel* text = Label(&dialog, layout, kIdHangUpText,
                       ModemText(session_.WaitingForOthers() ? kIdsWaitOthers : kIdsDisconnecting));
  QPushButton* force = Button(&dialog, layout, kIdForce, ModemText(kIdsForceButton));
  force->hide();
  force->setEnabled(false);
  QObject::connect(force, &QPushButton::clicked, &dialog, [&, force, text] {
    if (ModemMessage(kIdsAskForce, platform::MB_YESNO | platform::MB_ICONSTOP | platform::MB_DEFBUTTON2, &dialog) !=
        platform::IDYES)
      return;
    force->hide();
    session_.Force();
    text->setText(Qt8(ModemText(kIdsDisconnecting)));
  });
  QTimer tick;
  tick.setInterval(kTickMs);
  // The hang-up itself takes seconds: it runs on a worker so that the window
  // shows and repaints meanwhile; the tick then only watches for its end.
  std::thread worker;
  std::atomic<bool> hungUp{false};
  auto step = [&] {
    if (worker.joinable()) {
      if (hungUp) {
        tick.stop();
        dialog.accept();
      }
      return;
    }
    if (session_.PollOthersReleased()) {
      force->hide();
      text->setText(Qt8(ModemText(kIdsDisconnecting)));
      worker = std::thread([&] {
        session_.HangUpStep();
        hungUp = true;
      });
      tick.setInterval(kDialPollMs);
      return;
    }
    if (session_.ForceOffered() && force->isHidden()) {
      force->setEnabled(true);
      force->show();
    }
  };
  QObject::connect(&tick, &QTimer::timeout, &dialog, step);
  tick.start();
  // A line that others do not hold goes down at once, with the window showing.
  if (!session_.WaitingForOthers()) QTimer::singleShot(0, &dialog, step);
  Run(dialog);
  tick.stop();
  if (worker.joinable()) worker.join();
  ShowStatusNow();
  // Only a test's dialog hook returns before the hang-up ended: finish it.
  if (session_.Connected()) {
    session_.Force();
    session_.HangUpStep();
  }
  if (session_.HangUpOutcome().kind == DialOutcome::kFailed)
    ModemMessageBox(session_.HangUpOutcome().message, platform::MB_OK | platform::MB_ICONSTOP, window_);
  SetTitle(std::string());
  if (connectedChanged) connectedChanged(false);
}

}  // namespace modembook
