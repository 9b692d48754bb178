#include "settings_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>

#include <iterator>

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

// An address field: host names and dotted addresses (letters, digits, dots,
// hyphens and colons), at most 39 characters as the record holds them.
QLineEdit* AddressEdit(QWidget* parent, const char* name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setMaxLength(39);
  edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[A-Za-z0-9.:-]*"), edit));
  return edit;
}

constexpr int kOfferedCount = static_cast<int>(std::size(kOfferedKinds));

int IndexOfKind(int kind) {
  for (int i = 0; i < kOfferedCount; ++i)
    if (kOfferedKinds[i] == kind) return i;
  if (kind == tavinter::kKindEthernet8) return IndexOfKind(tavinter::kKindEthernet);
  return kOfferedCount;  // the stored destination's own entry
}

}  // namespace

CCommSettingsDialog::CCommSettingsDialog(QWidget* parent, const CDestination& d, int language)
    : QDialog(parent), language_(language), stored_(d), storedEditable_(IsEditableKind(d.kind)), storedKind_(d.kind) {
  setWindowTitle(T(kTextSettingsTitle, language));
  kind_ = new QComboBox(this);
  kind_->setObjectName("kind");
  for (unsigned id : {kTextKindSimulation, kTextKindSerial, kTextKindEthernet, kTextKindEthernetListen, kTextKindUsb,
                      kTextKindModem})
    kind_->addItem(T(id, language));
  // A destination the dialog cannot edit yet is listed as it is and kept.
  if (!storedEditable_) kind_->addItem(QString::fromStdString(DestinationName(d, language)));
  keptHint_ = new QLabel(T(kTextKeptHint, language), this);
  keptHint_->setObjectName("keptHint");
  keptHint_->setWordWrap(true);
  comPort_ = new QSpinBox(this);
  comPort_->setObjectName("comPort");
  comPort_->setRange(1, 256);
  baud_ = new QComboBox(this);
  baud_->setObjectName("baud");
  for (int rate : tavinter::kBaudRates) baud_->addItem(QString::number(rate));
  dataBits_ = new QComboBox(this);
  dataBits_->setObjectName("dataBits");
  for (int bits = tavinter::kMinDataBits; bits <= tavinter::kMaxDataBits; ++bits)
    dataBits_->addItem(QString::number(bits));
  parity_ = new QComboBox(this);
  parity_->setObjectName("parity");
  // In the order of the parity codes.
  parity_->addItems({T(kTextParityNone, language), T(kTextParityOdd, language), T(kTextParityEven, language),
                     T(kTextParitySpace, language)});
  stopBits_ = new QComboBox(this);
  stopBits_->setObjectName("stopBits");
  stopBits_->addItems({"1", "2"});
  timeout_ = new QSpinBox(this);
  timeout_->setObjectName("timeout");
  timeout_->setRange(1, 600);
  address_ = AddressEdit(this, "address");
  tcpPort_ = new QSpinBox(this);
  tcpPort_->setObjectName("tcpPort");
  tcpPort_->setRange(1, 65535);
  station_ = new QSpinBox(this);
  station_->setObjectName("station");
  station_->setRange(0, 99);
  station_->setToolTip(T(kTextStationHint, language));
  ethernetPort_ = new QSpinBox(this);
  ethernetPort_->setObjectName("ethernetPort");
  ethernetPort_->setRange(1, 64);
  sourceAddress_ = AddressEdit(this, "sourceAddress");
  useLocalAddress_ = new QCheckBox(T(kTextUseLocalAddress, language), this);
  useLocalAddress_->setObjectName("useLocalAddress");
  sourcePort_ = new QSpinBox(this);
  sourcePort_->setObjectName("sourcePort");
  sourcePort_->setRange(0, 65535);
  sourceStation_ = new QSpinBox(this);
  sourceStation_->setObjectName("sourceStation");
  sourceStation_->setRange(0, 255);
  header_ = new QCheckBox(T(kTextHeader, language), this);
  header_->setObjectName("header");
  connectLimit_ = new QSpinBox(this);
  connectLimit_->setObjectName("connectLimit");
  connectLimit_->setRange(0, 3600);

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
  form->addRow(T(kTextEthernetPort, language), ethernetPort_);
  form->addRow(T(kTextSourceAddress, language), sourceAddress_);
  form->addRow(QString(), useLocalAddress_);
  form->addRow(T(kTextSourcePort, language), sourcePort_);
  form->addRow(T(kTextSourceStation, language), sourceStation_);
  form->addRow(T(kTextConnectLimit, language), connectLimit_);
  form->addRow(QString(), header_);
  form->addRow(T(kTextStation, language), station_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(keptHint_);
  layout->addWidget(Buttons(this, language));

  kind_->setCurrentIndex(IndexOfKind(d.kind));
  comPort_->setValue(d.comPort);
  baud_->setCurrentIndex(d.serial.baudIndex);
  dataBits_->setCurrentIndex(d.serial.dataBits - tavinter::kMinDataBits);
  parity_->setCurrentIndex(d.serial.parity);
  stopBits_->setCurrentIndex(d.serial.stopBits == 2 ? 1 : 0);
  timeout_->setValue(d.timeout);
  address_->setText(QString::fromStdString(d.address));
  tcpPort_->setValue(d.tcpPort);
  station_->setValue(d.station);
  ethernetPort_->setValue(d.ethernetPort);
  sourceAddress_->setText(QString::fromStdString(d.sourceAddress));
  useLocalAddress_->setChecked(d.useLocalAddress);
  sourcePort_->setValue(d.sourcePort);
  sourceStation_->setValue(d.sourceStation);
  header_->setChecked(d.header);
  connectLimit_->setValue(d.connectLimit);
  connect(kind_, &QComboBox::currentIndexChanged, this, [this] { UpdateEnabled(); });
  connect(useLocalAddress_, &QCheckBox::toggled, this, [this] { UpdateEnabled(); });
  UpdateEnabled();
}

bool CCommSettingsDialog::KeepsStoredDestination() const {
  return !storedEditable_ && kind_->currentIndex() >= kOfferedCount;
}

void CCommSettingsDialog::UpdateEnabled() {
  const bool kept = KeepsStoredDestination();
  const int kind = kept ? -1 : kOfferedKinds[std::max(0, kind_->currentIndex())];
  const bool serial = kind == tavinter::kKindSerial || kind == tavinter::kKindModem;
  const bool ethernet = IsEthernetKind(kind);
  const bool plcConnects = kind == tavinter::kKindEthernetListen;
  comPort_->setEnabled(serial);
  baud_->setEnabled(serial);
  dataBits_->setEnabled(serial);
  parity_->setEnabled(serial);
  stopBits_->setEnabled(serial);
  timeout_->setEnabled(!kept);
  // The PLC that connects needs no port of ours to reach; its address, when
  // given, is the only one accepted.
  address_->setEnabled(ethernet);
  tcpPort_->setEnabled(ethernet && !plcConnects);
  ethernetPort_->setEnabled(ethernet);
  useLocalAddress_->setEnabled(ethernet);
  sourceAddress_->setEnabled(ethernet && !useLocalAddress_->isChecked());
  sourcePort_->setEnabled(ethernet);
  sourceStation_->setEnabled(ethernet);
  header_->setEnabled(ethernet);
  connectLimit_->setEnabled(ethernet && !plcConnects);
  keptHint_->setVisible(kept);
}

CDestination CCommSettingsDialog::Destination() const {
  if (KeepsStoredDestination()) {
    CDestination d = stored_;
    d.station = station_->value();
    return d;
  }
  CDestination d;
  d.kind = kOfferedKinds[std::max(0, kind_->currentIndex())];
  d.comPort = comPort_->value();
  d.serial.baudIndex = static_cast<int16_t>(baud_->currentIndex());
  d.serial.dataBits = static_cast<int16_t>(dataBits_->currentIndex() + tavinter::kMinDataBits);
  d.serial.parity = static_cast<int16_t>(parity_->currentIndex());
  d.serial.stopBits = static_cast<int16_t>(stopBits_->currentIndex() == 1 ? 2 : 1);
  d.timeout = timeout_->value();
  d.address = address_->text().trimmed().toStdString();
  d.tcpPort = tcpPort_->value();
  d.station = station_->value();
  d.ethernetPort = ethernetPort_->value();
  d.sourceAddress = sourceAddress_->text().trimmed().toStdString();
  d.useLocalAddress = useLocalAddress_->isChecked();
  d.sourcePort = sourcePort_->value();
  d.sourceStation = sourceStation_->value();
  d.header = header_->isChecked();
  d.connectLimit = connectLimit_->value();
  if (d.kind == tavinter::kKindEthernet && storedKind_ == tavinter::kKindEthernet8) d.kind = tavinter::kKindEthernet8;
  return d;
}

void CCommSettingsDialog::accept() {
  unsigned problem = Destination().Problem();
  if (problem != 0) {
    platform::ShowMessageBox(ToolText(problem, language_), platform::MB_OK | platform::MB_ICONEXCLAMATION,
                             ToolText(kTextSettingsTitle, language_), this);
    if (problem == kTextNoAddress) address_->setFocus();
    if (problem == kTextNoSourcePort) sourcePort_->setFocus();
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
