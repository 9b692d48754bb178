#pragma once
// The keyboard accelerators of the edit commands: Ctrl+C and Ctrl+Insert copy,
// Ctrl+X and Shift+Delete cut, Ctrl+V and Shift+Insert paste, Ctrl+Z and
// Alt+Backspace undo, Ctrl+F find, Ctrl+H replace.
#include <Qt>

namespace axview {

// The command id of a key with its modifiers; 0 when it is no accelerator.
unsigned EditCommandOfKey(int key, Qt::KeyboardModifiers modifiers);

}  // namespace axview
