#pragma once
// CCellEdit: the edit control laid over a text or numeric cell while it is
// edited in place. It filters the keys of numeric cells, has its own
// clipboard commands with a one-step undo, and reports the key that ended the
// edit (Tab, Enter, Escape or an arrow) to the view, which writes the value.
#include <QLineEdit>

#include "axview/win_types.h"

class CTableView;
class CColumnProp;
class CByteLimitValidator;

class CCellEdit : public QLineEdit {
 public:
  // Action codes of the control's own one-step undo.
  enum Action { kNone = 0, kCopy = 1, kCut = 2, kPaste = 4, kClear = 8, kUndo = 64 };

  explicit CCellEdit(CTableView* view);

  // Shows the control with text for a cell of the column; startedByMouse is 1
  // for a double click or F2 (arrows then move the caret), 0 for typing.
  void Begin(const QString& text, const CColumnProp& column, int startedByMouse);
  // Hides the control without reporting anything.
  void Cancel();

  // The key that ended the edit (0 while editing goes on) and whether Shift
  // was held with it.
  int FinishingKey() const { return m_finishKey; }
  bool FinishingShift() const { return m_finishShift; }
  // Editing goes on after a refused value.
  void ClearFinishingKey() {
    m_finishKey = 0;
    m_finishShift = false;
  }
  bool IsTextMode() const { return m_textMode != 0; }
  double NumericValue() const { return m_numericValue; }

  // The control's own clipboard commands.
  void CopySelection();
  void CutSelection();
  void PasteClipboard();
  // Removes the selection; without one, the character after the caret when
  // deleteHeld is set.
  void ClearSelection(bool deleteHeld);
  void UndoLast();
  // Ends the edit as the key would: the view writes (or not) and moves.
  void Finish(int key, bool shift);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  bool NumericKey(QKeyEvent* event);
  void SaveForUndo(Action action);

  CTableView* m_view;
  CByteLimitValidator* m_byteLimit;
  QString m_textAtStart;
  BYTE m_textMode = 1;
  BYTE m_decimals = 1;
  BYTE m_digits = 7;
  double m_numericValue = 0;
  int m_finishKey = 0;
  bool m_finishShift = false;
  int m_startedByMouse = 0;
  bool m_cancelling = false;
  // One-step undo: the text and selection before the last cut, paste or clear.
  QString m_undoText;
  int m_undoStart = 0;
  int m_undoEnd = 0;
  int m_lastAction = kNone;
};
