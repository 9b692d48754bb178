#pragma once
// The window program: language, single-instance rule, loading, the main
// window, and the screenshot options used to look at the windows.
#include "modem_book/start_up.h"

namespace modembook {

// Arguments that belong to the window rather than to the command line.
bool IsWindowOption(const std::string& arg);

int RunModemWindow(int argc, char** argv, const StartArguments& start, int language, int productNumber);

}  // namespace modembook
