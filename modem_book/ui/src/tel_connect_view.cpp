#include "tel_connect_view.h"

#include <QComboBox>
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "entry_dialog.h"
#include "modem_book/modem_strings.h"
#include "modem_book/phone_book_file.h"
#include "modem_ui.h"
#include "platform/registry.h"

namespace modembook {

namespace {

constexpr int kDefaultWidths[3] = {248, 192, 86};

// Printable ASCII of at most `max` characters: what a modem command may hold.
QValidator* CommandValidator(int max, QObject* parent) {
  return new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[ -~]{0,%1}").arg(max)), parent);
}

void FillTimeouts(QComboBox* box, const std::vector<int>& choices) {
  for (int v : choices) box->addItem(QString::number(v), v);
}

// Selects a time-out; a stored value the list lacks is shown as an extra item.
void ShowTimeout(QComboBox* box, int value) {
  int at = box->findData(value);
  if (at < 0) {
    box->addItem(QString::number(value), value);
    at = box->count() - 1;
  }
  box->setCurrentIndex(at);
}

}  // namespace

CTelConnectView::CTelConnectView(CTelConnectDoc& doc, IDialUp* dialUp, std::string helpFolder, bool english,
                                 QWidget* parent)
    : QWidget(parent), doc_(doc), dialUp_(dialUp), helpFolder_(std::move(helpFolder)), english_(english) {
  SetControlId(this, 101);
  runDialog = [](CEntryDialog& d) { return d.exec(); };

  portList_ = new QComboBox;
  SetControlId(portList_, kIdPortList);
  auto* pulse = new QRadioButton(Qt8(ModemText(kIdsPrintPulse)));
  auto* tone = new QRadioButton(Qt8(ModemText(kIdsPrintTone)));
  auto* other = new QRadioButton(Qt8(ModemText(kIdsOtherMode)));
  SetControlId(pulse, kIdPulse);
  SetControlId(tone, kIdTone);
  SetControlId(other, kIdOther);
  dialMode_ = new QButtonGroup(this);
  dialMode_->addButton(pulse, kDialPulse);
  dialMode_->addButton(tone, kDialTone);
  dialMode_->addButton(other, kDialOther);
  dialCommand_ = new QLineEdit;
  SetControlId(dialCommand_, kIdDialCommand);
  dialCommand_->setValidator(CommandValidator(static_cast<int>(CPortModemSettings::kDialCommandMax), dialCommand_));
  initCommand_ = new QLineEdit;
  SetControlId(initCommand_, kIdInitCommand);
  initCommand_->setValidator(CommandValidator(static_cast<int>(CPortModemSettings::kInitCommandMax), initCommand_));
  commandDefault_ = new QPushButton(Qt8(ModemText(kIdsCommandDefault)));
  SetControlId(commandDefault_, kIdCommandDefault);
  plcTimeout_ = new QComboBox;
  SetControlId(plcTimeout_, kIdPlcTimeout);
  FillTimeouts(plcTimeout_, PlcTimeoutChoices());
  lineTimeout_ = new QComboBox;
  SetControlId(lineTimeout_, kIdLineTimeout);
  FillTimeouts(lineTimeout_, LineTimeoutChoices());

  auto* modeBox = new QGroupBox(Qt8(ModemText(kIdsDialModeLabel)));
  auto* modeLayout = new QHBoxLayout(modeBox);
  modeLayout->addWidget(pulse);
  modeLayout->addWidget(tone);
  modeLayout->addWidget(other);
  modeLayout->addWidget(dialCommand_, 1);

  auto* settings = new QGridLayout;
  settings->addWidget(new QLabel(Qt8(ModemText(kIdsPortLabel))), 0, 0);
  settings->addWidget(portList_, 0, 1);
  settings->addWidget(modeBox, 1, 0, 1, 4);
  settings->addWidget(new QLabel(Qt8(ModemText(kIdsInitCommandLabel))), 2, 0);
  settings->addWidget(initCommand_, 2, 1, 1, 2);
  settings->addWidget(commandDefault_, 2, 3);
  settings->addWidget(new QLabel(Qt8(ModemText(kIdsPlcTimeoutLabel))), 3, 0);
  settings->addWidget(plcTimeout_, 3, 1);
  settings->addWidget(new QLabel(Qt8(ModemText(kIdsLineTimeoutLabel))), 3, 2);
  settings->addWidget(lineTimeout_, 3, 3);

  list_ = new QTreeWidget;
  SetControlId(list_, kIdBookList);
  list_->setRootIsDecorated(false);
  list_->setAllColumnsShowFocus(true);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setUniformRowHeights(true);
  list_->setHeaderLabels({Qt8(ModemText(kIdsColumnTitle)), Qt8(ModemText(kIdsColumnPhone)),
                          Qt8(ModemText(kIdsColumnProperty))});
  list_->header()->setSectionsClickable(true);
  list_->header()->setStretchLastSection(false);
  add_ = new QPushButton(Qt8(ModemText(kIdsAdd)));
  SetControlId(add_, kIdAdd);
  delete_ = new QPushButton(Qt8(ModemText(kIdsDelete)));
  SetControlId(delete_, kIdDelete);
  status_ = new QListWidget;
  SetControlId(status_, kIdStatusList);
  status_->setMaximumHeight(90);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(add_);
  buttons->addWidget(delete_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(settings);
  layout->addWidget(list_, 1);
  layout->addLayout(buttons);
  layout->addWidget(new QLabel(Qt8(ModemText(kIdsStatusLabel))));
  layout->addWidget(status_);

  connect(portList_, &QComboBox::activated, this, [this](int i) {
    TakePort();
    doc_.SetCurrentPort(portList_->itemData(i).toInt());
    ShowPort(doc_.CurrentPort());
  });
  connect(dialMode_, &QButtonGroup::idClicked, this, [this] {
    UpdateDialCommandField();
    TakePort();
  });
  connect(dialCommand_, &QLineEdit::textEdited, this, [this] { TakePort(); });
  connect(initCommand_, &QLineEdit::textEdited, this, [this] { TakePort(); });
  connect(commandDefault_, &QPushButton::clicked, this, [this] {
    initCommand_->setText(Qt8(DefaultInitCommand()));
    TakePort();
  });
  connect(plcTimeout_, &QComboBox::activated, this, [this] { TakePort(); });
  connect(lineTimeout_, &QComboBox::activated, this, [this] { TakePort(); });
  // Double click and Enter both activate an item.
  connect(list_, &QTreeWidget::itemActivated, this,
          [this](QTreeWidgetItem* item) { EditEntry(list_->indexOfTopLevelItem(item)); });
  connect(list_->header(), &QHeaderView::sectionClicked, this, &CTelConnectView::SortByColumn);
  connect(add_, &QPushButton::clicked, this, &CTelConnectView::AddEntry);
  connect(delete_, &QPushButton::clicked, this, &CTelConnectView::DeleteEntry);

  if (english)
    ApplyEnglishFont(this, {kIdPortList, kIdDialCommand, kIdInitCommand, kIdPlcTimeout, kIdLineTimeout, kIdBookList,
                            kIdStatusList});
}

CTelConnectView::~CTelConnectView() {
  for (int c = 0; c < 3; ++c)
    platform::Registry::WriteDword(platform::Hive::CurrentUser, kSettingsKey, "Data" + std::to_string(c),
                                   static_cast<uint32_t>(list_->columnWidth(c)));
}

void CTelConnectView::InitialUpdate() {
  showing_ = true;
  portList_->clear();
  for (int com : doc_.PortList()) portList_->addItem(QStringLiteral("COM%1").arg(com), com);
  portList_->setEnabled(doc_.PortList().size() > 1);
  showing_ = false;
  ShowPort(doc_.CurrentPort());
  for (int c = 0; c < 3; ++c) {
    auto w = platform::Registry::ReadDword(platform::Hive::CurrentUser, kSettingsKey, "Data" + std::to_string(c));
    list_->setColumnWidth(c, w && *w > 0 && *w < 10000 ? static_cast<int>(*w) : kDefaultWidths[c]);
  }
  RefreshList(doc_.Count() ? 0 : -1);
  EnableControls();
}

void CTelConnectView::RefreshList(int select) {
  list_->clear();
  QList<QTreeWidgetItem*> items;
  items.reserve(static_cast<qsizetype>(doc_.Count()));
  for (const auto& e : doc_.Entries())
    items.append(new QTreeWidgetItem(QStringList{Qt8(e.Title()), Qt8(e.Phone()), Qt8(PropertyText(e, true))}));
  list_->addTopLevelItems(items);
  if (select >= 0 && select < list_->topLevelItemCount()) {
    list_->setCurrentItem(list_->topLevelItem(select));
    list_->scrollToItem(list_->currentItem());
  }
  // The port controls may have changed with the document as well.
  ShowPort(doc_.CurrentPort());
}

void CTelConnectView::ShowPort(int com) {
  showing_ = true;
  const CPortModemSettings& s = doc_.Port(com);
  if (int at = portList_->findData(com); at >= 0) portList_->setCurrentIndex(at);
  dialMode_->setExclusive(false);
  for (auto* b : dialMode_->buttons()) b->setChecked(false);
  dialMode_->setExclusive(true);
  if (auto* b = dialMode_->button(s.dialMode)) b->setChecked(true);
  initCommand_->setText(Qt8(s.initCommand));
  ShowTimeout(plcTimeout_, s.plcTimeout);
  ShowTimeout(lineTimeout_, s.lineTimeout);
  UpdateDialCommandField();
  showing_ = false;
}

void CTelConnectView::UpdateDialCommandField() {
  const CPortModemSettings& s = doc_.Port(doc_.CurrentPort());
  const bool other = dialMode_->checkedId() == kDialOther;
  CPortModemSettings shown = s;
  shown.dialMode = static_cast<int16_t>(dialMode_->checkedId());
  // For pulse and tone the field shows the prefix those modes dial with.
  dialCommand_->setText(Qt8(other ? s.dialCommand : shown.DialPrefix()));
  dialCommand_->setEnabled(other && !doc_.ReadOnly() && !connected_);
}

void CTelConnectView::TakePort() {
  if (showing_ || doc_.ReadOnly()) return;
  const int com = doc_.CurrentPort();
  CPortModemSettings s = doc_.Port(com);
  if (dialMode_->checkedId() >= 0) s.dialMode = static_cast<int16_t>(dialMode_->checkedId());
  if (s.dialMode == kDialOther) s.dialCommand = dialCommand_->text().toStdString();
  s.initCommand = initCommand_->text().toStdString();
  s.plcTimeout = plcTimeout_->currentData().toInt();
  s.lineTimeout = lineTimeout_->currentData().toInt();
  doc_.SetPort(com, s);
  emit ModifiedChanged();
}

void CTelConnectView::CommitEdits() { TakePort(); }

void CTelConnectView::ShowStatus(const std::deque<std::string>& lines) {
  status_->clear();
  for (const auto& line : lines) status_->addItem(Qt8(line));
  if (status_->count() > 0) status_->setCurrentRow(status_->count() - 1);
  status_->repaint();
}

void CTelConnectView::SetConnected(bool connected) {
  connected_ = connected;
  portList_->setEnabled(!connected);
  list_->setEnabled(!connected);
  EnableControls();
  if (!connected) portList_->setFocus();
}

void CTelConnectView::EnableControls() {
  const bool rw = !doc_.ReadOnly() && !connected_;
  for (auto* b : dialMode_->buttons()) b->setEnabled(rw);
  for (QWidget* w : std::initializer_list<QWidget*>{initCommand_, commandDefault_, plcTimeout_, lineTimeout_, add_, delete_})
    w->setEnabled(rw);
  UpdateDialCommandField();
}

int CTelConnectView::SelectedIndex() const {
  QTreeWidgetItem* item = list_->currentItem();
  if (!item || !item->isSelected()) return -1;
  return list_->indexOfTopLevelItem(item);
}

void CTelConnectView::OpenEntry(int index) {
  const bool adding = index < 0;
  if (adding && doc_.Count() >= kMaxEntries) {
    ModemMessage(kIdsBookFull, platform::MB_OK | platform::MB_ICONSTOP, this);
    return;
  }
  const CPhoneBookEntry original = adding ? CPhoneBookEntry() : doc_.Entries()[static_cast<size_t>(index)];
  CEntryDialog dialog(original, doc_.ReadOnly(), dialUp_ && dialUp_->Available() && !dialUp_->Connected(),
                      helpFolder_, english_, this);
  const int result = runDialog(dialog);
  if (result != kEntryRegister && result != kEntryConnect) return;
  const CPhoneBookEntry entry = dialog.Entry();
  if (!doc_.ReadOnly()) {
    if (adding) {
      if (int rc = doc_.Add(entry)) {
        ModemMessage(static_cast<unsigned>(rc), platform::MB_OK | platform::MB_ICONSTOP, this);
        return;
      }
      RefreshList(static_cast<int>(doc_.Count()) - 1);
    } else if (!(entry == original)) {
      doc_.Replace(static_cast<size_t>(index), entry);
      RefreshList(index);
    }
    emit ModifiedChanged();
  }
  if (result == kEntryConnect && dialUp_) dialUp_->Connect(entry, doc_.CurrentPort());
}

void CTelConnectView::AddEntry() {
  if (!doc_.ReadOnly()) OpenEntry(-1);
}

void CTelConnectView::EditEntry(int index) {
  if (index >= 0 && static_cast<size_t>(index) < doc_.Count()) OpenEntry(index);
}

void CTelConnectView::ConnectSelection() {
  const int index = SelectedIndex();
  if (index >= 0) OpenEntry(index);
  else if (doc_.Count() == 0 && !doc_.ReadOnly()) OpenEntry(-1);
}

void CTelConnectView::DeleteEntry() {
  if (doc_.ReadOnly()) return;
  int selection = -1;
  if (int rc = doc_.Delete(SelectedIndex(), selection)) {
    ModemMessage(static_cast<unsigned>(rc), platform::MB_OK | platform::MB_ICONSTOP, this);
    return;
  }
  RefreshList(selection);
  emit ModifiedChanged();
}

void CTelConnectView::SortByColumn(int column) {
  const int selected = SelectedIndex();
  // Entries themselves are reordered, so edit, delete and dial keep hitting
  // the entry the user sees selected.
  const std::vector<size_t> order = doc_.SortByColumn(column);
  int select = -1;
  for (size_t i = 0; i < order.size(); ++i)
    if (static_cast<int>(order[i]) == selected) select = static_cast<int>(i);
  RefreshList(select);
  emit ModifiedChanged();
}

}  // namespace modembook
