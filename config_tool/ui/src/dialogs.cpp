#include "dialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "axcfg_data/axcfg_strings.h"
#include "axview/byte_limit_validator.h"
#include "dialog_util.h"
#include "ui_strings.h"

namespace axcfgui {

namespace {

QString T(unsigned id) { return QString::fromStdString(UiText(id)); }

QDialogButtonBox* OkCancelHelp(QDialog* dialog, const std::function<void()>* onHelp) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  QPushButton* help = buttons->addButton(T(kIdsHelpButton), QDialogButtonBox::HelpRole);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  QObject::connect(help, &QPushButton::clicked, dialog, [onHelp] {
    if (*onHelp) (*onHelp)();
  });
  return buttons;
}

}  // namespace

CStartDialog::CStartDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("StartDialog"));
  setWindowTitle(QString::fromLatin1(axcfg::kMessageCaption));
  auto* layout = new QVBoxLayout(this);
  const struct {
    unsigned text;
    StartChoice choice;
    const char* name;
  } buttons[] = {{kIdsStartNew, StartChoice::New, "New"},
                 {kIdsStartOpen, StartChoice::Open, "Open"},
                 {kIdsStartUpload, StartChoice::Upload, "Upload"},
                 {kIdsStartExit, StartChoice::Exit, "Exit"}};
  for (const auto& b : buttons) {
    auto* button = new QPushButton(T(b.text), this);
    button->setObjectName(QString::fromLatin1(b.name));
    button->setMinimumWidth(220);
    const StartChoice choice = b.choice;
    connect(button, &QPushButton::clicked, this, [this, choice] {
      m_choice = choice;
      accept();
    });
    layout->addWidget(button);
  }
  ApplyDialogFont(this, 0, {});
}

void CStartDialog::EnableUpload(bool enable) {
  if (auto* button = findChild<QPushButton*>(QStringLiteral("Upload"))) button->setEnabled(enable);
}

COptionsDialog::COptionsDialog(QWidget* parent, const OptionValues& values, bool offerLanguage)
    : QDialog(parent), m_folder(new QLineEdit), m_timeout(new QComboBox), m_language(new QComboBox) {
  setObjectName(QStringLiteral("OptionsDialog"));
  setWindowTitle(T(kIdsConfiguration));
  auto* layout = new QVBoxLayout(this);

  auto* folderBox = new QGroupBox(T(kIdsCurrentFolder));
  auto* folderRow = new QHBoxLayout(folderBox);
  m_folder->setObjectName(QStringLiteral("CurrentFolder"));
  m_folder->setText(QString::fromStdString(values.currentPath));
  m_folder->setMinimumWidth(320);
  auto* browse = new QPushButton(T(kIdsBrowse));
  connect(browse, &QPushButton::clicked, this, [this] {
    QString dir = QFileDialog::getExistingDirectory(this, T(kIdsChooseFolder), m_folder->text());
    if (!dir.isEmpty()) m_folder->setText(dir);
  });
  folderRow->addWidget(m_folder);
  folderRow->addWidget(browse);
  layout->addWidget(folderBox);

  auto* timeBox = new QGroupBox(T(kIdsToolTimeout));
  auto* timeRow = new QHBoxLayout(timeBox);
  m_timeout->setObjectName(QStringLiteral("ToolTimeout"));
  for (int s = 1; s <= 30; ++s) m_timeout->addItem(QString::number(s), s);
  m_timeout->setCurrentIndex(std::clamp(values.toolOprTimes, 1, 30) - 1);
  timeRow->addWidget(m_timeout);
  timeRow->addWidget(new QLabel(T(kIdsSeconds)));
  timeRow->addStretch();
  layout->addWidget(timeBox);

  auto* langBox = new QGroupBox(T(kIdsLanguage));
  auto* langRow = new QHBoxLayout(langBox);
  m_language->setObjectName(QStringLiteral("Language"));
  m_language->addItem(T(kIdsEnglish), 0);
  m_language->addItem(T(kIdsJapanese), 1);
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

CFilePropertyDialog::CFilePropertyDialog(QWidget* parent, const std::string& fileName, const std::string& creator,
                                         const std::string& comment, const std::string& date)
    : QDialog(parent), m_creator(new QLineEdit), m_comment(new QLineEdit) {
  setObjectName(QStringLiteral("FilePropertyDialog"));
  setWindowTitle(T(kIdsFileProperty));
  auto* form = new QFormLayout;
  auto* name = new QLineEdit(QString::fromStdString(fileName));
  name->setReadOnly(true);
  name->setMinimumWidth(360);
  m_creator->setObjectName(QStringLiteral("Creator"));
  m_creator->setText(QString::fromStdString(creator));
  // The fields hold what the file holds: 10 and 40 bytes in code page 932.
  m_creator->setValidator(new CByteLimitValidator(10, m_creator));
  m_comment->setObjectName(QStringLiteral("Comment"));
  m_comment->setText(QString::fromStdString(comment));
  m_comment->setValidator(new CByteLimitValidator(40, m_comment));
  form->addRow(T(kIdsFileName) + " :", name);
  form->addRow(T(kIdsCreator) + " :", m_creator);
  form->addRow(T(kIdsComment) + " :", m_comment);
  form->addRow(T(kIdsDate) + " :", new QLabel(QString::fromStdString(date)));
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(OkCancelHelp(this, &onHelp));
  ApplyDialogFont(this, 0, {});
}

void CFilePropertyDialog::accept() {
  if (onAccept && !onAccept(Creator(), Comment())) return;
  QDialog::accept();
}

std::string CFilePropertyDialog::Creator() const { return m_creator->text().toStdString(); }
std::string CFilePropertyDialog::Comment() const { return m_comment->text().toStdString(); }

std::string FileDateText(const std::string& path) {
  QFileInfo info(QString::fromStdString(path));
  if (path.empty() || !info.exists()) return {};
  return info.lastModified().toString(QStringLiteral("yyyy/MM/dd")).toStdString();
}

}  // namespace axcfgui
