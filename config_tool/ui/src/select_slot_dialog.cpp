#include "select_slot_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "axcfg_unit/unit_link.h"
#include "ui_strings.h"

namespace axcfgui {

CSelectSlotDialog::CSelectSlotDialog(QWidget* parent, axcfg::CUnitLink& link) : QDialog(parent), m_link(link) {
  setWindowTitle(QString::fromStdString(UiText(kIdsSelectSlotTitle)));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QString::fromStdString(UiText(kIdsSelectSlotPrompt)), this));
  auto* row = new QHBoxLayout;
  auto* label = new QLabel(QString::fromStdString(UiText(kIdsSelectSlotLabel)), this);
  m_slots = new QComboBox(this);
  for (int slot = 0; slot <= axcfg::CUnitLink::kMaxSlot; ++slot) m_slots->addItem(QString::number(slot));
  m_slots->setCurrentIndex(link.GetSlotNo() <= axcfg::CUnitLink::kMaxSlot ? link.GetSlotNo() : 0);
  label->setBuddy(m_slots);
  row->addWidget(label);
  row->addWidget(m_slots, 1);
  layout->addLayout(row);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

void CSelectSlotDialog::accept() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const bool taken = m_link.AcceptSlot(static_cast<uint16_t>(m_slots->currentIndex()), this);
  QApplication::restoreOverrideCursor();
  if (taken) QDialog::accept();
}

}  // namespace axcfgui
