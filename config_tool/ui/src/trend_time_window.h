#pragma once
// The stretch of time a trend shows: its length and its end, following the
// newest sample while live. Zooming changes the length around a fixed point
// in time, panning moves the end; looking back in time stops following.
#include <cstdint>

namespace axcfgui {

class CTrendTimeWindow {
 public:
  static constexpr int64_t kMinSpanMs = 1000;            // deepest zoom
  static constexpr int64_t kMaxSpanMs = 30 * 60 * 1000;  // what the recorder keeps

  int64_t SpanMs() const { return span_; }
  int64_t EndMs() const { return end_; }
  int64_t StartMs() const { return end_ - span_; }
  bool IsLive() const { return live_; }

  // A new newest sample time: a live window moves its end there.
  void Follow(int64_t latestMs);
  // The length (clamped to kMinSpanMs..kMaxSpanMs); the end stays.
  void SetSpan(int64_t spanMs);
  // Multiplies the length by `factor` (below 1 zooms in) keeping `anchorMs`
  // at the same place on the screen, but not past `latestMs`; a live window
  // keeps its end at the newest sample instead.
  void Zoom(double factor, int64_t anchorMs, int64_t latestMs);
  // Moves the window by `deltaMs` (negative: back in time) without going past
  // `latestMs`; moving stops following.
  void Pan(int64_t deltaMs, int64_t latestMs);
  void Pause() { live_ = false; }
  // Follows again, from `latestMs`.
  void Resume(int64_t latestMs);

 private:
  int64_t span_ = 60 * 1000;
  int64_t end_ = 0;
  bool live_ = true;
};

}  // namespace axcfgui
