// CTableView: construction, what is shown following the data, layout,
// geometry and fonts.
#include "axview/table_view.h"

#include <QResizeEvent>
#include <QScrollBar>

#include "axview/helpers.h"
#include "cell_combo.h"
#include "cell_edit.h"
#include "cell_text_painter.h"
#include "column_header.h"
#include "font_size_dialog.h"
#include "library_strings.h"
#include "line_header.h"
#include "log_font.h"
#include "sheet_tab_bar.h"

CTableView::CTableView(QWidget* parent) : QAbstractScrollArea(parent) {
  axview::RegisterLibraryStrings();
  setFrameShape(QFrame::NoFrame);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setFocusPolicy(Qt::StrongFocus);
  // Every pixel of the viewport is painted: no background erase, no flicker.
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setAutoFillBackground(false);

  LOGFONT font;
  int size = 90;
  std::string path;
  if (CanOpenRegistory(path) && ReadLogFont(&font, size)) {
    m_lineHeight = size / 5;
  } else {
    m_lineHeight = GetSystemLogFont(&font) + 2;
    size = 90;
  }
  m_logFont = font;
  m_fontSize = size;
  m_font = axview::QFontFromLogFont(font, size);
  m_smallFont = axview::QFontFromLogFont(font, 90);
  m_textPainter = std::make_unique<axview::CellTextPainter>(m_font);

  m_columnHeader = std::make_unique<CColumnHeaderWnd>(this);
  m_lineHeader = std::make_unique<CLineHeaderWnd>(this);
  m_tabBar = std::make_unique<CSheetTabBar>(this);
  m_cellEdit = std::make_unique<CCellEdit>(this);
  m_cellEdit->setFont(m_font);
  m_cellCombo = std::make_unique<CCellCombo>(this);
  verticalScrollBar()->setSingleStep(1);
  horizontalScrollBar()->setSingleStep(16);
  OnSize();
}

CTableView::~CTableView() {
  WriteLogFont(m_logFont, m_fontSize);
  m_cellEdit.reset();
  m_cellCombo.reset();
}

void CTableView::OnInitialUpdate() {
  if (!GetSheetObj(0)) return;
  CSwitchResource libraryResources;
  libraryResources.Switch(KELDExGetLanguage());
  ReadWidthOfColumns();
  OnSheetChanged(0);
}

void CTableView::SetWindowTextA(const char* text) {
  m_title = text ? text : "";
  setWindowTitle(QString::fromStdString(m_title));
  OnSize();
  m_lineHeader->update();
}

// ---- What is shown follows the data ------------------------------------------

void CTableView::SheetInserted(int index, const std::string& name) { m_tabBar->InsertTab(index, name); }

void CTableView::SheetRemoved(int index) {
  m_tabBar->RemoveTab(index);
  OnSize();
}

void CTableView::SheetsCleared() {
  m_tabBar->Clear();
  OnSize();
}

void CTableView::SheetShown() {
  HideCellEdit();
  if (CSheetObj* sheet = CurrentSheet()) {
    LayoutColumns(*sheet);
    m_tabBar->SetCurSel(m_currentSheet);
  }
  OnSize();
}

void CTableView::ColumnsChanged(int) {
  if (CSheetObj* sheet = CurrentSheet()) LayoutColumns(*sheet);
  OnSize();
}

void CTableView::LinesChanged(int) { OnSize(); }

void CTableView::SelectionChanged(const CRect& oldSelection, const CPoint& oldCursor) {
  CSheetObj* sheet = CurrentSheet();
  const int top = sheet->m_topLine, hs = sheet->m_hScroll;
  EnsureVisible(sheet->m_cursor.y, sheet->m_cursor.x);
  if (top != sheet->m_topLine || hs != sheet->m_hScroll) return;  // scrolled: all repainted
  // Only the old and the new selection change on the screen.
  QRegion changed = SelectionRegion(oldSelection, oldCursor) | SelectionRegion(sheet->m_selection, sheet->m_cursor);
  viewport()->update(changed.boundingRect().adjusted(-1, -1, 1, 1) & DataArea());
}

void CTableView::SelectTab(int index) {
  m_tabBar->SetCurSel(index);
  OnTabSheetSelchange();
}

void CTableView::OnTabSheetSelchange() {
  const int index = m_tabBar->CurSel();
  OnSheetChanged(index);
  emit sheetTabChanged(index);
}

// ---- Layout ------------------------------------------------------------------

namespace {
constexpr int kTitleMargin = 14;
}  // namespace

void CTableView::LayoutColumns(CSheetObj& sheet) {
  QFontMetrics fm(m_font);
  int x = 0;
  for (auto& column : sheet.m_columns) {
    int width = column->m_extent.Width();
    if (width <= 0) {
      // Laid out for the first time: as wide as its title with the header's
      // insets (6 pixels each side) and the divider, so the title shows whole.
      width = fm.horizontalAdvance(QString::fromStdString(column->m_title)) + kTitleMargin;
      // A choice column shows its longest choice whole as well.
      for (const std::string& choice : column->m_choices)
        width = std::max(width, fm.horizontalAdvance(QString::fromStdString(choice)) + kTitleMargin);
      column->m_standardWidth = width;
    }
    column->m_extent = CRect(x, 0, x + width, m_lineHeight);
    x += width;
  }
}

