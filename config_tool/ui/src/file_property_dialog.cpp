#include "file_property_dialog.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "axview/byte_limit_validator.h"
#include "dialog_util.h"
#include "ui_strings.h"

namespace axcfgui {

CFilePropertyDialog::CFilePropertyDialog(QWidget* parent, const std::string& fileName, const std::string& creator,
                                         const std::string& comment, const std::string& date)
    : QDialog(parent), m_creator(new QLineEdit), m_comment(new QLineEdit) {
  setObjectName(QStringLiteral("FilePropertyDialog"));
  setWindowTitle(UiQText(kIdsFileProperty));
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
  form->addRow(UiQText(kIdsFileName) + " :", name);
  form->addRow(UiQText(kIdsCreator) + " :", m_creator);
  form->addRow(UiQText(kIdsComment) + " :", m_comment);
  form->addRow(UiQText(kIdsDate) + " :", new QLabel(QString::fromStdString(date)));
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
