#include "param_edit_grid.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <algorithm>

#include "axcfg_data/axcfg_strings.h"
#include "platform/message_box.h"

namespace axcfgui {

namespace {
constexpr int kTextMargin = 14;
// The model's cell styles and editor kinds are the grid's.
constexpr bool SameBits(unsigned a, unsigned b) { return a == b; }
static_assert(SameBits(axcfg::kCellLeft, CParamGrid::kAlignLeft) &&
              SameBits(axcfg::kCellRight, CParamGrid::kAlignRight) &&
              SameBits(axcfg::kCellMiddle, CParamGrid::kAlignMiddle) &&
              SameBits(axcfg::kCellGrey, CParamGrid::kTextGrey) && SameBits(axcfg::kCellRed, CParamGrid::kTextRed));
static_assert(axcfg::kEditList == CParamGrid::kEditList && axcfg::kEditNone == CParamGrid::kEditNone);
}  // namespace

CParamEditGrid::CParamEditGrid(axcfg::CParamEditModel& model, QWidget* parent) : CParamGrid(parent), m_model(model) {
  setObjectName(QStringLiteral("ParamGrid"));
  Reload();
}

void CParamEditGrid::Reload() {
  const QFontMetrics fm(font());
  int header = 0;
  for (int row = 0; row < m_model.RowCount(); ++row)
    header = std::max(header, fm.horizontalAdvance(QString::fromStdString(m_model.RowTitle(row))));
  SetHeaderWidth(header + kTextMargin);
  // Each column as wide as its widest text, the longest choice included.
  std::vector<int> widths;
  for (int column = 0; column < m_model.ColumnCount(); ++column) {
    int w = fm.horizontalAdvance(QString::fromStdString(m_model.ColumnTitle(column)));
    for (int row = 0; row < m_model.RowCount(); ++row) {
      w = std::max(w, fm.horizontalAdvance(QString::fromStdString(m_model.Cell(column, row).text)));
      for (const std::string& choice : m_model.Choices(column, row))
        w = std::max(w, fm.horizontalAdvance(QString::fromStdString(choice)));
    }
    widths.push_back(std::max(DefaultColumnWidth(), w + kTextMargin + 20));
  }
  SetRowCount(m_model.RowCount());
  SetColumnCount(m_model.ColumnCount(), widths);
}

int CParamEditGrid::CommitEdit() {
  if (!IsEditing()) return 1;
  return EndCellEdit(Qt::Key_Return, false, 0);
}

void CParamEditGrid::RedrawColumns(const std::vector<int>& columns) {
  for (int column : columns) RedrawColumn(column);
}

void CParamEditGrid::GetColumnTitle(int column, QString& text) {
  text = QString::fromStdString(m_model.ColumnTitle(column));
}

void CParamEditGrid::GetRowTitle(int row, QString& text) { text = QString::fromStdString(m_model.RowTitle(row)); }

unsigned CParamEditGrid::GetCellText(int column, int row, QString& text) {
  const axcfg::ParamCell cell = m_model.Cell(column, row);
  text = QString::fromStdString(cell.text);
  return cell.style;
}

int CParamEditGrid::GetCellEditKind(int column, int row) { return m_model.EditKind(column, row); }

bool CParamEditGrid::PrepareCellEditor(QWidget* editor, int column, int row) {
  if (auto* combo = qobject_cast<QComboBox*>(editor)) {
    for (const std::string& choice : m_model.Choices(column, row)) combo->addItem(QString::fromStdString(choice));
    combo->setMaxVisibleItems(std::max(1, combo->count()));
    // A stored value without choice text opens with nothing selected.
    combo->setCurrentIndex(m_model.CurrentChoice(column, row));
    return combo->count() > 0;
  }
  if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
    edit->setMaxLength(std::max(1, m_model.EditLength(column, row)));
    edit->setText(QString::fromStdString(m_model.EditText(column, row)));
    return true;
  }
  return false;
}

int CParamEditGrid::EndCellEdit(int key, bool final, int move) {
  QWidget* editor = Editor();
  if (!editor) return 1;
  if (key == Qt::Key_Escape || final) return FinishEdit(key, final, move);
  const int column = CurrentColumn();
  const int row = CurrentRow();
  auto* combo = qobject_cast<QComboBox*>(editor);
  auto* edit = qobject_cast<QLineEdit*>(editor);
  const axcfg::ParamEditResult result =
      combo ? m_model.CommitChoice(column, row, combo->currentIndex())
            : m_model.CommitText(column, row, edit ? edit->text().toStdString() : std::string());
  if (!result.Accepted()) {
    axcfg::AxisCfgMessageBox(result.message, platform::MB_OK | platform::MB_ICONEXCLAMATION);
    // The entry stays for correction; a refused choice shows the kept value.
    if (Editor() == editor) {
      editor->setFocus(Qt::OtherFocusReason);
      if (edit) edit->selectAll();
      if (combo) combo->setCurrentIndex(m_model.CurrentChoice(column, row));
    }
    return -1;
  }
  RedrawColumns(result.redrawColumns);
  FinishEdit(key, final, move);
  emit cellCommitted();
  return 0;
}

}  // namespace axcfgui
