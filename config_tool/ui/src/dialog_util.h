#pragma once
// Helpers every dialog of the tool uses.
#include <QString>
#include <functional>
#include <initializer_list>

class QDialog;
class QDialogButtonBox;
class QWidget;
class QFont;

namespace axcfgui {

// The dialog font of an English run (none otherwise); owned by the
// application.
void SetDialogFont(const QFont* font);
const QFont* DialogFont();

// With a dialog font: gives it to the window itself when mode is 0 and to
// every child control whose object id is not excluded.
void ApplyDialogFont(QWidget* window, int mode, std::initializer_list<int> excludedIds);

// Dispatches all pending events; 1 when a key press of Enter was among
// them, 2 for Escape, 0 otherwise.
int DispatchPendingMessages(QWidget* window);

// A text of the string table as a QString.
QString UiQText(unsigned id);

// OK, Cancel and Help buttons that accept or reject the dialog; Help calls
// *onHelp when it is set at the time of the click.
QDialogButtonBox* OkCancelHelp(QDialog* dialog, const std::function<void()>* onHelp);

}  // namespace axcfgui
