#include "modem_ui.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QWidget>
#include <algorithm>

#include "modem_book/modem_strings.h"
#include "modem_book/start_up.h"

namespace modembook {

int ModemMessageBox(const std::string& text, unsigned type, QWidget* owner) {
  return platform::ShowMessageBox(text, type, ModemText(kIdsCaption), owner);
}

int ModemMessage(unsigned textId, unsigned type, QWidget* owner) { return ModemMessageBox(ModemText(textId), type, owner); }

QString Qt8(const std::string& utf8) { return QString::fromStdString(utf8); }

void SetControlId(QWidget* w, int id) { w->setObjectName(QString::number(id)); }

void ApplyEnglishFont(QWidget* root, std::initializer_list<int> exceptIds) {
  const int tenths = EnglishFontTenths(QFontMetrics(QApplication::font()).averageCharWidth());
  QFont font(QStringLiteral("Sans Serif"));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(tenths / 10.0);
  for (QWidget* w : root->findChildren<QWidget*>()) {
    bool ok = false;
    const int id = w->objectName().toInt(&ok);
    if (ok && std::find(exceptIds.begin(), exceptIds.end(), id) != exceptIds.end()) continue;
    if (qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w) || qobject_cast<QGroupBox*>(w)) w->setFont(font);
  }
}

}  // namespace modembook
