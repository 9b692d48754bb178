#include "find_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>
#include <climits>

#include "axview/helpers.h"
#include "axview/table_view.h"
#include "library_strings.h"
#include "numeric_entry.h"
#include "platform/message_box.h"

namespace {

// The find and replace fields of a numeric column take numbers only.
class NumberValidator : public QValidator {
 public:
  NumberValidator(axview::NumberRules rules, QObject* parent) : QValidator(parent), m_rules(rules) {}
  State validate(QString& input, int&) const override {
    const std::string text = input.toStdString();
    // As typed into a numeric cell: no more decimals than the column has.
    const size_t point = text.find('.');
    if (point != std::string::npos && static_cast<int>(text.size() - point - 1) > m_rules.decimals) return Invalid;
    return axview::IsValidNumberText(text, m_rules) ? Acceptable : Invalid;
  }

 private:
  axview::NumberRules m_rules;
};

QString Text(unsigned id) {
  std::string s;
  GetKELDExDLLString(id, s);
  return QString::fromStdString(s);
}

constexpr int kAllColumns = INT_MIN;

}  // namespace

CFindDialog::CFindDialog(CTableView* view, bool replaceMode, std::vector<std::string> findHistory,
                         std::vector<std::string> replaceHistory)
    : QDialog(view), m_findHistory(std::move(findHistory)), m_replaceHistory(std::move(replaceHistory)), m_view(view) {
  setObjectName(QStringLiteral("CFindDialog"));
  const int sheet = view->GetSelSheet();
  CRect sel;
  CPoint cursor;
  view->GetSel(sel, cursor);
  m_area = sel;
  m_area.NormalizeRect();
  m_position = cursor;
  m_lineCount = view->GetLineCount(sheet);
  m_columnCount = view->GetColumnCount(sheet);
  m_findText = view->GetCellText(sheet, cursor.y, cursor.x);

  CColumnProp all;
  all.m_title = Text(axview::IDS_ALL_COLUMNS).toStdString();
  all.m_index = kAllColumns;
  m_columns.push_back(all);
  for (int c = 0; c < m_columnCount; ++c) m_columns.push_back(*view->GetColumnProp(sheet, c));

  auto* grid = new QGridLayout(this);
  m_findCombo = new QComboBox(this);
  m_findCombo->setEditable(true);
  m_findCombo->setObjectName(QStringLiteral("findWhat"));
  m_replaceCombo = new QComboBox(this);
  m_replaceCombo->setEditable(true);
  m_replaceCombo->setObjectName(QStringLiteral("replaceWith"));
  // What the user types is what is searched: the histories are offered in
  // the drop-down lists only, never completed into the field, and the
  // dialog keeps the lists itself.
  for (QComboBox* combo : {m_findCombo, m_replaceCombo}) {
    combo->setCompleter(nullptr);
    combo->setInsertPolicy(QComboBox::NoInsert);
  }
  m_columnList = new QComboBox(this);
  m_columnList->setObjectName(QStringLiteral("column"));
  m_matchCaseBox = new QCheckBox(Text(axview::IDS_DLG_MATCH_CASE), this);
  m_entireBox = new QCheckBox(Text(axview::IDS_DLG_ENTIRE_CELLS), this);
  m_findNextButton = new QPushButton(Text(axview::IDS_DLG_FIND_NEXT), this);
  m_findNextButton->setDefault(true);
  auto* close = new QPushButton(Text(axview::IDS_DLG_CLOSE), this);
  m_replaceButton = new QPushButton(Text(axview::IDS_DLG_REPLACE), this);
  m_replaceAllButton = new QPushButton(Text(axview::IDS_DLG_REPLACE_ALL), this);
  m_replaceLabel = new QLabel(Text(axview::IDS_DLG_REPLACE_WITH), this);
  m_replaceLabel->setBuddy(m_replaceCombo);
  auto* findLabel = new QLabel(Text(axview::IDS_DLG_FIND_WHAT), this);
  findLabel->setBuddy(m_findCombo);
  auto* columnLabel = new QLabel(Text(axview::IDS_DLG_COLUMN), this);
  columnLabel->setBuddy(m_columnList);
  grid->addWidget(findLabel, 0, 0);
  grid->addWidget(m_findCombo, 0, 1);
  grid->addWidget(m_replaceLabel, 1, 0);
  grid->addWidget(m_replaceCombo, 1, 1);
  grid->addWidget(columnLabel, 2, 0);
  grid->addWidget(m_columnList, 2, 1);
  grid->addWidget(m_matchCaseBox, 3, 0, 1, 2);
  grid->addWidget(m_entireBox, 4, 0, 1, 2);
  grid->addWidget(m_findNextButton, 0, 2);
  grid->addWidget(close, 1, 2);
  grid->addWidget(m_replaceButton, 2, 2);
  grid->addWidget(m_replaceAllButton, 3, 2);

  for (const auto& h : m_findHistory) m_findCombo->addItem(QString::fromStdString(h));
  for (const auto& h : m_replaceHistory) m_replaceCombo->addItem(QString::fromStdString(h));
  m_findCombo->setEditText(QString::fromStdString(m_findText));
  m_replaceCombo->setEditText(QString());
  int chosen = 0;
  for (size_t i = 0; i < m_columns.size(); ++i) {
    m_columnList->addItem(QString::fromStdString(m_columns[i].m_title));
    if (m_columns[i].m_index == cursor.x) chosen = static_cast<int>(i);
  }
  m_columnList->setCurrentIndex(chosen);
  m_columnIndex = chosen;
  ApplyColumnFilters();
  // A single cell searches from there to the end of the sheet.
  if (m_area.left == m_area.right && m_area.top == m_area.bottom) m_area.bottom = m_lineCount - 1;
  SetMode(replaceMode);

  connect(m_findNextButton, &QPushButton::clicked, this, &CFindDialog::OnButtonFindNext);
  connect(m_replaceButton, &QPushButton::clicked, this, &CFindDialog::OnButtonFindReplace);
  connect(m_replaceAllButton, &QPushButton::clicked, this, &CFindDialog::OnButtonFindReplaceAll);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  connect(m_columnList, QOverload<int>::of(&QComboBox::activated), this, &CFindDialog::OnColumnChosen);
}

