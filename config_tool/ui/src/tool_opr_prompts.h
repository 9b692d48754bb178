#pragma once
// The tool operation's questions and messages as the program's message
// boxes, its values through the value input dialog, and the wait cursor.
#include <QPointer>
#include <QWidget>
#include <functional>

#include "axcfg_unit/tool_opr_controller.h"

namespace axcfgui {

class CValueInputDlg;

class CUiToolOprPrompts : public axcfg::IToolOprPrompts {
 public:
  explicit CUiToolOprPrompts(QWidget* owner) : m_owner(owner) {}
  int Message(const std::string& text, unsigned type) override;
  bool InputValue(const axcfg::ValueInputRule& rule, int64_t initial, int64_t& value) override;
  void Busy(bool on) override;

  // Tests answer the value input here instead of a modal dialog.
  static void SetInputRunner(std::function<int(CValueInputDlg&)> runner);

 private:
  QPointer<QWidget> m_owner;
  int m_busy = 0;
};

}  // namespace axcfgui
