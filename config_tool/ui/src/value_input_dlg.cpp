#include "value_input_dlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/fixed_point.h"
#include "axcfg_unit/tool_opr_strings.h"
#include "platform/message_box.h"

namespace axcfgui {

namespace {
QString Q(const std::string& text) { return QString::fromStdString(text); }
}  // namespace

CValueInputDlg::CValueInputDlg(const axcfg::ValueInputRule& rule, int64_t initial, QWidget* parent)
    : QDialog(parent), m_rule(rule), m_edit(new QLineEdit(this)), m_value(initial) {
  setWindowTitle(Q(rule.title));
  auto* layout = new QVBoxLayout(this);
  auto* prompt = new QLabel(Q(rule.prompt), this);
  prompt->setObjectName(QStringLiteral("prompt"));
  layout->addWidget(prompt);
  m_edit->setAlignment(Qt::AlignRight);
  m_edit->setText(Q(axcfg::FormatFixed(rule.decimals, initial)));
  m_edit->selectAll();
  layout->addWidget(m_edit);
  auto* range = new QLabel(Q(rule.RangeText()), this);
  range->setObjectName(QStringLiteral("range"));
  layout->addWidget(range);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(Q(axcfg::ToolOprText(axcfg::kTopBtnOk)), QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton(Q(axcfg::ToolOprText(axcfg::kTopBtnCancel)), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  m_edit->setFocus();
}

void CValueInputDlg::accept() {
  int64_t value = 0;
  const auto check = axcfg::ParseValueInput(m_edit->text().toStdString(), m_rule, value);
  if (check != axcfg::ValueInputCheck::kOk) {
    axcfg::AxisCfgMessageBox(axcfg::ValueInputMessage(check), platform::MB_OK | platform::MB_ICONEXCLAMATION);
    m_edit->setFocus();
    m_edit->selectAll();
    return;
  }
  m_value = value;
  QDialog::accept();
}

}  // namespace axcfgui
