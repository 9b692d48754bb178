#pragma once
// The in-place edit control laid over a cell. Tab, Enter and (when editing
// was started by typing) the arrow keys finish it and write the text; Escape
// and a loss of focus end it without writing.
#include <QLineEdit>

class CTableView;

class CCellEdit : public QLineEdit {
 public:
  explicit CCellEdit(CTableView* view);

  void Begin(int line, int column, const QString& text, bool numeric, int maxLength, bool startedByMouse);
  // Hides the control without writing.
  void Cancel();
  bool IsEditing() const { return isVisible(); }
  int Line() const { return m_line; }
  int Column() const { return m_column; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  CTableView* m_view;
  QString m_textAtStart;
  int m_line = -1;
  int m_column = -1;
  bool m_startedByMouse = false;
  bool m_finishing = false;
  friend class CTableView;
};
