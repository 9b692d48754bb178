#include "raise_window.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace modembook {

namespace {

// Asks the window manager to activate the window, as a pager does (EWMH
// _NET_ACTIVE_WINDOW, source "pager"); without a window manager nobody
// listens and the raise alone counts.
void RequestActivation(xcb_connection_t* c, xcb_window_t window) {
  const char name[] = "_NET_ACTIVE_WINDOW";
  xcb_intern_atom_reply_t* atom =
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, sizeof name - 1, name), nullptr);
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
  if (!atom || !screen) {
    std::free(atom);
    return;
  }
  xcb_client_message_event_t event;
  std::memset(&event, 0, sizeof event);
  event.response_type = XCB_CLIENT_MESSAGE;
  event.format = 32;
  event.window = window;
  event.type = atom->atom;
  event.data.data32[0] = 2;  // from a pager: the window manager does not second-guess it
  event.data.data32[1] = XCB_CURRENT_TIME;
  xcb_send_event(c, 0, screen->root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                 reinterpret_cast<const char*>(&event));
  std::free(atom);
}

}  // namespace

bool RaiseNativeWindow(unsigned long long id) {
  // Only X11 window ids name windows of other programs.
  if (id == 0 || id > 0xFFFFFFFFull || !qGuiApp) return false;
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* c = x11 ? x11->connection() : nullptr;
  if (!c) return false;
  const auto window = static_cast<xcb_window_t>(id);
  // An id without a window answers with an error, taken here rather than
  // reported as an X error of the program.
  xcb_generic_error_t* error = nullptr;
  xcb_get_window_attributes_reply_t* attributes =
      xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), &error);
  std::free(error);
  if (!attributes) return false;
  std::free(attributes);
  const uint32_t above = XCB_STACK_MODE_ABOVE;
  xcb_configure_window(c, window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
  RequestActivation(c, window);
  xcb_flush(c);
  return true;
}

std::function<void()> RaiseAfterConnecting(std::optional<long long> id,
                                           std::function<bool(unsigned long long)> raise,
                                           std::function<void(const std::string&)> report) {
  if (!id || *id < 0 || !raise) return {};
  if (!report) report = [](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); };
  const auto target = static_cast<unsigned long long>(*id);
  return [target, raise, report] {
    if (!raise(target))
      report("KELD_TavModem: window " + std::to_string(target) + " (-h) was not found; nothing brought to the front");
  };
}

}  // namespace modembook
