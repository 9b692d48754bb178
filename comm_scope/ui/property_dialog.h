#pragma once
// The read-only communication property windows: the rows of a port's channel
// (serial and modem, USB, simulation, boards) or the labels of an Ethernet
// client's link window.
#include <QDialog>

#include "commscope/comm_property.h"

namespace commscope {

class CPropertyDialog : public QDialog {
  Q_OBJECT
 public:
  CPropertyDialog(const QString& portName, const CommProperty& property, QWidget* parent = nullptr);
  // The value shown beside a label ("" when there is no such row).
  QString ValueOf(const QString& label) const;
};

}  // namespace commscope
