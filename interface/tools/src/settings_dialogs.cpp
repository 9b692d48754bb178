#include "settings_dialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>

#include "platform/message_box.h"
#include "tool_texts.h"

namespace tavtools {

namespace {

QString T(unsigned id, int language) { return QString::fromStdString(ToolText(id, language)); }

QDialogButtonBox* Buttons(QDialog* dialog, int language) {
  auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  box->button(QDialogButtonBox::Ok)->setText(T(kTextOk, language));
  box->button(QDialogButtonBox::Cancel)->setText(T(kTextCancel, language));
  QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return box;
}

int IndexOfKind(int kind) {
  for (int i = 0; i < 5; ++i)
    if (kOfferedKinds[i] == kind) return i;
  return 0;
}

}  // namespace

CCommSettingsDialog::CCommSettingsDialog(QWidget* parent, const CDestination& d, int language)
    : QDialog(parent), language_(language) {
  setWindowTitle(T(kTextSettingsTitle, language));
  kind_ = new QComboBox(this);
  kind_->setObjectName("kind");
  for (unsigned id : {kTextKindSimulation, kTextKindSerial, kTextKindEthernet, kTextKindUsb, kTextKindModem})
    kind_->addItem(T(id, language));
  comPort_ = new QSpinBox(this);
  comPort_->setObjectName("comPort");
  comPort_->setRange(1, 256);
  baud_ = new QComboBox(this);
  baud_->setObjectName("baud");
  for (int i = 0; i < kBaudCount; ++i) baud_->addItem(QString::number(BaudRate(i)));
  dataBits_ = new QComboBox(this);
  dataBits_->setObjectName("dataBits");
  dataBits_->addItems({"7", "8"});
  parity_ = new QComboBox(this);
  parity_->setObjectName("parity");
  parity_->addItems({T(kTextParityNone, language), T(kTextParityOdd, language), T(kTextParityEven, language)});
  stopBits_ = new QComboBox(this);
  stopBits_->setObjectName("stopBits");
  stopBits_->addItems({"1", "2"});
  timeout_ = new QSpinBox(this);
  timeout_->setObjectName("timeout");
  timeout_->setRange(1, 600);
  address_ = new QLineEdit(this);
  address_->setObjectName("address");
  address_->setMaxLength(39);
  // Host names and dotted addresses: letters, digits, dots, hyphens and colons.
  address_->setValidator(new QRegularExpressionValidator(QRegularExpression("[A-Za-z0-9.:-]*"), address_));
  tcpPort_ = new QSpinBox(this);
  tcpPort_->setObjectName("tcpPort");
  tcpPort_->setRange(1, 65535);
  station_ = new QSpinBox(this);
  station_->setObjectName("station");
  station_->setRange(0, 99);
  station_->setToolTip(T(kTextStationHint, language));

  auto* form = new QFormLayout;
  form->addRow(T(kTextKind, language), kind_);
  form->addRow(T(kTextComPort, language), comPort_);
  form->addRow(T(kTextBaud, language), baud_);
  form->addRow(T(kTextDataBits, language), dataBits_);
  form->addRow(T(kTextParity, language), parity_);
  form->addRow(T(kTextStopBits, language), stopBits_);
  form->addRow(T(kTextTimeout, language), timeout_);
  form->addRow(T(kTextAddress, language), address_);
  form->addRow(T(kTextTcpPort, language), tcpPort_);
  form->addRow(T(kTextStation, language), station_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(Buttons(this, language));

  kind_->setCurrentIndex(IndexOfKind(d.kind));
  comPort_->setValue(d.comPort);
  baud_->setCurrentIndex(d.baudIndex);
  dataBits_->setCurrentIndex(d.dataBits == 7 ? 0 : 1);
  parity_->setCurrentIndex(d.parity);
  stopBits_->setCurrentIndex(d.stopBits == 2 ? 1 : 0);
  timeout_->setValue(d.timeout);
  address_->setText(QString::fromStdString(d.address));
  tcpPort_->setValue(d.tcpPort);
  station_->setValue(d.station);
  connect(kind_, &QComboBox::currentIndexChanged, this, [this] { UpdateEnabled(); });
  UpdateEnabled();
}

void CCommSettingsDialog::UpdateEnabled() {
  int kind = kOfferedKinds[std::max(0, kind_->currentIndex())];
  bool serial = kind == tavinter::kKindSerial || kind == tavinter::kKindModem;
  bool ethernet = kind == tavinter::kKindEthernet;
  comPort_->setEnabled(serial);
  baud_->setEnabled(serial);
  dataBits_->setEnabled(serial);
  parity_->setEnabled(serial);
  stopBits_->setEnabled(serial);
  address_->setEnabled(ethernet);
  tcpPort_->setEnabled(ethernet);
}

CDestination CCommSettingsDialog::Destination() const {
  CDestination d;
  d.kind = kOfferedKinds[std::max(0, kind_->currentIndex())];
  d.comPort = comPort_->value();
  d.baudIndex = baud_->currentIndex();
  d.dataBits = dataBits_->currentIndex() == 0 ? 7 : 8;
  d.parity = parity_->currentIndex();
  d.stopBits = stopBits_->currentIndex() == 1 ? 2 : 1;
  d.timeout = timeout_->value();
  d.address = address_->text().trimmed().toStdString();
  d.tcpPort = tcpPort_->value();
  d.station = station_->value();
  return d;
}

void CCommSettingsDialog::accept() {
  unsigned problem = Destination().Problem();
  if (problem != 0) {
    platform::ShowMessageBox(ToolText(problem, language_), platform::MB_OK | platform::MB_ICONEXCLAMATION,
                             ToolText(kTextSettingsTitle, language_), this);
    if (problem == kTextNoAddress) address_->setFocus();
    return;
  }
  QDialog::accept();
}

CStationDialog::CStationDialog(QWidget* parent, int station, const std::string& destination, int language)
    : QDialog(parent) {
  setWindowTitle(T(kTextStationTitle, language));
  station_ = new QSpinBox(this);
  station_->setObjectName("station");
  station_->setRange(0, 99);
  station_->setValue(station >= 0 && station <= 99 ? station : 1);
  auto* hint = new QLabel(T(kTextStationHint, language), this);
  hint->setWordWrap(true);
  auto* form = new QFormLayout;
  form->addRow(QString(), new QLabel(QString::fromStdString(destination), this));
  form->addRow(T(kTextStation, language), station_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(hint);
  layout->addWidget(Buttons(this, language));
}

int CStationDialog::Station() const { return station_->value(); }

}  // namespace tavtools
