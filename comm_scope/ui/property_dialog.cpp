#include "property_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace commscope {

CPropertyDialog::CPropertyDialog(const QString& portName, const CommProperty& property, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle("Communication Property");
  auto* layout = new QVBoxLayout(this);
  auto* group = new QGroupBox(portName, this);
  auto* form = new QFormLayout(group);
  for (const auto& row : property.rows) {
    auto* value = new QLineEdit(QString::fromStdString(row.value), group);
    value->setReadOnly(true);
    value->setObjectName(QString::fromStdString(row.label));
    form->addRow(QString::fromStdString(row.label), value);
  }
  layout->addWidget(group);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
}

QString CPropertyDialog::ValueOf(const QString& label) const {
  auto* edit = findChild<QLineEdit*>(label);
  return edit ? edit->text() : QString();
}

}  // namespace commscope
