#include "csv_export_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/pos_sheets.h"
#include "dialog_util.h"
#include "platform/message_box.h"
#include "ui_strings.h"

namespace axcfgui {

namespace {

QString T(unsigned id) { return QString::fromStdString(UiText(id)); }
QString Q(const std::string& text) { return QString::fromStdString(text); }

int Message(const std::string& text, unsigned type) { return axcfg::AxisCfgMessageBox(text, type); }

QLineEdit* NameBox(const char* objectName) {
  auto* box = new QLineEdit;
  box->setObjectName(QString::fromLatin1(objectName));
  box->setReadOnly(true);
  box->setFocusPolicy(Qt::NoFocus);
  box->setMinimumWidth(360);
  return box;
}

}  // namespace

CCsvExportDialog::CCsvExportDialog(QWidget* parent, const axcfg::CAxisCfgDoc& doc, const std::string& folder)
    : QDialog(parent), m_doc(doc), m_folder(new QLineEdit), m_base(new QLineEdit),
      m_paramFile(NameBox("ParameterFile")) {
  setObjectName(QStringLiteral("CsvExportDialog"));
  setWindowTitle(T(kIdsCsvExportTitle));
  chooseFolder = [](QWidget* owner, const std::string& start) {
    return QFileDialog::getExistingDirectory(owner, T(kIdsCsvFolder), Q(start)).toStdString();
  };
  auto* layout = new QVBoxLayout(this);

  auto* folderBox = new QGroupBox(T(kIdsCsvFolder));
  auto* folderRow = new QHBoxLayout(folderBox);
  m_folder->setObjectName(QStringLiteral("Folder"));
  m_folder->setText(Q(folder));
  auto* select = new QPushButton(T(kIdsCsvSelect));
  select->setObjectName(QStringLiteral("Select"));
  folderRow->addWidget(m_folder, 1);
  folderRow->addWidget(select);
  layout->addWidget(folderBox);

  auto* names = new QGridLayout;
  int row = 0;
  m_base->setObjectName(QStringLiteral("BaseName"));
  names->addWidget(new QLabel(T(kIdsCsvBaseName)), row, 0);
  names->addWidget(m_base, row++, 1);
  names->addWidget(new QLabel(T(kIdsCsvParamFile)), row, 0);
  names->addWidget(m_paramFile, row++, 1);
  const std::vector<uint32_t> sheets = axcfg::GetSheetEntries(doc.GetLayout());
  for (size_t i = 0; i < m_sheetFiles.size(); ++i) {
    const bool used = i < sheets.size();
    m_sheetLabels[i] = new QLabel(used ? Q(UiFormat(kIdsCsvSheetFile, axcfg::GetSheetName(sheets[i]))) : QString());
    m_sheetFiles[i] = NameBox(("SheetFile" + std::to_string(i)).c_str());
    names->addWidget(m_sheetLabels[i], row, 0);
    names->addWidget(m_sheetFiles[i], row++, 1);
    m_sheetLabels[i]->setVisible(used);
    m_sheetFiles[i]->setVisible(used);
  }
  layout->addLayout(names);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  m_ok = buttons->button(QDialogButtonBox::Ok);
  connect(buttons, &QDialogButtonBox::accepted, this, &CCsvExportDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);

  connect(select, &QPushButton::clicked, this, [this] {
    const std::string chosen = chooseFolder(this, m_folder->text().toStdString());
    if (!chosen.empty()) m_folder->setText(Q(chosen));
  });
  connect(m_base, &QLineEdit::textChanged, this, [this] { RefreshNames(); });
  connect(m_folder, &QLineEdit::textChanged, this, [this] { RefreshNames(); });
  m_base->setFocus();
  ApplyDialogFont(this, 0, {});
  RefreshNames();
}

void CCsvExportDialog::RefreshNames() {
  const std::string base = m_base->text().toStdString();
  const bool empty = base.empty();
  const axcfg::CsvFileNames names =
      axcfg::MakeCsvFileNames(m_doc.GetLayout(), m_folder->text().toStdString(), axcfg::CsvBaseName(base));
  m_paramFile->setText(empty ? QString() : Q(names.parameterFile));
  for (size_t i = 0; i < m_sheetFiles.size(); ++i)
    m_sheetFiles[i]->setText(empty || i >= names.sheetFiles.size() ? QString() : Q(names.sheetFiles[i]));
}

void CCsvExportDialog::KeepWithNameSelected() {
  m_base->setFocus();
  m_base->selectAll();
}

void CCsvExportDialog::accept() {
  const axcfg::CsvNameCheck check =
      axcfg::CheckCsvExport(m_doc.GetLayout(), m_folder->text().toStdString(), m_base->text().toStdString());
  switch (check.verdict) {
    case axcfg::CsvNameVerdict::Ok: break;
    case axcfg::CsvNameVerdict::Invalid:
    case axcfg::CsvNameVerdict::Protected:
      Message(check.message, platform::MB_OK | platform::MB_ICONEXCLAMATION);
      KeepWithNameSelected();
      return;
    case axcfg::CsvNameVerdict::AskOverwrite:
      if (Message(check.message, platform::MB_YESNO | platform::MB_ICONQUESTION) != platform::IDYES) {
        KeepWithNameSelected();
        return;
      }
      break;
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const axcfg::CsvWriteResult written = writeFiles(m_doc, check.names);
  QApplication::restoreOverrideCursor();
  if (written.messageId) {
    // The files written before the failure stay; the user may choose
    // another folder and try again.
    Message(written.message + "\n" + written.systemError, platform::MB_OK | platform::MB_ICONSTOP);
    KeepWithNameSelected();
    return;
  }
  QDialog::accept();
}

}  // namespace axcfgui
