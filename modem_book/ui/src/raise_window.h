#pragma once
// The window named on the command line ("-h<digits>": a native window id,
// as X11 window tools print it in decimal) that comes to the front once a
// call is connected, so that the program that started the phone book takes
// over from it.
#include <functional>
#include <optional>
#include <string>

namespace modembook {

// Raises and activates the native top-level window with that id; false when
// the windowing system has no such ids (anything but X11) or no window has it.
bool RaiseNativeWindow(unsigned long long id);

// What runs after a connection: nothing without an id; otherwise raise(id),
// and when that fails, one line through report (default: standard error).
// The connection stays as it is either way.
std::function<void()> RaiseAfterConnecting(std::optional<long long> id,
                                           std::function<bool(unsigned long long)> raise = RaiseNativeWindow,
                                           std::function<void(const std::string&)> report = {});

}  // namespace modembook
