#include "platform/message_box.h"

#include <cstdio>
#include <mutex>

namespace platform {

namespace {

std::mutex g_mutex;
MessageBoxHandler g_handler;

// Without windows: the text goes to stderr and the default button answers.
int ConsoleBox(const MessageBoxRequest& r) {
  std::fprintf(stderr, "%s: %s\n", r.caption.c_str(), r.text.c_str());
  return DefaultButton(r.type);
}

}  // namespace

int DefaultButton(unsigned type) {
  static const int kButtons[][3] = {
      {IDOK, IDOK, IDOK},           {IDOK, IDCANCEL, IDCANCEL}, {IDABORT, IDRETRY, IDIGNORE},
      {IDYES, IDNO, IDCANCEL},      {IDYES, IDNO, IDNO},        {IDRETRY, IDCANCEL, IDCANCEL},
  };
  unsigned set = type & MB_TYPEMASK;
  if (set > 5) set = 0;
  unsigned def = (type & MB_DEFMASK) >> 8;
  if (def > 2) def = 0;
  return kButtons[set][def];
}

int ShowMessageBox(const MessageBoxRequest& request) {
  MessageBoxHandler handler;
  {
    std::lock_guard<std::mutex> g(g_mutex);
    handler = g_handler;
  }
  return handler ? handler(request) : ConsoleBox(request);
}

int ShowMessageBox(const std::string& text, unsigned type, const std::string& caption, void* owner) {
  MessageBoxRequest request;
  request.text = text;
  request.caption = caption;
  request.type = type;
  request.owner = owner;
  return ShowMessageBox(request);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
  std::lock_guard<std::mutex> g(g_mutex);
  MessageBoxHandler previous = std::move(g_handler);
  g_handler = std::move(handler);
  return previous;
}

}  // namespace platform
