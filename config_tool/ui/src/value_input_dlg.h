#pragma once
// The value input of tool operation: a prompt, a right-aligned edit, the
// allowed range and OK/Cancel. OK checks the text against the kind's rule;
// a refused text shows its message and returns to the edit, all selected.
#include <QDialog>
#include <cstdint>

#include "axcfg_unit/value_input.h"

class QLineEdit;

namespace axcfgui {

class CValueInputDlg : public QDialog {
  Q_OBJECT

 public:
  CValueInputDlg(const axcfg::ValueInputRule& rule, int64_t initial, QWidget* parent);

  int64_t Value() const { return m_value; }
  QLineEdit* Edit() const { return m_edit; }

  void accept() override;

 private:
  axcfg::ValueInputRule m_rule;
  QLineEdit* m_edit;
  int64_t m_value;
};

}  // namespace axcfgui
