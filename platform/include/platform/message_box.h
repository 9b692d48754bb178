#pragma once
// The one way every program shows a message box. The default handler prints
// the text to stderr and answers with the box's default button; programs with
// windows install a handler that shows a real box; tests install one that
// records the texts and answers from a script.
#include <functional>
#include <string>

namespace platform {

// Button sets, icons and default-button bits as the original platform has them.
enum : unsigned {
  MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_ABORTRETRYIGNORE = 0x2, MB_YESNOCANCEL = 0x3,
  MB_YESNO = 0x4, MB_RETRYCANCEL = 0x5, MB_TYPEMASK = 0xF,
  MB_ICONHAND = 0x10, MB_ICONERROR = 0x10, MB_ICONSTOP = 0x10, MB_ICONQUESTION = 0x20,
  MB_ICONEXCLAMATION = 0x30, MB_ICONWARNING = 0x30, MB_ICONASTERISK = 0x40,
  MB_ICONINFORMATION = 0x40, MB_ICONMASK = 0xF0,
  MB_DEFBUTTON1 = 0x000, MB_DEFBUTTON2 = 0x100, MB_DEFBUTTON3 = 0x200, MB_DEFMASK = 0xF00,
};
enum : int { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7 };

struct MessageBoxRequest {
  std::string text;
  std::string caption;
  unsigned type = MB_OK;
  void* owner = nullptr;  // a QWidget* where the caller has one
  // A window of the program's own design shown in place of a standard box:
  // the widget handler calls it with the owner it chose and returns what it
  // returns. Other handlers (the console, tests) answer as for a box of `type`.
  std::function<int(void* owner)> window;
};

using MessageBoxHandler = std::function<int(const MessageBoxRequest&)>;

// Shows the box through the handler in force; returns the button chosen.
int ShowMessageBox(const MessageBoxRequest& request);
int ShowMessageBox(const std::string& text, unsigned type, const std::string& caption, void* owner = nullptr);

// Installs a handler; returns the previous one. An empty handler restores the default.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

// The button a box of this type answers by default (its default button).
int DefaultButton(unsigned type);

}  // namespace platform
