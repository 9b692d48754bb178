#pragma once
// Help: a folder of HTML pages, one per context number ("<number>.html") and
// index.html for the contents, shown in one help window per program.
#include <string>

class QWidget;

namespace platform {

// 0 opens the contents; others the page of that number. False when the page
// does not exist. The window belongs to no other window, is placed over
// parent's window the first time, and is titled with the page's title and
// the caption.
bool ShowHelpPage(QWidget* parent, const std::string& folder, int context, const std::string& caption = {});
// The help window while it is open, else null; closing it (at exit).
QWidget* HelpPageWindow();
void CloseHelpPages();
// Makes dialogs and message boxes that have an owner modal to their own
// window only, so that the help window stays usable while one is open.
void KeepHelpUsableBesideDialogs();

}  // namespace platform