CFindDialog::~CFindDialog() = default;

void CFindDialog::SetMode(bool replace) {
  m_mode = replace ? 0 : 1;
  setWindowTitle(Text(replace ? axview::IDS_REPLACE : axview::IDS_FIND));
  m_replaceLabel->setVisible(replace);
  m_replaceCombo->setVisible(replace);
  m_replaceAllButton->setVisible(replace);
}

void CFindDialog::ApplyColumnFilters() {
  const CColumnProp& column = m_columns[static_cast<size_t>(m_columnIndex)];
  const bool numeric = m_columnIndex > 0 && column.IsNumeric();
  m_matchCaseBox->setEnabled(!numeric);
  for (QComboBox* combo : {m_findCombo, m_replaceCombo}) {
    QLineEdit* edit = combo->lineEdit();
    delete edit->validator();
    edit->setValidator(numeric ? new NumberValidator(axview::NumberRules{column.m_digits, column.m_decimals}, edit)
                               : nullptr);
    edit->setMaxLength(!numeric && column.m_maxLength > 0 ? column.m_maxLength : 32767);
  }
}

void CFindDialog::OnColumnChosen(int index) {
  if (index < 0 || index >= static_cast<int>(m_columns.size())) return;
  m_columnIndex = index;
  if (m_columnList->currentIndex() != index) m_columnList->setCurrentIndex(index);
  if (index == 0) {
    m_area.left = 0;
    m_area.right = m_columnCount - 1;
  } else {
    const int column = m_columns[static_cast<size_t>(index)].m_index;
    m_area.left = m_area.right = column;
    m_view->OnFindColumnChosen(column);
    m_position.x = column;
    m_findText = m_view->GetCellText(m_view->GetSelSheet(), m_position.y, column);
    m_findCombo->setEditText(QString::fromStdString(m_findText));
  }
  ApplyColumnFilters();
}

