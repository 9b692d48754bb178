#include "transfer_dialogs.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include "axcfg_data/axcfg_strings.h"
#include "axcfg_unit/transfer_commands.h"
#include "axcfg_unit/unit_link.h"
#include "platform/message_box.h"
#include "select_slot_dialog.h"
#include "ui_strings.h"

namespace axcfgui {

namespace {

QString Text(unsigned id) { return QString::fromStdString(axcfg::TransferText(id)); }
QString Ui(unsigned id) { return QString::fromStdString(UiText(id)); }

}  // namespace

// ---- CConnectConfirmDialog ----

CConnectConfirmDialog::CConnectConfirmDialog(axcfg::CUnitLink& link, int mode, QWidget* parent,
                                             std::function<void()> changed)
    : QDialog(parent), m_link(link), m_changed(std::move(changed)) {
  setWindowTitle(QString::fromStdString(link.ApplicationName()));
  auto* layout = new QVBoxLayout(this);
  m_connectTo = new QLabel(this);
  m_connectTo->setObjectName("connectTo");
  layout->addWidget(m_connectTo);
  auto* buttons = new QHBoxLayout;
  m_slot = new QPushButton(Ui(kIdsSelectSlotButton), this);
  m_settings = new QPushButton(Ui(kIdsCommSettingsButton), this);
  buttons->addWidget(m_slot);
  buttons->addWidget(m_settings);
  buttons->addStretch();
  layout->addLayout(buttons);
  auto* line = new QFrame(this);
  line->setFrameShape(QFrame::HLine);
  layout->addWidget(line);
  auto* question = new QHBoxLayout;
  auto* icon = new QLabel(this);
  icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
  question->addWidget(icon);
  question->addWidget(new QLabel(mode > 0 ? Text(21306) : Ui(kIdsUploadQuestion), this), 1);
  layout->addLayout(question);
  auto* answer = new QDialogButtonBox(this);
  QPushButton* yes = answer->addButton(Ui(kIdsYesButton), QDialogButtonBox::AcceptRole);
  answer->addButton(Ui(kIdsNoButton), QDialogButtonBox::RejectRole);
  yes->setDefault(true);
  layout->addWidget(answer);
  connect(answer, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(answer, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(m_slot, &QPushButton::clicked, this, [this] {
    CSelectSlotDialog dialog(this, m_link);
    if (dialog.exec() != QDialog::Accepted) return;
    RebuildConnectTo();
    if (m_changed) m_changed();
  });
  // The settings may name another PLC: the line and the panes follow them.
  connect(m_settings, &QPushButton::clicked, this, [this] {
    if (m_link.CommunicationSettings(this) != 1) return;
    RebuildConnectTo();
    if (m_changed) m_changed();
  });
  RebuildConnectTo();
}

void CConnectConfirmDialog::RebuildConnectTo() {
  m_connectTo->setText(Ui(kIdsConnectTo) + "  " + QString::fromStdString(m_link.GetDestinationText()));
}

// ---- CDownloadChoiceDialog ----

CDownloadChoiceDialog::CDownloadChoiceDialog(const axcfg::DownloadSelection& selection, QWidget* parent)
    : QDialog(parent), m_selection(selection) {
  setWindowTitle(Text(21311));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(Ui(kIdsChooseDownload), this));
  m_kind1 = new QRadioButton(Ui(kIdsDownloadParams), this);
  m_kind2 = new QRadioButton(Ui(kIdsDownloadTables), this);
  auto* kinds = new QButtonGroup(this);
  kinds->addButton(m_kind1);
  kinds->addButton(m_kind2);
  layout->addWidget(m_kind1);
  layout->addWidget(m_kind2);
  auto* ranges = new QButtonGroup(this);
  m_all = new QRadioButton(Ui(kIdsDownloadAll), this);
  m_range = new QRadioButton(Ui(kIdsDownloadRange), this);
  ranges->addButton(m_all);
  ranges->addButton(m_range);
  m_text = new QLineEdit(this);
  auto* rangeRow = new QHBoxLayout;
  rangeRow->addSpacing(24);
  rangeRow->addWidget(m_all);
  rangeRow->addWidget(m_range);
  rangeRow->addWidget(m_text);
  layout->addLayout(rangeRow);
  auto* box = new QDialogButtonBox(this);
  box->addButton(Ui(kIdsOkButton), QDialogButtonBox::AcceptRole)->setDefault(true);
  box->addButton(Ui(kIdsCancelButton), QDialogButtonBox::RejectRole);
  layout->addWidget(box);
  connect(box, &QDialogButtonBox::accepted, this, &CDownloadChoiceDialog::accept);
  connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);

  (selection.kind == 1 ? m_kind1 : m_kind2)->setChecked(true);
  const bool all = selection.first <= 1 && selection.last >= static_cast<uint32_t>(axcfg::kTableRowCount);
  (all ? m_all : m_range)->setChecked(true);
  m_text->setText(QString::asprintf("%d-%d", static_cast<int>(selection.first), static_cast<int>(selection.last)));
  for (QRadioButton* b : {m_kind1, m_kind2, m_all, m_range})
    connect(b, &QRadioButton::toggled, this, &CDownloadChoiceDialog::UpdateStates);
  UpdateStates();
}

void CDownloadChoiceDialog::UpdateStates() {
  const bool tables = m_kind2->isChecked();
  m_all->setEnabled(tables);
  m_range->setEnabled(tables);
  m_text->setEnabled(tables && m_range->isChecked());
}

void CDownloadChoiceDialog::accept() {
  axcfg::DownloadSelection s = m_selection;
  s.kind = m_kind1->isChecked() ? 1 : 2;
  if (s.kind == 2) {
    if (m_all->isChecked()) {
      s.first = 1;
      s.last = axcfg::kTableRowCount;
    } else if (!axcfg::ParseTableRange(m_text->text().toStdString(), s.first, s.last)) {
      axcfg::AxisCfgMessageBox(axcfg::TransferText(29911), platform::MB_OK | platform::MB_ICONSTOP);
      m_text->setFocus();
      return;
    }
  }
  m_selection = s;
  QDialog::accept();
}

// ---- CTransferProgressDialog ----

// The worker's view of the window: steps go to the bar as queued calls.
class CTransferProgressDialog::CProgress : public axcfg::ITransferProgress {
 public:
  explicit CProgress(CTransferProgressDialog& dialog) : m_dialog(dialog) {}
  void SetRange(int range) override {
    QMetaObject::invokeMethod(m_dialog.m_bar, [bar = m_dialog.m_bar, range] {
      bar->setRange(0, range);
      bar->setValue(0);
    }, Qt::QueuedConnection);
  }
  void Step(int steps) override {
    QMetaObject::invokeMethod(m_dialog.m_bar, [bar = m_dialog.m_bar, steps] {
      bar->setValue(std::min(bar->maximum(), bar->value() + steps));
    }, Qt::QueuedConnection);
  }
  bool Cancelled() override { return m_dialog.m_cancelled; }

