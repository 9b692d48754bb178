#pragma once
// CCellCombo: the drop-down list laid over a choice cell while it is edited.
// Enter, Escape, Left and Right end the choice and are reported to the view;
// a choice made in the dropped list is reported at once.
#include <QComboBox>
#include <string>
#include <vector>

class CTableView;

class CCellCombo : public QComboBox {
 public:
  explicit CCellCombo(CTableView* view);

  // Fills the list with the choices, selects the one equal to text (the first
  // when none is), shows the control and gives it the focus.
  void Begin(const QString& text, const std::vector<std::string>& choices);
  void Cancel();

  int FinishingKey() const { return m_finishKey; }
  // The index selected when editing started.
  int StartIndex() const { return m_startIndex; }
  // The width of the dropped list: the widest item plus 20 pixels, at least 20.
  int DropWidth() const;
  // True while an arrow key steps through the closed list: that chooses
  // nothing yet.
  bool IsStepping() const { return m_stepping; }

  void showPopup() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  CTableView* m_view;
  int m_startIndex = -1;
  int m_finishKey = 0;
  bool m_cancelling = false;
  bool m_stepping = false;
};
