#include "tool_opr_prompts.h"

#include <QApplication>

#include "axcfg_data/axcfg_strings.h"
#include "value_input_dlg.h"

namespace axcfgui {

namespace {
std::function<int(CValueInputDlg&)>& InputRunner() {
  static std::function<int(CValueInputDlg&)> runner;
  return runner;
}
}  // namespace

void CUiToolOprPrompts::SetInputRunner(std::function<int(CValueInputDlg&)> runner) {
  InputRunner() = std::move(runner);
}

int CUiToolOprPrompts::Message(const std::string& text, unsigned type) {
  return axcfg::AxisCfgMessageBox(text, type);
}

bool CUiToolOprPrompts::InputValue(const axcfg::ValueInputRule& rule, int64_t initial, int64_t& value) {
  CValueInputDlg dialog(rule, initial, m_owner);
  const int result = InputRunner() ? InputRunner()(dialog) : dialog.exec();
  if (result != QDialog::Accepted) return false;
  value = dialog.Value();
  return true;
}

void CUiToolOprPrompts::Busy(bool on) {
  if (on) {
    ++m_busy;
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else if (m_busy > 0) {
    --m_busy;
    QApplication::restoreOverrideCursor();
  }
}

}  // namespace axcfgui
