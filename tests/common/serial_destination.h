#pragma once
// The link's destination record for a serial line at 115200 8N1 on a COM
// port, as tests put plcsim on a pseudo-terminal behind it.
#include <array>
#include <cstdint>

#include "axcfg_unit/link_library.h"
#include "tavinter/connection_record.h"

namespace axcfg_test {

inline std::array<uint8_t, axcfg::kLinkContextSize> SerialDestination(int com, int timeoutSeconds) {
  std::array<uint8_t, axcfg::kLinkContextSize> dest{};
  tavinter::CConnectionRecord r(dest.data());
  r.SetKind(tavinter::kKindSerial);
  r.SetPort(com);
  r.SetBaudIndex(7);
  r.SetDataBits(8);
  r.SetStopBits(1);
  r.SetTimeout(timeoutSeconds);
  return dest;
}

}  // namespace axcfg_test
