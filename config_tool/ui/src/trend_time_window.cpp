#include "trend_time_window.h"

#include <algorithm>
#include <cmath>

namespace axcfgui {

void CTrendTimeWindow::Follow(int64_t latestMs) {
  if (live_) end_ = latestMs;
}

void CTrendTimeWindow::SetSpan(int64_t spanMs) { span_ = std::clamp(spanMs, kMinSpanMs, kMaxSpanMs); }

void CTrendTimeWindow::Zoom(double factor, int64_t anchorMs, int64_t latestMs) {
  if (!(factor > 0)) return;
  const int64_t old = span_;
  SetSpan(static_cast<int64_t>(std::llround(static_cast<double>(old) * factor)));
  if (live_ || old == span_) return;
  // The anchor's share of the window from its end stays the same.
  const double share = static_cast<double>(end_ - anchorMs) / static_cast<double>(old);
  end_ = std::min(latestMs, anchorMs + static_cast<int64_t>(std::llround(share * static_cast<double>(span_))));
}

void CTrendTimeWindow::Pan(int64_t deltaMs, int64_t latestMs) {
  if (deltaMs == 0) return;
  live_ = false;
  end_ = std::min(end_ + deltaMs, latestMs);
}

void CTrendTimeWindow::Resume(int64_t latestMs) {
  live_ = true;
  end_ = latestMs;
}

}  // namespace axcfgui
