#include "cell_combo.h"

#include <QAbstractItemView>
#include <QKeyEvent>

#include "axview/table_view.h"

CCellCombo::CCellCombo(CTableView* view) : QComboBox(view->viewport()), m_view(view) {
  setObjectName(QStringLiteral("CCellCombo"));
  setEditable(false);
  setMaxVisibleItems(8);
  hide();
  connect(this, QOverload<int>::of(&QComboBox::activated), this, [this](int) { m_view->OnComboCellSelendok(); });
}

void CCellCombo::Begin(const QString& text, const std::vector<std::string>& choices) {
  m_finishKey = 0;
  clear();
  for (const auto& c : choices) addItem(QString::fromStdString(c));
  int index = findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (index < 0) index = count() > 0 ? 0 : -1;
  setCurrentIndex(index);
  m_startIndex = index;
  show();
  raise();
  setFocus(Qt::OtherFocusReason);
}

void CCellCombo::Cancel() {
  m_cancelling = true;
  hidePopup();
  hide();
  m_cancelling = false;
}

int CCellCombo::DropWidth() const {
  QFontMetrics fm(font());
  int widest = 0;
  for (int i = 0; i < count(); ++i) widest = std::max(widest, fm.horizontalAdvance(itemText(i)));
  return std::max(20, widest + 20);
}

void CCellCombo::showPopup() {
  // The list may be wider than the cell, never narrower than its items.
  view()->setMinimumWidth(DropWidth());
  QComboBox::showPopup();
}

void CCellCombo::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Left:
    case Qt::Key_Right:
      m_finishKey = event->key() == Qt::Key_Enter ? Qt::Key_Return : event->key();
      m_view->OnComboCellKillfocus();
      return;
    default:
      m_stepping = !view()->isVisible();
      QComboBox::keyPressEvent(event);
      m_stepping = false;
  }
}

void CCellCombo::focusOutEvent(QFocusEvent* event) {
  QComboBox::focusOutEvent(event);
  // The dropped list takes the focus for a moment; that ends nothing.
  if (m_cancelling || !isVisible() || view()->isVisible()) return;
  m_view->OnComboCellKillfocus(event->reason());
}