void CFindDialog::ReadControls() {
  m_findText = m_findCombo->currentText().toStdString();
  m_replaceText = m_replaceCombo->currentText().toStdString();
  m_matchCase = m_matchCaseBox->isEnabled() && m_matchCaseBox->isChecked() ? 1 : 0;
  m_entireCells = m_entireBox->isChecked() ? 1 : 0;
  m_columnIndex = std::max(0, m_columnList->currentIndex());
}

bool CFindDialog::CheckOneColumn(unsigned messageId) {
  if (m_columnIndex == 0) {
    m_area.left = 0;
    m_area.right = m_columnCount - 1;
    m_area.bottom = m_lineCount - 1;
    return true;
  }
  if (m_area.left == m_area.right) return true;
  if (KELDExMessageBox(messageId, platform::MB_YESNO | platform::MB_ICONINFORMATION, "") != platform::IDYES) {
    reject();
    return false;
  }
  const int column = m_columns[static_cast<size_t>(m_columnIndex)].m_index;
  m_area.left = m_area.right = column;
  m_view->OnFindColumnChosen(column);
  m_position.x = column;
  return true;
}

void CFindDialog::AddToHistory(std::vector<std::string>& history, std::string& last, QComboBox* combo,
                               const std::string& text) {
  if (text.empty()) return;
  if ((history.empty() || text != last) && std::find(history.begin(), history.end(), text) == history.end()) {
    history.insert(history.begin(), text);
    combo->insertItem(0, QString::fromStdString(text));
    combo->setEditText(QString::fromStdString(text));
  }
  last = text;
}

bool CFindDialog::Send(DWORD action) {
  CSearchRequest request;
  request.line = m_position.y;
  request.column = m_position.x;
  request.find = &m_findText;
  request.replace = &m_replaceText;
  request.flags = action | (m_entireCells ? DWORD{FIND_ENTIRE_CELLS} : DWORD{0}) | (m_matchCase ? DWORD{FIND_MATCH_CASE} : DWORD{0});
  request.area = &m_area;
  m_view->OnSearchRequest(request);
  // A refused replace text: the view told the user, the dialog stays.
  m_refused = request.refused;
  if (m_refused) return true;
  const bool inside = request.line >= m_area.top && request.line <= m_area.bottom &&
                      request.column >= m_area.left && request.column <= m_area.right;
  if (!inside) return false;
  m_position = CPoint(request.column, request.line);
  return true;
}

void CFindDialog::NothingMore() {
  reject();
  KELDExMessageBox(axview::IDS_NOT_FOUND, platform::MB_OK | platform::MB_ICONINFORMATION, "");
}

void CFindDialog::OnButtonFindNext() {
  ReadControls();
  if (!CheckOneColumn(axview::IDS_FIND_ONE_COLUMN)) return;
  AddToHistory(m_findHistory, m_lastFind, m_findCombo, m_findText);
  if (!Send(FIND_ACTION_NEXT)) NothingMore();
}

void CFindDialog::OnButtonFindReplace() {
  if (m_mode == 1) {
    SetMode(true);
    return;
  }
  ReadControls();
  if (!CheckOneColumn(axview::IDS_REPLACE_ONE_COLUMN)) return;
  AddToHistory(m_findHistory, m_lastFind, m_findCombo, m_findText);
  AddToHistory(m_replaceHistory, m_lastReplace, m_replaceCombo, m_replaceText);
  if (!Send(FIND_ACTION_REPLACE)) NothingMore();
}

void CFindDialog::OnButtonFindReplaceAll() {
  ReadControls();
  if (!CheckOneColumn(axview::IDS_REPLACE_ONE_COLUMN)) return;
  AddToHistory(m_findHistory, m_lastFind, m_findCombo, m_findText);
  AddToHistory(m_replaceHistory, m_lastReplace, m_replaceCombo, m_replaceText);
  // A refused replace text leaves the dialog open with the user's texts.
  Send(FIND_ACTION_REPLACE_ALL);
  if (m_refused) return;
  NothingMore();
}
