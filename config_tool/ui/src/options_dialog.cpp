#include "options_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "dialog_util.h"
#include "ui_strings.h"

namespace axcfgui {

COptionsDialog::COptionsDialog(QWidget* parent, const OptionValues& values, bool offerLanguage)
    : QDialog(parent), m_folder(new QLineEdit), m_timeout(new QComboBox), m_language(new QComboBox) {
  setObjectName(QStringLiteral("OptionsDialog"));
  setWindowTitle(UiQText(kIdsConfiguration));
  auto* layout = new QVBoxLayout(this);

  auto* folderBox = new QGroupBox(UiQText(kIdsCurrentFolder));
  auto* folderRow = new QHBoxLayout(folderBox);
  m_folder->setObjectName(QStringLiteral("CurrentFolder"));
  m_folder->setText(QString::fromStdString(values.currentPath));
  m_folder->setMinimumWidth(320);
  auto* browse = new QPushButton(UiQText(kIdsBrowse));
  connect(browse, &QPushButton::clicked, this, [this] {
    QString dir = QFileDialog::getExistingDirectory(this, UiQText(kIdsChooseFolder), m_folder->text());
    if (!dir.isEmpty()) m_folder->setText(dir);
  });
  folderRow->addWidget(m_folder);
  folderRow->addWidget(browse);
  layout->addWidget(folderBox);

  auto* timeBox = new QGroupBox(UiQText(kIdsToolTimeout));
  auto* timeRow = new QHBoxLayout(timeBox);
  m_timeout->setObjectName(QStringLiteral("ToolTimeout"));
  for (int s = 1; s <= 30; ++s) m_timeout->addItem(QString::number(s), s);
  m_timeout->setCurrentIndex(std::clamp(values.toolOprTimes, 1, 30) - 1);
  timeRow->addWidget(m_timeout);
  timeRow->addWidget(new QLabel(UiQText(kIdsSeconds)));
  timeRow->addStretch();
  layout->addWidget(timeBox);

  auto* langBox = new QGroupBox(UiQText(kIdsLanguage));
  auto* langRow = new QHBoxLayout(langBox);
  m_language->setObjectName(QStringLiteral("Language"));
  m_language->addItem(UiQText(kIdsEnglish), 0);
  m_language->addItem(UiQText(kIdsJapanese), 1);
  const int index = m_language->findData(values.language);
  m_language->setCurrentIndex(index >= 0 ? index : 1);
  langRow->addWidget(m_language);
  langRow->addStretch();
  layout->addWidget(langBox);
  if (!offerLanguage) {
    langBox->hide();
    m_language->setEnabled(false);
  }
  layout->addWidget(OkCancelHelp(this, &onHelp));
  ApplyDialogFont(this, 0, {});
}

OptionValues COptionsDialog::Values() const {
  OptionValues v;
  v.currentPath = m_folder->text().toStdString();
  v.toolOprTimes = m_timeout->currentData().toInt();
  v.language = m_language->currentData().toInt();
  return v;
}

}  // namespace axcfgui
