#include "param_settings_dlg.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/axis_settings.h"
#include "copy_axis_dlg.h"
#include "dialog_util.h"
#include "help_window.h"
#include "param_edit_grid.h"
#include "platform/message_box.h"
#include "ui_strings.h"
#include "used_axis_dlg.h"

namespace axcfgui {

namespace {

int Message(const std::string& text, unsigned icon) { return axcfg::AxisCfgMessageBox(text, platform::MB_OK | icon); }

// Buttons take the focus from the keyboard only, so that a click leaves an
// open cell edit to the button's own commit.
QPushButton* Button(const QString& text, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setFocusPolicy(Qt::TabFocus);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

CParamSettingsDlg::CParamSettingsDlg(QWidget* parent, axcfg::CParamEditModel& model, bool checkOnShow,
                                     std::string helpFile)
    : QDialog(parent),
      m_model(model),
      m_grid(new CParamEditGrid(model, this)),
      m_guidance(new QPlainTextEdit(this)),
      m_copy(Button(UiQText(kIdsCopyAxisButton), this)),
      m_initialize(Button(UiQText(kIdsInitializeButton), this)),
      m_helpFile(std::move(helpFile)),
      m_checkOnShow(checkOnShow) {
  setObjectName(QStringLiteral("ParamSettingsDlg"));
  setWindowTitle(UiQText(kIdsParamSettingsTitle));
  m_guidance->setObjectName(QStringLiteral("Guidance"));
  m_guidance->setReadOnly(true);
  m_guidance->setFocusPolicy(Qt::ClickFocus);
  m_guidance->setFixedHeight(m_guidance->fontMetrics().lineSpacing() * 5 + 12);

  QPushButton* ok = Button(tr("OK"), this);
  QPushButton* cancel = Button(tr("Cancel"), this);
  QPushButton* help = Button(UiQText(kIdsHelpButton), this);
  ok->setObjectName(QStringLiteral("OkButton"));
  // Enter on the grid presses OK; in a cell editor it belongs to the editor.
  ok->setDefault(true);
  cancel->setObjectName(QStringLiteral("CancelButton"));
  m_copy->setObjectName(QStringLiteral("CopyAxisButton"));
  m_initialize->setObjectName(QStringLiteral("InitializeButton"));
  help->setObjectName(QStringLiteral("HelpButton"));
  connect(ok, &QPushButton::clicked, this, &CParamSettingsDlg::accept);
  connect(cancel, &QPushButton::clicked, this, &CParamSettingsDlg::reject);
  connect(m_copy, &QPushButton::clicked, this, &CParamSettingsDlg::OnCopyAxis);
  connect(m_initialize, &QPushButton::clicked, this, &CParamSettingsDlg::OnInitialize);
  connect(help, &QPushButton::clicked, this, [this] { ShowHelp(this, m_helpFile, kHelpContext); });

  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {ok, cancel, m_copy, m_initialize}) buttons->addWidget(b);
  buttons->addStretch(1);
  buttons->addWidget(help);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_grid, 1);
  layout->addWidget(m_guidance);
  layout->addLayout(buttons);

  connect(m_grid, &CParamGrid::currentCellChanged, this, &CParamSettingsDlg::ShowGuidance);
  connect(m_grid, &CParamEditGrid::cellCommitted, this,
          [this] { ShowGuidance(m_grid->CurrentColumn(), m_grid->CurrentRow()); });
  ApplyDialogFont(this, 0, {});
  m_grid->Reload();
  m_grid->AttachOwner();
  resize(std::min(1400, m_grid->TotalWidthHint() + 24), 640);
  m_grid->setFocus();
}

void CParamSettingsDlg::ShowGuidance(int column, int row) {
  QString text = QString::fromStdString(m_model.Guidance(column, row));
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  m_guidance->setPlainText(text);
}

void CParamSettingsDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!m_checkOnShow) return;
  m_checkOnShow = false;
  // After the first show has been handled, never inside a paint.
  QTimer::singleShot(0, this, [this] { CheckValues(); });
}

bool CParamSettingsDlg::CheckValues() {
  const axcfg::ParamOkCheck check = m_model.CheckForOk();
  if (check.ok) return true;
  m_grid->SetCurrentCell(check.column, check.row);
  m_grid->setFocus();
  Message(check.message, platform::MB_ICONEXCLAMATION);
  return false;
}

void CParamSettingsDlg::AfterStep(const axcfg::ParamEditResult& result) {
  if (!result.Accepted()) {
    Message(result.message, platform::MB_ICONEXCLAMATION);
    return;
  }
  m_grid->RedrawColumns(result.redrawColumns);
  ShowGuidance(m_grid->CurrentColumn(), m_grid->CurrentRow());
  if (!result.info.empty()) Message(result.info, platform::MB_ICONINFORMATION);
}

void CParamSettingsDlg::OnCopyAxis() {
  if (m_grid->CommitEdit() < 0) return;
  std::vector<std::string> labels;
  for (int column = 0; column < m_model.ColumnCount(); ++column) labels.push_back(m_model.ColumnTitle(column));
  CCopyAxisDlg dialog(this, labels, m_grid->CurrentColumn());
  if (runSubDialog(dialog) != QDialog::Accepted) return;
  AfterStep(m_model.CopyAxis(m_model.ColumnAxis(dialog.Source()), m_model.ColumnAxis(dialog.Destination())));
}

void CParamSettingsDlg::OnInitialize() {
  if (m_grid->CommitEdit() < 0) return;
  // The shown axes can be chosen, none is ticked: a bare OK resets nothing.
  axcfg::CUsedAxisChoice choice = axcfg::CUsedAxisChoice::ForInitialise(m_model.ShownMask(), 0);
  CUsedAxisDlg dialog(this, choice);
  if (runSubDialog(dialog) != QDialog::Accepted) return;
  AfterStep(m_model.Initialize(choice.Mask()));
}

void CParamSettingsDlg::accept() {
  if (m_grid->CommitEdit() < 0) return;
  if (!CheckValues()) return;
  QDialog::accept();
}

bool OpenParameterEditor(axcfg::CAxisCfgDoc& doc, QWidget* parent, bool checkOnShow, const std::string& helpFile,
                         const std::function<int(CParamSettingsDlg&)>& run) {
  axcfg::CParamEditModel model(doc);
  CParamSettingsDlg dialog(parent, model, checkOnShow, helpFile);
  const int result = run ? run(dialog) : dialog.exec();
  if (result != QDialog::Accepted) return false;
  model.Apply(doc);
  return true;
}

}  // namespace axcfgui
