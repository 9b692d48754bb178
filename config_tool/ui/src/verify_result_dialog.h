#pragma once
// CVerifyResultDialog, "Result of verification": what a verification found
// for the axis information, the parameters and the positioning data, and
// the overall result, for a setting file or for the unit.
#include <QDialog>
#include <array>

#include "axcfg_data/compare.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace axcfgui {

class CVerifyResultDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CVerifyResultDialog(QWidget* parent);

  // The target text, the mismatch bits of the three compared parts and
  // whether the note on unverified comments shows.
  void SetResult(const axcfg::VerifyResult& result);
  const axcfg::VerifyResult& Result() const { return m_result; }

  // The result lines (0..3) and the note, for the caller's checks.
  QLabel* Line(int index) const { return m_lines[static_cast<size_t>(index)]; }
  QLabel* Note() const { return m_note; }
  QPushButton* HelpButton() const { return m_help; }

  // The background of a line that agrees or disagrees.
  static QColor AgreeColor();
  static QColor DisagreeColor();

 private:
  void Refresh();

  axcfg::VerifyResult m_result;
  QLineEdit* m_target;
  std::array<QLabel*, 4> m_lines{};
  QLabel* m_note;
  QPushButton* m_close;
  QPushButton* m_help;
};

}  // namespace axcfgui
