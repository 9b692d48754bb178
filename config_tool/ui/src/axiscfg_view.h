#pragma once
// CAxisCfgView: the positioning tables of the document in the grid, one
// sheet per single axis and per interpolation group, 600 lines each. Edits
// are parsed back into the rows at once; the current column's guidance id
// goes to the frame.
#include <cstdint>

class QPagedPaintDevice;

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/edit_history.h"
#include "axview/table_view.h"

namespace axcfgui {

class CAxisCfgView : public CTableView, public axcfg::CView {
  Q_OBJECT

 public:
  explicit CAxisCfgView(QWidget* parent = nullptr);
  ~CAxisCfgView() override;

  axcfg::CAxisCfgDoc* GetDocument() const;

  // Called once the document is attached; with rebuild the sheets are
  // built from the document at once.
  void InitialUpdate(bool rebuild);
  // -1 rebuilds every sheet (and, outside a whole-document change, forgets
  // the history: a document was opened or created); k >= 0 with the
  // document as hint object rebuilds line k of every sheet.
  void OnUpdate(axcfg::CView* sender, long hint, void* hintObject) override;
  // Row k is about to be replaced from outside the grid (teaching): the
  // replacement becomes an undo step of its own, closed by the update hint
  // of the row.
  void OnRowWillChange(int k) override;
  // An upload, a change of axes or new parameters: one undo step, closed
  // when the change ends.
  void OnDocumentWillChange() override;
  void OnDocumentChangeEnded() override;
  void RebuildSheets();

  uint32_t CurrentEntry() const { return m_entry; }
  // Select all: every cell of the current sheet; possible with a line.
  bool CanSelectAll() const;
  void SelectAll();

  // Undo and Redo of the changes made in the grid, one user action a step.
  // Returning to the saved state clears the modified flag again.
  // Cut: the block goes to the clipboard, then its cells take their
  // columns' reset values through the document, as one undoable step.
  void OnEditCut() override;
  void OnEditUndo() override;
  void OnEditRedo() override;
  BOOL OnUpdateEditUndo() const override;
  BOOL OnUpdateEditRedo() const override;
  // The document was saved, opened or created: its present state is the
  // saved one.
  void MarkSaved();

  // Printing: the frame hides the parameter status bar meanwhile.
  bool IsPrinting() const { return m_printing; }
  void Print(QWidget* dialogParent);
  void PrintPreview(QWidget* dialogParent);
  // Prints the sheet shown on a device (a printer, a PDF file).
  bool PrintSheet(QPagedPaintDevice& device);

 signals:
  // The sheet changed (the frame refreshes its panes).
  void sheetChanged();
  // The current column's guidance (text id, note id).
  void guidanceChanged(unsigned textId, unsigned noteId);
  // Printing starts (true) or ended (false).
  void printing(bool active);
  // Undo or Redo became possible or impossible.
  void historyChanged();

 protected:
  void OnSheetChanged(int sheet) override;
  void OnCellChanged(int line, int column) override;
  void OnCursorMoved(int line, int column) override;
  // Texts go to the setting file in code page 932: a character it cannot
  // hold is refused where it is typed, pasted or given as replacement.
  bool AcceptEnteredText(const std::string& text, bool tellUser) override;
  void OnChangeStepBegin() override;
  void OnChangeStepEnd() override;

 private:
  void BuildColumns(int sheet, uint32_t entry);
  void FillLines(int sheet, uint32_t entry);
  void RefreshLine(int k);
  // Shows what an undo or redo put back and sets the modified flag.
  void ShowRestored(const axcfg::CEditHistory::Restored& restored);
  std::string DocumentImage() const;

  uint32_t m_entry = 0;
  bool m_printing = false;
  bool m_rebuilding = false;
  bool m_outsideStep = false;   // a step opened by OnRowWillChange
  bool m_documentStep = false;  // inside OnDocumentWillChange .. OnDocumentChangeEnded
  axcfg::CEditHistory m_history;
  std::string m_savedImage;  // the document's file bytes when last saved
};

}  // namespace axcfgui
