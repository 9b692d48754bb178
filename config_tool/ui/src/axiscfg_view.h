#pragma once
// CAxisCfgView: the positioning tables of the document in the grid, one
// sheet per single axis and per interpolation group, 600 lines each. Edits
// are parsed back into the rows at once; the current column's guidance id
// goes to the frame.
#include <cstdint>

#include "axcfg_data/axcfg_doc.h"
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
  // -1 rebuilds every sheet; k >= 0 with the document as hint object
  // rebuilds line k of every sheet.
  void OnUpdate(axcfg::CView* sender, long hint, void* hintObject) override;
  void RebuildSheets();

  uint32_t CurrentEntry() const { return m_entry; }
  // Select all: every cell of the current sheet; possible with a line.
  bool CanSelectAll() const;
  void SelectAll();

  // Finishes a cell edit that is still open, as Enter would, keeping the
  // cursor where it is: true when no edit was open or the value was taken,
  // false when the editor refused it and stays open.
  bool CommitPendingEdit();

  // Printing: the frame hides the parameter status bar meanwhile.
  bool IsPrinting() const { return m_printing; }
  void Print(QWidget* dialogParent);

 signals:
  // The sheet changed (the frame refreshes its panes).
  void sheetChanged();
  // The current column's guidance (text id, note id).
  void guidanceChanged(unsigned textId, unsigned noteId);
  // Printing starts (true) or ended (false).
  void printing(bool active);

 protected:
  void OnSheetChanged(int sheet) override;
  void OnCellChanged(int line, int column) override;
  void OnCursorMoved(int line, int column) override;

 private:
  void BuildColumns(int sheet, uint32_t entry);
  void FillLines(int sheet, uint32_t entry);
  void RefreshLine(int k);

  uint32_t m_entry = 0;
  bool m_printing = false;
  bool m_rebuilding = false;
};

}  // namespace axcfgui
