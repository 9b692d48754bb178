// Frames of any bytes into the simulated PLC: never a crash or a read past
// the frame (the fuzzer runs with address sanitizer), and every answer is a
// well-formed frame with a right block check code.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "plcframe/frame_codec.h"
#include "sim/sim_plc.h"
#include "sim/stream_framer.h"

namespace {

void CheckAnswer(const std::string& a) {
  if (a.size() < 7 || (a[0] != '%' && a[0] != '<') || a.back() != '\r' || !plcframe::CheckFrameCode(a)) std::abort();
  const char kind = a[3];
  if (kind != '$' && kind != '!' && kind != '&') std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static sim::CManualClock clock;
  static sim::CSimPlc plc(sim::PlcConfig{}, clock);
  const std::string_view input(reinterpret_cast<const char*>(data), data ? size : 0);
  clock.Advance(7);
  // the whole input as one frame: anything that is not a frame gets error 41
  const auto whole = plc.Handle(input);
  for (const auto& part : whole.parts) CheckAnswer(part.bytes);
  if (input.empty() || input.back() != '\r') {
    if (whole.parts.size() != 1 || whole.parts[0].bytes.compare(3, 3, "!41") != 0) std::abort();
  }
  // the input as a byte stream
  sim::CStreamFramer framer;
  for (const std::string& frame : framer.Feed(input))
    for (const auto& part : plc.Handle(frame).parts) CheckAnswer(part.bytes);
  return 0;
}
