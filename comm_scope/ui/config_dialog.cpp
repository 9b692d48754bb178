#include "config_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "commscope/scope_texts.h"
#include "platform/message_box.h"

namespace commscope {

CConfigDialog::CConfigDialog(CLogSettings settings, QWidget* parent) : QDialog(parent), settings_(std::move(settings)) {
  setWindowTitle("Configuration");
  chooseFolder = [this](const QString& current) {
    return QFileDialog::getExistingDirectory(this, "Current Folder", current);
  };
  auto* layout = new QVBoxLayout(this);
  auto* group = new QGroupBox("Communication Log Mode", this);
  auto* grid = new QGridLayout(group);
  int row = 0;
  for (const auto& d : settings_.Devices()) {
    auto* box = new QCheckBox(QString::fromStdString(d.label), group);
    box->setObjectName(QString::fromStdString(d.name));
    box->setChecked(d.on);
    grid->addWidget(box, row, 0);
    grid->addWidget(new QLabel(QString::fromStdString(d.pattern), group), row, 1);
    boxes_.push_back(box);
    ++row;
  }
  layout->addWidget(group);
  auto* folderRow = new QHBoxLayout;
  folderRow->addWidget(new QLabel("Current Folder", this));
  folder_ = new QLineEdit(QString::fromStdString(settings_.Folder()), this);
  folder_->setReadOnly(true);
  folderRow->addWidget(folder_, 1);
  auto* browse = new QPushButton("&Browse", this);
  browse->setObjectName("browse");
  connect(browse, &QPushButton::clicked, this, [this] {
    QString chosen = chooseFolder(folder_->text());
    if (!chosen.isEmpty()) folder_->setText(chosen);
  });
  folderRow->addWidget(browse);
  layout->addLayout(folderRow);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &CConfigDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

QCheckBox* CConfigDialog::Box(const QString& name) const { return findChild<QCheckBox*>(name); }

void CConfigDialog::accept() {
  auto& devices = settings_.Devices();
  for (size_t i = 0; i < devices.size() && i < boxes_.size(); ++i) devices[i].on = boxes_[i]->isChecked();
  settings_.SetFolder(folder_->text().toStdString());
  unsigned id = 0;
  if (!settings_.Save(&id)) {
    ScopeMessage(id, platform::MB_OK | platform::MB_ICONEXCLAMATION, this);
    return;
  }
  QDialog::accept();
}

}  // namespace commscope
