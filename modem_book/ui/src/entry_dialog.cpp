#include "entry_dialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QValidator>
#include <QVBoxLayout>

#include "modem_book/modem_strings.h"
#include "modem_ui.h"
#include "platform/cp932.h"
#include "platform/help_window.h"

namespace modembook {

namespace {

// Refuses what the entry's field would not take (Shift_JIS limit, printable
// ASCII). A stored text longer than the limit can still be shortened: text
// of allowed characters no longer than the stored one is intermediate.
class CFieldValidator : public QValidator {
 public:
  CFieldValidator(bool (*valid)(std::string_view), const std::string& stored, QObject* parent)
      : QValidator(parent), valid_(valid), storedBytes_(platform::Cp932Length(stored)) {}
  State validate(QString& input, int&) const override {
    const std::string text = input.toStdString();
    if (valid_(text)) return Acceptable;
    const bool shortening = Cp932Representable(text) && platform::Cp932Length(text) < storedBytes_;
    return shortening ? Intermediate : Invalid;
  }

 private:
  bool (*valid_)(std::string_view);
  size_t storedBytes_;
};

QButtonGroup* Choice(QWidget* parent, QBoxLayout* box, std::initializer_list<std::pair<int, QString>> buttons) {
  auto* group = new QButtonGroup(parent);
  int value = 0;
  for (const auto& [id, text] : buttons) {
    auto* b = new QRadioButton(text);
    SetControlId(b, id);
    group->addButton(b, value++);
    box->addWidget(b);
  }
  return group;
}

QGroupBox* Framed(unsigned textId, QBoxLayout*& box) {
  auto* g = new QGroupBox(Qt8(ModemText(textId)));
  box = new QHBoxLayout(g);
  return g;
}

void Check(QButtonGroup* g, int value) {
  // A value outside the choices shows no choice at all.
  g->setExclusive(false);
  for (auto* b : g->buttons()) b->setChecked(false);
  g->setExclusive(true);
  if (auto* b = g->button(value)) b->setChecked(true);
}

}  // namespace

CEntryDialog::CEntryDialog(const CPhoneBookEntry& entry, bool readOnly, bool canConnect, std::string helpFolder,
                           bool english, QWidget* parent)
    : QDialog(parent), entry_(entry), helpFolder_(std::move(helpFolder)) {
  setWindowTitle(Qt8(ModemText(kIdsCaption) + "  " + ModemText(kIdsDetails)));
  auto* form = new QGridLayout;
  title_ = new QLineEdit;
  SetControlId(title_, kIdTitle);
  title_->setValidator(new CFieldValidator(&ValidTitle, entry.Title(), title_));
  phone_ = new QLineEdit;
  SetControlId(phone_, kIdPhone);
  phone_->setValidator(new CFieldValidator(&ValidPhone, entry.Phone(), phone_));
  baud_ = new QComboBox;
  SetControlId(baud_, kIdBaud);
  for (int i = 0; i < CPhoneBookEntry::kBaudCount; ++i) baud_->addItem(Qt8(BaudRateText(i)));
  form->addWidget(new QLabel(Qt8(ModemText(kIdsColumnTitle))), 0, 0);
  form->addWidget(title_, 0, 1);
  form->addWidget(new QLabel(Qt8(ModemText(kIdsColumnPhone))), 1, 0);
  form->addWidget(phone_, 1, 1);
  form->addWidget(new QLabel(Qt8(ModemText(kIdsBaudLabel))), 2, 0);
  form->addWidget(baud_, 2, 1);

  QBoxLayout* box = nullptr;
  auto* dataBox = Framed(kIdsDataLengthLabel, box);
  data_ = Choice(this, box, {{kIdData8, "8bit"}, {kIdData7, "7bit"}});
  auto* stopBox = Framed(kIdsStopBitsLabel, box);
  stop_ = Choice(this, box, {{kIdStop1, "1bit"}, {kIdStop2, "2bit"}});
  auto* parityBox = Framed(kIdsParityLabel, box);
  parity_ = Choice(this, box,
                   {{kIdParityNone, Qt8(ModemText(kIdsParityNone))},
                    {kIdParityOdd, Qt8(ModemText(kIdsParityOdd))},
                    {kIdParityEven, Qt8(ModemText(kIdsParityEven))}});
  form->addWidget(dataBox, 3, 0, 1, 2);
  form->addWidget(stopBox, 4, 0, 1, 2);
  form->addWidget(parityBox, 5, 0, 1, 2);

  auto* buttons = new QVBoxLayout;
  auto button = [&](int id, unsigned textId) {
    auto* b = new QPushButton(Qt8(ModemText(textId)));
    SetControlId(b, id);
    b->setAutoDefault(false);
    buttons->addWidget(b);
    return b;
  };
  QPushButton* connect = button(kIdConnect, kIdsConnect);
  QPushButton* initialise = button(kIdInitialise, kIdsInitialise);
  QPushButton* reg = button(kIdRegister, kIdsRegister);
  QPushButton* close = button(kIdClose, kIdsClose);
  QPushButton* help = button(kIdHelp, kIdsHelp);
  buttons->addStretch();
  reg->setDefault(true);

  auto* layout = new QHBoxLayout(this);
  layout->addLayout(form, 1);
  layout->addLayout(buttons);

  QObject::connect(connect, &QPushButton::clicked, this, &CEntryDialog::OnConnect);
  QObject::connect(initialise, &QPushButton::clicked, this, &CEntryDialog::OnInitialise);
  QObject::connect(reg, &QPushButton::clicked, this, [this] {
    Take();
    done(kEntryRegister);
  });
  QObject::connect(close, &QPushButton::clicked, this, [this] { done(kEntryClose); });
  QObject::connect(help, &QPushButton::clicked, this,
                   [this] { platform::ShowHelpPage(this, helpFolder_, kEntryHelpContext); });

  Show(entry_);
  connect->setEnabled(canConnect);
  if (readOnly) {
    for (QWidget* w : std::initializer_list<QWidget*>{title_, phone_, baud_, dataBox, stopBox, parityBox, initialise, reg})
      w->setEnabled(false);
    (canConnect ? connect : close)->setDefault(true);
  }
  if (english) ApplyEnglishFont(this, {kIdTitle, kIdPhone, kIdBaud});
}

void CEntryDialog::Show(const CPhoneBookEntry& e) {
  // Texts are shown as stored even when longer than an edit would allow.
  title_->setText(Qt8(e.Title()));
  phone_->setText(Qt8(e.Phone()));
  ShowLine(e);
}

void CEntryDialog::ShowLine(const CPhoneBookEntry& e) {
  baud_->setCurrentIndex(e.BaudIndex() >= 0 && e.BaudIndex() < CPhoneBookEntry::kBaudCount ? e.BaudIndex() : -1);
  Check(data_, e.DataLength());
  Check(stop_, e.StopBits());
  Check(parity_, e.Parity());
}

void CEntryDialog::Take() {
  CPhoneBookEntry e = entry_;
  // A field left as it was keeps its bytes (SetTitle of the same text changes nothing).
  if (title_->isModified()) e.SetTitle(title_->text().toStdString());
  if (phone_->isModified()) e.SetPhone(phone_->text().toStdString());
  if (baud_->currentIndex() >= 0) e.SetBaudIndex(static_cast<int16_t>(baud_->currentIndex()));
  if (data_->checkedId() >= 0) e.SetDataLength(static_cast<int16_t>(data_->checkedId()));
  if (stop_->checkedId() >= 0) e.SetStopBits(static_cast<int16_t>(stop_->checkedId()));
  if (parity_->checkedId() >= 0) e.SetParity(static_cast<int16_t>(parity_->checkedId()));
  entry_ = e;
}

void CEntryDialog::OnConnect() {
  if (phone_->text().isEmpty()) {
    ModemMessage(kIdsNoPhoneNumber, platform::MB_OK | platform::MB_ICONEXCLAMATION, this);
    phone_->setFocus();
    return;
  }
  if (title_->isEnabled()) Take();
  done(kEntryConnect);
}

void CEntryDialog::OnInitialise() {
  if (ModemMessage(kIdsAskResetEntry, platform::MB_OKCANCEL | platform::MB_ICONQUESTION, this) != platform::IDOK)
    return;
  // The line conditions go back to their defaults; title and phone stay as typed.
  ShowLine(CPhoneBookEntry());
}

}  // namespace modembook
