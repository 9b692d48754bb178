#pragma once
// The communication settings dialog and the station dialog.
#include <QDialog>

#include "destination.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;
class QLabel;

namespace tavtools {

class CCommSettingsDialog : public QDialog {
  Q_OBJECT
 public:
  CCommSettingsDialog(QWidget* parent, const CDestination& initial, int language);
  CDestination Destination() const;

  QComboBox* kindBox() const { return kind_; }
  QSpinBox* comPortBox() const { return comPort_; }
  QComboBox* baudBox() const { return baud_; }
  QComboBox* dataBitsBox() const { return dataBits_; }
  QComboBox* parityBox() const { return parity_; }
  QComboBox* stopBitsBox() const { return stopBits_; }
  QSpinBox* timeoutBox() const { return timeout_; }
  QLineEdit* addressEdit() const { return address_; }
  QSpinBox* tcpPortBox() const { return tcpPort_; }
  QSpinBox* stationBox() const { return station_; }
  QSpinBox* ethernetPortBox() const { return ethernetPort_; }
  QLineEdit* sourceAddressEdit() const { return sourceAddress_; }
  QCheckBox* useLocalAddressBox() const { return useLocalAddress_; }
  QSpinBox* sourcePortBox() const { return sourcePort_; }
  QSpinBox* sourceStationBox() const { return sourceStation_; }
  QCheckBox* headerBox() const { return header_; }
  QSpinBox* connectLimitBox() const { return connectLimit_; }
  // Whether the stored destination, of a kind the dialog cannot edit, is
  // shown (as the last kind in the list) and kept.
  bool KeepsStoredDestination() const;

 public slots:
  void accept() override;

 private:
  void UpdateEnabled();
  int language_;
  CDestination stored_;
  bool storedEditable_;
  QLabel* keptHint_;
  QComboBox* kind_;
  QSpinBox* comPort_;
  QComboBox* baud_;
  QComboBox* dataBits_;
  QComboBox* parity_;
  QComboBox* stopBits_;
  QSpinBox* timeout_;
  QLineEdit* address_;
  QSpinBox* tcpPort_;
  QSpinBox* station_;
  QSpinBox* ethernetPort_;
  QLineEdit* sourceAddress_;
  QCheckBox* useLocalAddress_;
  QSpinBox* sourcePort_;
  QSpinBox* sourceStation_;
  QCheckBox* header_;
  QSpinBox* connectLimit_;
  int storedKind_;  // kind 8 is shown as "Ethernet" and saved as 8 again
};

class CStationDialog : public QDialog {
  Q_OBJECT
 public:
  CStationDialog(QWidget* parent, int station, const std::string& destination, int language);
  int Station() const;
  QSpinBox* stationBox() const { return station_; }

 private:
  QSpinBox* station_;
};

}  // namespace tavtools
