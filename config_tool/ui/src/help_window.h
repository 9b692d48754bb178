#pragma once
// Help: the HTML pages of the tool's help folder, one page per context
// number, in a help window. Without the pages help does nothing.
#include <string>

class QWidget;

namespace axcfgui {

// The folder of the help pages for a help file name ("AxisCfgEnu.chm"
// gives .../help/AxisCfgEnu).
std::string HelpFolder(const std::string& helpFile);
// 0 opens the contents (index.html); others the page "<number>.html".
// False when the page does not exist.
// The window is placed over parent's window the first time.
bool ShowHelp(QWidget* parent, const std::string& helpFile, int context);
// The help window while it is open, else null.
QWidget* HelpWindow();
void CloseHelpWindow();
// Makes dialogs and message boxes modal to their own window only, so that
// the help window stays usable while one is open.
void KeepHelpUsableBesideDialogs();

}  // namespace axcfgui
