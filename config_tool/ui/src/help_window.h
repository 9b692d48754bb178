#pragma once
// Help: the HTML pages of the tool's help folder, one page per context
// number, in a help window. Without the pages help does nothing.
#include <string>

class QWidget;

namespace axcfgui {

// The folder of the help pages for a help file name ("AxisCfgEnu.chm"
// gives .../help/AxisCfgEnu).
std::string HelpFolder(const std::string& helpFile);
// The help file of the running program, for windows that several commands
// open (set once the language is known; the English file until then).
void SetAppHelpFile(const std::string& helpFile);
std::string AppHelpFile();
// 0 opens the contents (index.html); others the page "<number>.html".
// False when the page does not exist.
bool ShowHelp(QWidget* parent, const std::string& helpFile, int context);

}  // namespace axcfgui
