#pragma once
// Help: a folder of HTML pages, one per context number ("<number>.html") and
// index.html for the contents, shown in one help window per program.
#include <string>

class QWidget;

namespace platform {

// 0 opens the contents; others the page of that number. False when the page
// does not exist.
bool ShowHelpPage(QWidget* parent, const std::string& folder, int context);

}  // namespace platform