QRect CTableView::DataArea() const {
  const int h = m_lineHeight, w = GetLineHeaderWidth();
  return QRect(w, h, std::max(0, viewport()->width() - w), std::max(0, viewport()->height() - 10 - 2 * h));
}

int CTableView::GetPageLines() const { return std::max(0, (viewport()->height() - 10 - 2 * m_lineHeight) / m_lineHeight); }

int CTableView::GetTopLine() const {
  const CSheetObj* sheet = CurrentSheet();
  return sheet ? sheet->m_topLine : 0;
}

int CTableView::GetHScrollPos() const {
  const CSheetObj* sheet = CurrentSheet();
  return sheet ? sheet->m_hScroll : 0;
}

namespace {
int ColumnsRight(const CSheetObj& sheet) {
  int right = 0;
  for (const auto& c : sheet.m_columns)
    if (c->m_extent.Width() > 0) right = std::max(right, c->m_extent.right);
  return right;
}
}  // namespace

void CTableView::OnSize() {
  HideCellEdit();
  const int h = m_lineHeight, w = GetLineHeaderWidth();
  const int cw = viewport()->width(), ch = viewport()->height();
  if (CSheetObj* sheet = CurrentSheet()) {
    const int page = GetPageLines(), lines = static_cast<int>(sheet->m_lines.size());
    if (sheet->m_topLine + page > lines) sheet->m_topLine = std::max(0, lines - page);
    sheet->m_topLine = std::max(0, sheet->m_topLine);
    const int total = ColumnsRight(*sheet), pageWidth = std::max(0, cw - w);
    sheet->m_hScroll = std::clamp(sheet->m_hScroll, 0, std::max(0, total - pageWidth));
  }
  UpdateScrollBars();
  m_lineHeader->setGeometry(0, 0, w, std::max(0, ch - 10 - h));
  m_columnHeader->setGeometry(w, 0, std::max(0, cw - w), h);
  m_tabBar->setGeometry(0, ch - 10 - h, std::max(0, cw), 10 + h);
  viewport()->update();
  m_lineHeader->update();
  m_columnHeader->update();
  m_tabBar->update();
}

void CTableView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  OnSize();
}

void CTableView::UpdateScrollBars() {
  m_syncingBars = true;
  const CSheetObj* sheet = CurrentSheet();
  const int page = GetPageLines();
  const int lines = sheet ? static_cast<int>(sheet->m_lines.size()) : 0;
  QScrollBar* vertical = verticalScrollBar();
  vertical->setRange(0, std::max(0, lines - page));
  vertical->setPageStep(std::max(1, page));
  vertical->setValue(sheet ? sheet->m_topLine : 0);
  vertical->setEnabled(lines > page);
  const int pageWidth = std::max(0, viewport()->width() - GetLineHeaderWidth());
  const int total = sheet ? ColumnsRight(*sheet) : 0;
  QScrollBar* horizontal = horizontalScrollBar();
  horizontal->setRange(0, std::max(0, total - pageWidth));
  horizontal->setPageStep(std::max(1, pageWidth));
  horizontal->setValue(sheet ? sheet->m_hScroll : 0);
  horizontal->setEnabled(total > pageWidth);
  m_syncingBars = false;
}

void CTableView::scrollContentsBy(int, int) {
  if (m_syncingBars) return;
  CSheetObj* sheet = CurrentSheet();
  if (!sheet) return;
  HideCellEdit();
  const int top = verticalScrollBar()->value(), hs = horizontalScrollBar()->value();
  if (top != sheet->m_topLine) {
    sheet->m_topLine = top;
    m_lineHeader->update();
  }
  if (hs != sheet->m_hScroll) {
    sheet->m_hScroll = hs;
    m_columnHeader->update();
  }
  viewport()->update();
}

void CTableView::ScrollToTop(int top) {
  CSheetObj* sheet = CurrentSheet();
  if (!sheet) return;
  const int lines = static_cast<int>(sheet->m_lines.size());
  top = std::clamp(top, 0, std::max(0, lines - GetPageLines()));
  if (top == sheet->m_topLine) return;
  HideCellEdit();
  sheet->m_topLine = top;
  UpdateScrollBars();
  viewport()->update();
  m_lineHeader->update();
}

void CTableView::ScrollToX(int x) {
  CSheetObj* sheet = CurrentSheet();
  if (!sheet) return;
  const int pageWidth = std::max(0, viewport()->width() - GetLineHeaderWidth());
  x = std::clamp(x, 0, std::max(0, ColumnsRight(*sheet) - pageWidth));
  if (x == sheet->m_hScroll) return;
  HideCellEdit();
  sheet->m_hScroll = x;
  UpdateScrollBars();
  viewport()->update();
  m_columnHeader->update();
}

