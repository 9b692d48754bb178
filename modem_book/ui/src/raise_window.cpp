#include "raise_window.h"

#include <QGuiApplication>
#include <QWindow>
#include <cstdio>
#include <memory>

namespace modembook {

bool RaiseNativeWindow(unsigned long long id) {
  // Only X11 window ids name windows of other programs.
  if (id == 0 || QGuiApplication::platformName() != QLatin1String("xcb")) return false;
  std::unique_ptr<QWindow> window(QWindow::fromWinId(static_cast<WId>(id)));
  // A foreign window takes the geometry the server reports for the id; an id
  // without a window gets none.
  if (!window || window->geometry().isEmpty()) return false;
  window->raise();
  window->requestActivate();
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
