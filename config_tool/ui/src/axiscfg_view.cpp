#include "axiscfg_view.h"

#include <QApplication>
#include <QPainter>
#include <QDate>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>

#include "axcfg_data/pos_columns.h"
#include "axcfg_data/pos_row_text.h"
#include "axcfg_data/pos_sheets.h"
#include "axcfg_data/setting_file.h"
#include "axcfg_data/text_format.h"
#include "axcfg_data/axcfg_strings.h"
#include "axview/helpers.h"
#include "guidance_text.h"
#include "table_printer.h"
#include "platform/cp932.h"
#include "platform/message_box.h"
#include "ui_strings.h"

namespace axcfgui {

namespace {

constexpr unsigned kIdsTableNo = 20031;

// Joins cell texts into a line text as the grid keeps it.
std::string JoinLine(const std::vector<std::string>& cells) {
  std::string line;
  for (size_t i = 0; i < cells.size(); ++i) {
    if (i) line += '\t';
    line += cells[i];
  }
  return line + "\r\n";
}

}  // namespace

CAxisCfgView::CAxisCfgView(QWidget* parent) : CTableView(parent) {}

CAxisCfgView::~CAxisCfgView() {
  // The sheets go with the base; nobody listens to that any more.
  blockSignals(true);
  if (GetSheetCount() > 0) WriteWidthOfColumns();
  if (auto* doc = axcfg::CView::GetDocument()) doc->RemoveView(this);
}

axcfg::CAxisCfgDoc* CAxisCfgView::GetDocument() const {
  return static_cast<axcfg::CAxisCfgDoc*>(axcfg::CView::GetDocument());
}

void CAxisCfgView::InitialUpdate(bool rebuild) {
  // Cut resets cells through the document; undo and redo work on the
  // document's row history.
  SetEditFunctions(GetEditFunctions() | EDITFUNC_CUT | EDITFUNC_UNDO | EDITFUNC_REDO);
  SetWindowTextA(UiText(kIdsTableNo).c_str());
  m_printing = false;
  if (rebuild) RebuildSheets();
  if (auto* doc = GetDocument()) doc->SetModifiedFlag(false);
  MarkSaved();
  emit sheetChanged();
  OnCursorMoved(0, 0);
}

void CAxisCfgView::OnUpdate(axcfg::CView*, long hint, void* hintObject) {
  if (hint == axcfg::kHintRebuildAll) {
    if (!m_documentStep) {
      // Another document (new, open): earlier steps do not apply to it.
      m_history.Clear();
      if (GetDocument() && GetDocument()->IsModified()) m_history.ForgetSavedState();
      emit historyChanged();
    }
    RebuildSheets();
  } else if (hint >= 0 && hintObject == GetDocument()) {
    RefreshLine(static_cast<int>(hint));
    if (m_outsideStep) {
      m_outsideStep = false;
      OnChangeStepEnd();
    }
    viewport()->update();
  }
}

void CAxisCfgView::OnRowWillChange(int k) {
  const axcfg::CAxisCfgDoc* doc = GetDocument();
  if (!doc) return;
  if (!m_history.InStep()) {
    m_history.BeginStep();
    m_outsideStep = true;
  }
  m_history.NoteRow(*doc, k);
}

void CAxisCfgView::OnDocumentWillChange() {
  const axcfg::CAxisCfgDoc* doc = GetDocument();
  if (!doc) return;
  m_documentStep = true;
  m_history.BeginDocumentStep(*doc);
}

void CAxisCfgView::OnDocumentChangeEnded() {
  if (!m_documentStep) return;
  m_documentStep = false;
  m_outsideStep = false;
  OnChangeStepEnd();
}

void CAxisCfgView::OnEditCut() {
  if (GetSheetCount() == 0 || !CommitPendingEdit()) return;
  const int sheet = GetSelSheet();
  CRect sel;
  CPoint cursor;
  GetSel(sel, cursor);
  OnEditCopy();
  // Cells are reset only once their texts are safe on the clipboard.
  std::string copied;
  if (!GetClipboardText(nullptr, copied) || copied.empty()) return;
  OnChangeStepBegin();
  for (int line = sel.top; line <= sel.bottom; ++line)
    for (int column = sel.left; column <= sel.right; ++column)
      if (const CColumnProp* prop = GetColumnProp(sheet, column))
        SetCellText(sheet, line, column, prop->m_default.c_str());
  OnChangeStepEnd();
  viewport()->update();
}

void CAxisCfgView::BuildColumns(int sheet, uint32_t entry) {
  const axcfg::CParamBlock& params = GetDocument()->GetParamBlock();
  const int posDecimals = axcfg::RowPositionDecimals(params, entry);
  const int speedDecimals = axcfg::RowSpeedDecimals(params, entry);
  const axcfg::ColumnSet set = axcfg::GetColumnSet(entry);
  for (int i = 0; i < set.count; ++i) {
    const int column = set.columns[static_cast<size_t>(i)];
    CColumnProp prop;
    prop.m_title = axcfg::GetColumnTitle(column, entry);
    prop.m_data = static_cast<DWORD>(column);
    prop.m_choices = axcfg::GetColumnChoices(column, entry);
    if (!prop.m_choices.empty()) {
      prop.m_default = prop.m_choices.front();
    } else if (column == axcfg::kColComment) {
      prop.m_maxLength = 100;
    } else {
      prop.m_numeric = 1;
      if (axcfg::IsMoveColumn(column) || axcfg::IsAuxPointColumn(column)) {
        prop.m_digits = 10;
        prop.m_decimals = static_cast<BYTE>(posDecimals);
        prop.m_default = "0";
      } else if (column == axcfg::kColAxisSpeed || column == axcfg::kColInterpSpeed) {
        prop.m_digits = 10;
        prop.m_decimals = static_cast<BYTE>(speedDecimals);
        prop.m_default = "0";
      } else {
        prop.m_digits = 5;
        prop.m_decimals = 0;
        prop.m_default = (column == axcfg::kColAccelTime || column == axcfg::kColDecelTime) ? "100" : "0";
      }
    }
    InsertColumn(sheet, i, &prop);
  }
}

void CAxisCfgView::FillLines(int sheet, uint32_t entry) {
  const axcfg::CAxisCfgDoc& doc = *GetDocument();
  auto& lines = GetSheetObj(sheet)->m_lines;
  lines.reserve(axcfg::kTableRowCount);
  for (int k = 0; k < axcfg::kTableRowCount; ++k) {
    const axcfg::CPosData* row = doc.GetPosData(k);
    std::string text = row ? JoinLine(axcfg::SheetCellTexts(*row, doc.GetParamBlock(), entry)) : std::string();
    InsertLine(sheet, k, text.c_str());
  }
}

void CAxisCfgView::RebuildSheets() {
  axcfg::CAxisCfgDoc* doc = GetDocument();
  if (!doc) return;
  m_rebuilding = true;
  setUpdatesEnabled(false);
  if (GetSheetCount() > 0) WriteWidthOfColumns();
  DeleteAllSheets();
  const std::vector<uint32_t> entries = axcfg::GetSheetEntries(doc->GetLayout());
  for (size_t i = 0; i < entries.size(); ++i) {
    const int sheet = InsertSheet(static_cast<int>(i), axcfg::GetSheetName(entries[i]).c_str());
    SetSheetData(sheet, entries[i]);
    BuildColumns(sheet, entries[i]);
  }
  const int total = static_cast<int>(entries.size()) * axcfg::kTableRowCount;
  QProgressDialog progress(QString::fromStdString(UiText(kIdsUpdatingDisplay)), QString(), 0, total, this);
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(500);
  for (size_t i = 0; i < entries.size(); ++i) {
    FillLines(static_cast<int>(i), entries[i]);
    progress.setValue(static_cast<int>(i + 1) * axcfg::kTableRowCount);
  }
  m_rebuilding = false;
  setUpdatesEnabled(true);
  if (GetSheetCount() > 0) ReadWidthOfColumns();
  if (GetSheetCount() > 0) {
    SetSelSheet(0);
    OnInitialUpdate();
  }
  m_entry = GetSheetCount() > 0 ? GetSheetData(GetSelSheet()) : 0;
  RedrawWindow();
  emit sheetChanged();
}

void CAxisCfgView::RefreshLine(int k) {
  const axcfg::CAxisCfgDoc* doc = GetDocument();
  const axcfg::CPosData* row = doc ? doc->GetPosData(k) : nullptr;
  if (!row) return;
  for (int sheet = 0; sheet < GetSheetCount(); ++sheet) {
    const uint32_t entry = GetSheetData(sheet);
    SetTabbedString(sheet, k, JoinLine(axcfg::SheetCellTexts(*row, doc->GetParamBlock(), entry)).c_str());
  }
}

bool CAxisCfgView::CanSelectAll() const { return GetSheetCount() > 0 && GetLineCount(GetSelSheet()) > 0; }

void CAxisCfgView::SelectAll() {
  if (!CanSelectAll()) return;
  const int sheet = GetSelSheet();
  CRect sel;
  sel.left = 0;
  sel.top = 0;
  sel.right = GetColumnCount(sheet) - 1;
  sel.bottom = GetLineCount(sheet) - 1;
  CRect old;
  CPoint cursor;
  GetSel(old, cursor);
  SetSel(sel, cursor);
}

void CAxisCfgView::OnSheetChanged(int sheet) {
  CTableView::OnSheetChanged(sheet);
  if (m_rebuilding) return;
  m_entry = GetSheetData(GetSelSheet());
  emit sheetChanged();
}

void CAxisCfgView::OnCellChanged(int line, int /*column*/) {
  axcfg::CAxisCfgDoc* doc = GetDocument();
  if (!doc || line < 0 || line >= doc->GetRowCount()) return;
  doc->SetModifiedFlag(true);
  const uint32_t entry = GetSheetData(GetSelSheet());
  // A change outside a user action's bracket is a step of its own.
  const bool ownStep = !m_history.InStep();
  if (ownStep) m_history.BeginStep();
  m_history.NoteRow(*doc, line);
  // Row-wide fields go to every member of a group, so no other sheet needs
  // a refresh.
  doc->ParseRowText(entry, line, GetTabbedString(GetSelSheet(), line));
  if (ownStep) OnChangeStepEnd();
}

bool CAxisCfgView::AcceptEnteredText(const std::string& text, bool tellUser) {
  const std::string bad = platform::FirstCharNotInCp932(text);
  if (bad.empty()) return true;
  if (tellUser)
    axcfg::AxisCfgMessageBox(UiFormat(kIdsCharNotStorable, bad), platform::MB_OK | platform::MB_ICONEXCLAMATION);
  return false;
}

void CAxisCfgView::OnChangeStepBegin() { m_history.BeginStep(); }

void CAxisCfgView::OnChangeStepEnd() {
  if (const axcfg::CAxisCfgDoc* doc = GetDocument()) {
    if (m_history.EndStep(*doc)) emit historyChanged();
  }
}

std::string CAxisCfgView::DocumentImage() const {
  std::string image;
  if (const axcfg::CAxisCfgDoc* doc = GetDocument()) axcfg::BuildSettingFile(*doc, axcfg::kAllSections, image);
  return image;
}

void CAxisCfgView::MarkSaved() {
  m_history.MarkSaved();
  m_savedImage = DocumentImage();
}

BOOL CAxisCfgView::OnUpdateEditUndo() const { return m_history.CanUndo() ? 1 : 0; }
BOOL CAxisCfgView::OnUpdateEditRedo() const { return m_history.CanRedo() ? 1 : 0; }

void CAxisCfgView::OnEditUndo() {
  axcfg::CAxisCfgDoc* doc = GetDocument();
  if (!doc || !CommitPendingEdit()) return;
  ShowRestored(m_history.Undo(*doc));
}

void CAxisCfgView::OnEditRedo() {
  axcfg::CAxisCfgDoc* doc = GetDocument();
  if (!doc || !CommitPendingEdit()) return;
  ShowRestored(m_history.Redo(*doc));
}

void CAxisCfgView::ShowRestored(const axcfg::CEditHistory::Restored& restored) {
  axcfg::CAxisCfgDoc* doc = GetDocument();
  if (restored.Empty() || !doc) return;
  // Back at the saved step, the document is unchanged only when nothing
  // outside the history changed meanwhile either.
  doc->SetModifiedFlag(!(m_history.IsAtSavedState() && DocumentImage() == m_savedImage));
  if (restored.wholeDocument) {
    RebuildSheets();
  } else {
    for (int k : restored.rows) RefreshLine(k);
    CRect sel;
    CPoint cursor;
    GetSel(sel, cursor);
    EnsureVisible(restored.rows.front(), cursor.x);
    viewport()->update();
  }
  emit historyChanged();
}

void CAxisCfgView::OnCursorMoved(int /*line*/, int column) {
  if (m_rebuilding || GetSheetCount() == 0) return;
  m_entry = GetSheetData(GetSelSheet());
  const int number = GetColumnData(GetSelSheet(), column);
  const unsigned id = GuidanceIdOfColumn(number, m_entry);
  if (id) emit guidanceChanged(id, 0);
}

bool CAxisCfgView::PrintSheet(QPagedPaintDevice& device) {
  const int sheet = GetSelSheet();
  if (GetSheetCount() == 0 || sheet < 0) return false;
  axcfgui::PrintSheet data;
  const axcfg::CAxisCfgDoc* doc = GetDocument();
  data.fileName = QString::fromStdString(doc ? doc->GetPropertyFileName() : std::string());
  data.sheetName = QString::fromStdString(GetSheetName(sheet));
  data.lineTitle = QString::fromStdString(GetViewTitle());
  const int columns = GetColumnCount(sheet);
  for (int c = 0; c < columns; ++c) {
    const CColumnProp* prop = GetColumnProp(sheet, c);
    data.titles << QString::fromStdString(prop->m_title);
    data.numeric.push_back(prop->IsNumeric());
  }
  const int lines = GetLineCount(sheet);
  data.lines.reserve(static_cast<size_t>(lines));
  for (int line = 0; line < lines; ++line) {
    QStringList cells;
    for (int c = 0; c < columns; ++c) cells << QString::fromStdString(GetCellText(sheet, line, c));
    data.lines.push_back(cells);
  }
  CTablePrinter printer(std::move(data));
  QFont font = *GetFont();
  font.setPointSizeF(std::max(6.0, std::min(9.0, font.pointSizeF())));
  return printer.Print(device, font, QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd")),
                       QString::fromStdString(UiText(kIdsPageOfPages)));
}

void CAxisCfgView::Print(QWidget* dialogParent) {
  if (GetSheetCount() == 0) return;
  QPrinter printer;
  QPrintDialog dialog(&printer, dialogParent);
  if (dialog.exec() != QDialog::Accepted) return;
  m_printing = true;
  emit printing(true);
  PrintSheet(printer);
  m_printing = false;
  emit printing(false);
}

void CAxisCfgView::PrintPreview(QWidget* dialogParent) {
  if (GetSheetCount() == 0) return;
  QPrinter printer;
  QPrintPreviewDialog dialog(&printer, dialogParent);
  dialog.resize(1000, 760);
  connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* target) { PrintSheet(*target); });
  m_printing = true;
  emit printing(true);
  dialog.exec();
  m_printing = false;
  emit printing(false);
}

}  // namespace axcfgui
