#include "copy_axis_dlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "dialog_util.h"
#include "ui_strings.h"

namespace axcfgui {

CCopyAxisDlg::CCopyAxisDlg(QWidget* parent, const std::vector<std::string>& labels, int current)
    : QDialog(parent), m_source(new QComboBox), m_destination(new QComboBox) {
  setObjectName(QStringLiteral("CopyAxisDlg"));
  setWindowTitle(UiQText(kIdsCopyAxisTitle));
  for (const std::string& label : labels) {
    m_source->addItem(QString::fromStdString(label));
    m_destination->addItem(QString::fromStdString(label));
  }
  m_source->setCurrentIndex(current >= 0 && current < m_source->count() ? current : 0);
  m_destination->setCurrentIndex(0);
  auto* form = new QFormLayout;
  form->addRow(UiQText(kIdsSourceAxis), m_source);
  form->addRow(UiQText(kIdsDestinationAxis), m_destination);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(new QLabel(UiQText(kIdsCopyAxisHint)));
  layout->addWidget(buttons);
  ApplyDialogFont(this, 0, {});
}

int CCopyAxisDlg::Source() const { return m_source->currentIndex(); }
int CCopyAxisDlg::Destination() const { return m_destination->currentIndex(); }

}  // namespace axcfgui
