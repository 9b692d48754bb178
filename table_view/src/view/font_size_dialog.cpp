#include "font_size_dialog.h"

#include <QDialogButtonBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "axview/helpers.h"
#include "library_strings.h"

namespace axview {

namespace {

QString LibraryText(unsigned id) {
  std::string text;
  GetKELDExDLLString(id, text);
  return QString::fromStdString(text);
}

}  // namespace

CFontSizeDialog::CFontSizeDialog(const QFont& font, QWidget* parent) : QDialog(parent), m_base(font) {
  RegisterLibraryStrings();
  setWindowTitle(LibraryText(IDS_DLG_FONT));
  m_family = new QFontComboBox;
  m_family->setFontFilters(QFontComboBox::ScalableFonts);
  m_family->setEditable(false);
  m_family->setCurrentFont(font);
  m_sizes = new QListWidget;
  for (int points = kMinPoints; points <= kMaxPoints; ++points) {
    auto* item = new QListWidgetItem(QString::number(points), m_sizes);
    item->setData(Qt::UserRole, points);
  }
  m_sizes->setMaximumHeight(m_sizes->sizeHintForRow(0) * (kMaxPoints - kMinPoints + 1) + 2 * m_sizes->frameWidth() + 4);
  m_sample = new QLabel(QStringLiteral("AaBbYyZz 0123456789"));
  m_sample->setFrameShape(QFrame::StyledPanel);
  m_sample->setMinimumHeight(48);
  m_sample->setAlignment(Qt::AlignCenter);

  auto* form = new QFormLayout;
  form->addRow(LibraryText(IDS_DLG_FONT_FAMILY), m_family);
  form->addRow(LibraryText(IDS_DLG_FONT_SIZE), m_sizes);
  form->addRow(LibraryText(IDS_DLG_FONT_SAMPLE), m_sample);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);

  const double points = font.pointSizeF() > 0 ? font.pointSizeF() : 9.0;
  SelectSize(static_cast<int>(std::lround(points)));
  connect(m_family, &QFontComboBox::currentFontChanged, this, [this] { UpdateSample(); });
  connect(m_sizes, &QListWidget::currentRowChanged, this, [this] { UpdateSample(); });
  UpdateSample();
}

QList<int> CFontSizeDialog::OfferedSizes() const {
  QList<int> sizes;
  for (int row = 0; row < m_sizes->count(); ++row) sizes << m_sizes->item(row)->data(Qt::UserRole).toInt();
  return sizes;
}

void CFontSizeDialog::SelectSize(int points) {
  m_sizes->setCurrentRow(std::clamp(points, kMinPoints, kMaxPoints) - kMinPoints);
}

void CFontSizeDialog::SelectFamily(const QString& family) { m_family->setCurrentFont(QFont(family)); }

QFont CFontSizeDialog::SelectedFont() const {
  // Weight, slant and the other attributes of the starting font stay.
  QFont font = m_base;
  font.setFamily(m_family->currentFont().family());
  const QListWidgetItem* item = m_sizes->currentItem();
  font.setPointSize(item ? item->data(Qt::UserRole).toInt() : 9);
  return font;
}

void CFontSizeDialog::UpdateSample() { m_sample->setFont(SelectedFont()); }

}  // namespace axview
