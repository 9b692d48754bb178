#include "difference_list_dlg.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

#include "dialog_util.h"
#include "ui_strings.h"

namespace axcfgui {

namespace {

enum Column { kPart, kWhere, kTable, kItem, kFirst, kSecond, kColumns };

// Index of the item a row shows, kept with the row through sorting.
constexpr int kItemIndexRole = Qt::UserRole + 1;

QTableWidgetItem* Cell(const std::string& text) {
  auto* cell = new QTableWidgetItem(QString::fromStdString(text));
  cell->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
  return cell;
}

// Table numbers sort as numbers, items that are not table cells (no number
// shown) before them.
class TableNoCell : public QTableWidgetItem {
 public:
  explicit TableNoCell(int tableNo) : QTableWidgetItem(tableNo > 0 ? QString::number(tableNo) : QString()), no_(tableNo) {
    setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
  }
  bool operator<(const QTableWidgetItem& other) const override {
    return no_ < static_cast<const TableNoCell&>(other).no_;
  }

 private:
  int no_;
};

// A cell's text on one line of the clipboard: no tab or line break inside.
QString Flat(QString text) {
  text.replace(QLatin1Char('\t'), QLatin1Char(' '));
  text.replace(QLatin1Char('\r'), QLatin1Char(' '));
  text.replace(QLatin1Char('\n'), QLatin1Char(' '));
  return text;
}

}  // namespace

CDifferenceListDlg::CDifferenceListDlg(const std::vector<axcfg::DifferenceItem>& items, const QString& secondTitle,
                                       QWidget* parent)
    : QDialog(parent), m_items(items), m_table(new QTableWidget(static_cast<int>(items.size()), kColumns)),
      m_copy(new QPushButton(UiQText(kIdsDiffCopy))) {
  setObjectName(QStringLiteral("DifferenceListDialog"));
  setWindowTitle(UiQText(kIdsDiffTitle));
  auto* layout = new QVBoxLayout(this);
  auto* count = new QLabel(UiQText(kIdsDiffCount).arg(items.size()));
  count->setObjectName(QStringLiteral("Count"));
  layout->addWidget(count);

  m_table->setObjectName(QStringLiteral("Differences"));
  m_table->setHorizontalHeaderLabels({UiQText(kIdsDiffPart), UiQText(kIdsDiffWhere), UiQText(kIdsDiffTableNo),
                                      UiQText(kIdsDiffItem), UiQText(kIdsDiffDocument), secondTitle});
  m_table->verticalHeader()->hide();
  m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
  m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
  m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_table->setWordWrap(false);
  m_table->installEventFilter(this);
  for (int row = 0; row < static_cast<int>(items.size()); ++row) {
    const axcfg::DifferenceItem& d = items[static_cast<size_t>(row)];
    QTableWidgetItem* part = Cell(axcfg::DifferencePartName(d.part));
    part->setData(kItemIndexRole, row);
    m_table->setItem(row, kPart, part);
    m_table->setItem(row, kWhere, Cell(d.where));
    m_table->setItem(row, kTable, new TableNoCell(d.tableNo));
    m_table->setItem(row, kItem, Cell(d.item));
    m_table->setItem(row, kFirst, Cell(d.first));
    m_table->setItem(row, kSecond, Cell(d.second));
  }
  // The rows start in list order; a click on a column title sorts by that
  // column, a second click on it reverses the order.
  QHeaderView* header = m_table->horizontalHeader();
  header->setSectionsClickable(true);
  header->setSortIndicatorShown(false);
  connect(header, &QHeaderView::sectionClicked, this, [this, header](int column) {
    // The order is kept here: the header flips its own indicator on a click.
    m_sortOrder = column == m_sortColumn && m_sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder
                                                                              : Qt::AscendingOrder;
    m_sortColumn = column;
    header->setSortIndicatorShown(true);
    header->setSortIndicator(column, m_sortOrder);
    m_table->sortItems(column, m_sortOrder);
  });
  m_table->resizeColumnsToContents();
  // Long texts (comments) are cut in their cell rather than widening the
  // window past the screen; the whole text is in the copy.
  for (int c = 0; c < kColumns; ++c) m_table->setColumnWidth(c, std::min(m_table->columnWidth(c), 300));
  header->setStretchLastSection(true);
  m_table->setMinimumSize(600, 300);
  layout->addWidget(m_table, 1);
  int columnsWidth = 0;
  for (int c = 0; c < kColumns; ++c) columnsWidth += m_table->columnWidth(c);

  auto* buttons = new QHBoxLayout;
  auto* close = new QPushButton(UiQText(kIdsCloseButton));
  m_copy->setObjectName(QStringLiteral("Copy"));
  close->setObjectName(QStringLiteral("CloseList"));
  buttons->addWidget(m_copy);
  buttons->addStretch(1);
  buttons->addWidget(close);
  layout->addLayout(buttons);
  connect(m_copy, &QPushButton::clicked, this, &CDifferenceListDlg::Copy);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  ApplyDialogFont(this, 0, {});
  // Wide enough for every column where the screen allows.
  resize(std::clamp(columnsWidth + 60, 640, 1280), 480);
}

QString CDifferenceListDlg::RowLine(int row) const {
  const int index = m_table->item(row, kPart)->data(kItemIndexRole).toInt();
  return QString::fromStdString(axcfg::DifferenceLine(m_items[static_cast<size_t>(index)]));
}

QString CDifferenceListDlg::CopyText() const {
  std::set<int> rows;
  for (const QModelIndex& index : m_table->selectionModel()->selectedRows()) rows.insert(index.row());
  if (rows.empty())
    for (int row = 0; row < m_table->rowCount(); ++row) rows.insert(row);
  QStringList lines;
  QStringList titles;
  for (int c = 0; c < kColumns; ++c) titles << Flat(m_table->horizontalHeaderItem(c)->text());
  lines << titles.join(QLatin1Char('\t'));
  for (int row : rows) {
    QStringList cells;
    for (int c = 0; c < kColumns; ++c) cells << Flat(m_table->item(row, c)->text());
    lines << cells.join(QLatin1Char('\t'));
  }
  return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void CDifferenceListDlg::Copy() { QApplication::clipboard()->setText(CopyText()); }

bool CDifferenceListDlg::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_table && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
    Copy();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace axcfgui