BOOL CTableView::RedrawWindow() {
  viewport()->update();
  OnSize();
  return 1;
}

// ---- Geometry ----------------------------------------------------------------

int CTableView::GetLineHeaderWidth() const {
  if (!m_lineHeader || m_title.empty()) return 60;
  QFontMetrics fm(m_font);
  return std::max(60, fm.horizontalAdvance(QString::fromStdString(m_title)) + 2 * m_lineHeight + 1);
}

CRect CTableView::GetCellRect(int line, int column) const {
  const CSheetObj* sheet = CurrentSheet();
  if (!sheet || line < 0 || column < 0 || line >= static_cast<int>(sheet->m_lines.size()) ||
      column >= static_cast<int>(sheet->m_columns.size()))
    return CRect();
  const CRect& e = sheet->m_columns[column]->m_extent;
  if (e.Width() <= 0) return CRect();
  const int dx = GetLineHeaderWidth() - sheet->m_hScroll;
  const int y = (line - sheet->m_topLine + 1) * m_lineHeight;
  return CRect(e.left + dx, y, e.right + dx, y + m_lineHeight);
}

BOOL CTableView::PointToCellPos(CPoint point, int& line, int& column) const {
  line = column = -1;
  const CSheetObj* sheet = CurrentSheet();
  // Points over the headers or the tab bar are on no cell.
  if (!sheet || !DataArea().contains(point.x, point.y)) return 0;
  const int l = point.y / m_lineHeight + sheet->m_topLine - 1;
  if (l < 0 || l >= static_cast<int>(sheet->m_lines.size())) return 0;
  const int x = point.x + sheet->m_hScroll, w = GetLineHeaderWidth();
  for (const auto& c : sheet->m_columns) {
    const CRect& e = c->m_extent;
    if (e.Width() > 0 && e.left + w <= x && x < e.right + w) {
      line = l;
      column = c->m_index;
      return 1;
    }
  }
  return 0;
}

void CTableView::EnsureVisible(int line, int column) {
  CSheetObj* sheet = CurrentSheet();
  if (!sheet || line < 0 || column < 0 || line >= static_cast<int>(sheet->m_lines.size()) ||
      column >= static_cast<int>(sheet->m_columns.size()))
    return;
  const int page = std::max(1, GetPageLines());
  if (line < sheet->m_topLine) ScrollToTop(line);
  else if (line > sheet->m_topLine + page - 1) ScrollToTop(line - page + 1);
  const CRect& e = sheet->m_columns[column]->m_extent;
  if (e.Width() <= 0) return;
  const int w = GetLineHeaderWidth(), cw = viewport()->width();
  const int left = e.left - sheet->m_hScroll + w, right = e.right - sheet->m_hScroll + w;
  if (left < w) ScrollToX(e.left);
  else if (right > cw) ScrollToX(std::min(e.left, e.right - (cw - w)));
}

int CTableView::GetFirstVisibleTab() const { return m_tabBar->FirstVisible(); }

QWidget* CTableView::GetActiveCellEditor() const {
  if (m_cellEdit && m_cellEdit->isVisible()) return m_cellEdit.get();
  if (m_cellCombo && m_cellCombo->isVisible()) return m_cellCombo.get();
  return nullptr;
}

// ---- Fonts -------------------------------------------------------------------

void CTableView::ChangeDrawingElements() {
  // The dialog offers only the sizes the grid draws, 8 through 14 points.
  axview::CFontSizeDialog dialog(m_font, this);
  if (dialog.exec() != QDialog::Accepted) return;
  const QFont chosen = dialog.SelectedFont();
  const int size = std::clamp(chosen.pointSize() * 10, 80, 140);
  // Widths are kept per font size: those of the old size are stored, and
  // the new size takes its own, or lays the columns out by their texts.
  WriteWidthOfColumns();
  SetDrawingFont(axview::LogFontFromQFont(chosen), size);
  for (int s = 0; s < GetSheetCount(); ++s)
    for (auto& column : GetSheetObj(s)->m_columns) column->m_extent = CRect();
  ReadWidthOfColumns();
  if (CSheetObj* sheet = CurrentSheet()) LayoutColumns(*sheet);
  RedrawWindow();
}

void CTableView::SetDrawingFont(const LOGFONT& font, int sizeTenths) {
  if (sizeTenths < 10) sizeTenths = 90;
  m_logFont = font;
  m_fontSize = sizeTenths;
  m_font = axview::QFontFromLogFont(font, sizeTenths);
  m_smallFont = axview::QFontFromLogFont(font, 90);
  m_lineHeight = std::max(1, sizeTenths / 5);
  m_textPainter = std::make_unique<axview::CellTextPainter>(m_font);
  m_tabBar->FontChanged();
  m_cellEdit->setFont(m_font);
  if (CSheetObj* sheet = CurrentSheet()) LayoutColumns(*sheet);
  WriteLogFont(m_logFont, m_fontSize);
  RedrawWindow();
}

void CTableView::GetLogFont(LOGFONT* font, int& size) const {
  if (font) *font = m_logFont;
  size = m_fontSize;
}
