#pragma once
// A connection record for the simulation channel, as the load, fault and
// soak tests open it.
#include <array>

#include "tavinter/connection_record.h"
#include "tavinter/tavinter.h"

namespace keldload {

struct SimConnection {
  std::array<unsigned char, TAV_CONNECTION_RECORD_SIZE> bytes{};
  explicit SimConnection(const char* name, int timeoutSeconds = 3) {
    tavinter::CConnectionRecord r(bytes.data());
    r.SetName(name);
    r.SetKind(tavinter::kKindSimulation);
    r.SetTimeout(timeoutSeconds);
    r.SetLanguage(1);
  }
  unsigned char* data() { return bytes.data(); }
};

}  // namespace keldload
