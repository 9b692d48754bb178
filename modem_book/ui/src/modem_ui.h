#pragma once
// Small pieces the phone book's windows share: the message box with the
// program's caption, control ids as object names, and the English font rule.
#include <QString>
#include <QWidget>
#include <string>

#include "platform/message_box.h"


namespace modembook {

// Shows a message with the caption "ﾓﾃﾞﾑ接続" (stop icon unless the type names another).
int ModemMessageBox(const std::string& text, unsigned type = platform::MB_OK | platform::MB_ICONSTOP,
                    QWidget* owner = nullptr);
int ModemMessage(unsigned textId, unsigned type = platform::MB_OK | platform::MB_ICONSTOP, QWidget* owner = nullptr);

QString Qt8(const std::string& utf8);
// A control carries its numeric id as its object name, so tests and the
// font rule find it.
void SetControlId(QWidget* w, int id);
template <typename T>
T* FindControl(QWidget* parent, int id) {
  return parent->findChild<T*>(QString::number(id));
}

// In English, the controls but the listed ones get the dialog font of 720 /
// the average character width tenths of a point.
void ApplyEnglishFont(QWidget* root, std::initializer_list<int> exceptIds);

}  // namespace modembook
