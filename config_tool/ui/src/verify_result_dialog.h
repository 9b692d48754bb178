#pragma once
// CVerifyResultDialog, "Result of verification": what a verification found
// for the axis information, the parameters and the positioning data, and
// the overall result, for a setting file or for the unit. "&Details..."
// lists every differing item.
#include <QDialog>
#include <array>

#include "axcfg_data/compare.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace axcfgui {

class CDifferenceListDlg;

class CVerifyResultDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CVerifyResultDialog(QWidget* parent);

  // The target text, the mismatch bits of the three compared parts and
  // whether the note on unverified comments shows.
  void SetResult(const axcfg::VerifyResult& result);
  const axcfg::VerifyResult& Result() const { return m_result; }
  // The title of the list's column of the compared configuration ("File"
  // unless told otherwise).
  void SetOtherName(const QString& name) { m_otherName = name; }

  // The result lines (0..3) and the note, for the caller's checks.
  QLabel* Line(int index) const { return m_lines[static_cast<size_t>(index)]; }
  QLabel* Note() const { return m_note; }
  QPushButton* HelpButton() const { return m_help; }
  QPushButton* DetailsButton() const { return m_details; }
  // The list "&Details..." opened (window-modal), null before.
  CDifferenceListDlg* DetailsDialog() const { return m_list; }

  // The background of a line that agrees or disagrees.
  static QColor AgreeColor();
  static QColor DisagreeColor();

 private:
  void Refresh();
  void ShowDetails();

  axcfg::VerifyResult m_result;
  QLineEdit* m_target;
  std::array<QLabel*, 4> m_lines{};
  QLabel* m_note;
  QPushButton* m_close;
  QPushButton* m_help;
  QPushButton* m_details;
  QString m_otherName;
  CDifferenceListDlg* m_list = nullptr;
};

}  // namespace axcfgui
