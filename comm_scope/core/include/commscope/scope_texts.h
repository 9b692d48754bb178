#pragma once
// The viewer's texts by id (English, built in) and its message box.
#include <string>

namespace commscope {

constexpr const char* kCaption = "KELD_TavScope";
constexpr unsigned kIdNoTerminal = 57612;  // TAVTERM.EXE is not in the program's folder

// The text of an id ("" for an unknown id).
std::string ScopeText(unsigned id);
// Shows the text of an id through the platform's message box; returns the button.
int ScopeMessage(unsigned id, unsigned type, void* owner = nullptr);

}  // namespace commscope