 private:
  CTransferProgressDialog& m_dialog;
};

CTransferProgressDialog::CTransferProgressDialog(int mode, Work work, QWidget* parent)
    : QDialog(parent), m_mode(mode), m_work(std::move(work)) {
  static const unsigned kTitles[] = {21311, 21331, 21341};
  setWindowTitle(Text(kTitles[mode >= 0 && mode <= 2 ? mode : 0]));
  auto* layout = new QVBoxLayout(this);
  m_bar = new QProgressBar(this);
  m_bar->setTextVisible(false);
  m_bar->setMinimumWidth(320);
  m_cancel = new QPushButton(Ui(kIdsCancelButton), this);
  m_cancel->setDefault(true);
  if (mode != axcfg::kModeDownload) {
    layout->addWidget(new QLabel(Text(21332), this));
    layout->addWidget(m_bar);
    layout->addWidget(m_cancel, 0, Qt::AlignHCenter);
  } else {
    // Nothing to cancel: the window is the bar alone.
    layout->addWidget(m_bar);
    m_cancel->hide();
    m_cancel->setEnabled(false);
  }
  connect(m_cancel, &QPushButton::clicked, this, &CTransferProgressDialog::reject);
  m_progress = std::make_unique<CProgress>(*this);
}

CTransferProgressDialog::~CTransferProgressDialog() {
  if (m_thread) m_thread->wait();
}

void CTransferProgressDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (m_started) return;
  m_started = true;
  QTimer::singleShot(50, this, &CTransferProgressDialog::Start);
}

void CTransferProgressDialog::Start() {
  m_thread.reset(QThread::create([this] {
    const int result = m_work(*m_progress);
    QMetaObject::invokeMethod(this, [this, result] {
      m_finished = true;
      done(result);
    }, Qt::QueuedConnection);
  }));
  m_thread->start();
}

void CTransferProgressDialog::reject() {
  // The window closes only with the transfer's result.
  if (m_mode == axcfg::kModeDownload) return;
  m_cancelled = true;
  m_cancel->setEnabled(false);
}

void CTransferProgressDialog::closeEvent(QCloseEvent* event) {
  if (m_finished) return QDialog::closeEvent(event);
  event->ignore();
  reject();
}

}  // namespace axcfgui
