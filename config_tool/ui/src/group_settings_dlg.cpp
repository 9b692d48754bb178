#include "group_settings_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "axcfg_data/axcfg_strings.h"
#include "dialog_util.h"
#include "group_area.h"
#include "platform/message_box.h"

namespace axcfgui {

namespace {

constexpr unsigned kIdsTitle = 31223;               // "interpolation group settings"
constexpr unsigned kIdsInitialize = 31226;          // "&Initialize"
constexpr unsigned kIdsSynchronousGroup = 31227;    // "Synchronous group"
constexpr unsigned kIdsSynchronousOperation = 31228;  // "Synchronous operation %d"
constexpr unsigned kIdsMode = 31229;
constexpr unsigned kIdsMaster = 31230;
constexpr unsigned kIdsSlave = 31231;
constexpr unsigned kIdsDifference = 31232;
constexpr unsigned kIdsBehavior = 31233;
constexpr unsigned kIdsModeNames[2] = {21501, 21502};
constexpr unsigned kIdsBehaviorNames[3] = {21503, 21504, 21505};
constexpr unsigned kIdInitializeQuestion = 21517;
constexpr int kDifferenceChars = 5;

// Control ids of the two blocks: check box, mode, master, slave,
// difference value, difference behavior.
constexpr int kBlockIds[2][6] = {{1761, 1763, 1764, 1765, 1760, 1766}, {1780, 1781, 1782, 1783, 1779, 1784}};

QComboBox* Combo(int id) {
  auto* combo = new QComboBox;
  combo->setProperty("controlId", id);
  return combo;
}

}  // namespace

CGroupSettingsDlg::CGroupSettingsDlg(QWidget* parent, axcfg::CGroupArrangement& arrangement)
    : QDialog(parent),
      m_arrangement(arrangement),
      m_area(new CGroupArea(arrangement)),
      m_initialize(new QPushButton(UiQText(kIdsInitialize))) {
  setObjectName(QStringLiteral("GroupSettingsDlg"));
  setWindowTitle(UiQText(kIdsTitle));
  m_initialize->setProperty("controlId", kIdInitialize);
  m_initialize->setAutoDefault(false);
  connect(m_initialize, &QPushButton::clicked, this, &CGroupSettingsDlg::OnInitialize);

  auto* left = new QVBoxLayout;
  left->addWidget(m_area);
  left->addWidget(m_initialize, 0, Qt::AlignLeft);
  left->addStretch(1);

  auto* sync = new QGroupBox(UiQText(kIdsSynchronousGroup));
  sync->setProperty("controlId", kIdSynchronousGroup);
  auto* syncLayout = new QVBoxLayout(sync);
  for (int g = 0; g < 2; ++g) syncLayout->addWidget(MakeBlock(g));
  syncLayout->addStretch(1);

  auto* columns = new QHBoxLayout;
  columns->addLayout(left, 1);
  columns->addWidget(sync);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns);
  layout->addWidget(buttons);

  ShowRecords();
  m_area->IndependentCaption()->setFocus();
  ApplyDialogFont(this, 0, {});
}

