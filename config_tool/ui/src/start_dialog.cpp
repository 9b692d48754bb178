#include "start_dialog.h"

#include <QPushButton>
#include <QVBoxLayout>

#include "axcfg_data/axcfg_strings.h"
#include "dialog_util.h"
#include "ui_strings.h"

namespace axcfgui {

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
    auto* button = new QPushButton(UiQText(b.text), this);
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

}  // namespace axcfgui