QGroupBox* CGroupSettingsDlg::MakeBlock(int g) {
  const int* ids = kBlockIds[g];
  SyncControls& c = m_blocks[static_cast<size_t>(g)];
  c.on = new QCheckBox(UiQText(kIdsSynchronousOperation).replace(QStringLiteral("%d"), QString::number(g + 1)));
  c.on->setProperty("controlId", ids[0]);
  c.mode = Combo(ids[1]);
  for (unsigned id : kIdsModeNames) c.mode->addItem(UiQText(id));
  c.master = Combo(ids[2]);
  c.slave = Combo(ids[3]);
  for (int axis = 1; axis <= axcfg::kAxisCount; ++axis) {
    c.master->addItem(QString::number(axis));
    c.slave->addItem(QString::number(axis));
  }
  c.difference = new QLineEdit;
  c.difference->setProperty("controlId", ids[4]);
  c.difference->setMaxLength(kDifferenceChars);
  c.behavior = Combo(ids[5]);
  for (unsigned id : kIdsBehaviorNames) c.behavior->addItem(UiQText(id));

  // Every change the user makes is an edit of that field alone.
  const auto edit = [this, g](auto field, auto value) {
    axcfg::SyncBlockEdit e;
    e.*field = value;
    Record(g, e);
  };
  using E = axcfg::SyncBlockEdit;
  connect(c.on, &QCheckBox::toggled, this, [this, g, edit](bool on) {
    edit(&E::on, on);
    EnableBlock(g);
  });
  connect(c.mode, &QComboBox::currentIndexChanged, this, [edit](int i) { edit(&E::mode, static_cast<uint16_t>(i)); });
  connect(c.master, &QComboBox::currentIndexChanged, this, [edit](int i) { edit(&E::master, i); });
  connect(c.slave, &QComboBox::currentIndexChanged, this, [edit](int i) { edit(&E::slave, i); });
  connect(c.difference, &QLineEdit::textChanged, this,
          [edit](const QString& text) { edit(&E::differenceText, text.toStdString()); });
  connect(c.behavior, &QComboBox::currentIndexChanged, this,
          [edit](int i) { edit(&E::behavior, static_cast<uint16_t>(i)); });

  auto* box = new QGroupBox;
  auto* form = new QFormLayout;
  form->addRow(UiQText(kIdsMode), c.mode);
  form->addRow(UiQText(kIdsMaster), c.master);
  form->addRow(UiQText(kIdsSlave), c.slave);
  form->addRow(UiQText(kIdsDifference), c.difference);
  form->addRow(UiQText(kIdsBehavior), c.behavior);
  auto* blockLayout = new QVBoxLayout(box);
  blockLayout->addWidget(c.on);
  blockLayout->addLayout(form);
  return box;
}

void CGroupSettingsDlg::Record(int g, const axcfg::SyncBlockEdit& edit) {
  if (!m_showing) m_arrangement.Edit(g, edit);
}

void CGroupSettingsDlg::ShowRecords() {
  m_showing = true;
  for (int g = 0; g < 2; ++g) {
    const axcfg::CSyncGroupRecord& r = m_arrangement.Working()[static_cast<size_t>(g)];
    SyncControls& c = m_blocks[static_cast<size_t>(g)];
    c.on->setChecked(r.operation != 0);
    c.mode->setCurrentIndex(r.mode == 1 ? 1 : 0);
    // A combo shows the lowest bit of a mask, axis 1 when there is none.
    c.master->setCurrentIndex(axcfg::SyncAxisOfMask(r.masterMask));
    c.slave->setCurrentIndex(axcfg::SyncAxisOfMask(r.slaveMask));
    c.difference->setText(QString::number(r.difference));
    c.behavior->setCurrentIndex(r.differenceBehavior <= 2 ? r.differenceBehavior : 0);
    EnableBlock(g);
  }
  m_showing = false;
}

void CGroupSettingsDlg::EnableBlock(int g) {
  const SyncControls& c = m_blocks[static_cast<size_t>(g)];
  const bool on = c.on->isChecked();
  for (QWidget* w : {static_cast<QWidget*>(c.mode), static_cast<QWidget*>(c.master), static_cast<QWidget*>(c.slave),
                     static_cast<QWidget*>(c.difference), static_cast<QWidget*>(c.behavior)})
    w->setEnabled(on);
}

void CGroupSettingsDlg::OnInitialize() {
  const int answer = axcfg::AxisCfgMessageBox(axcfg::AxisCfgText(kIdInitializeQuestion),
                                              platform::MB_YESNO | platform::MB_ICONQUESTION | platform::MB_DEFBUTTON2);
  if (answer != platform::IDYES) return;
  m_arrangement.Initialize();
  ShowRecords();
  m_area->Refresh();
}

void CGroupSettingsDlg::accept() {
  const axcfg::DialogOkResult r = m_arrangement.Ok();
  if (!r.message.empty()) axcfg::AxisCfgMessageBox(r.message, platform::MB_OK | platform::MB_ICONEXCLAMATION);
  if (r.accepted) QDialog::accept();
}

}  // namespace axcfgui
