#include "tavinter/connection_record.h"

#include <algorithm>

namespace tavinter {

CChannelConfig CConnectionRecord::Config() const {
  CChannelConfig c;
  if (p_) c.Parse(p_ + kConfigInRecord, kChannelConfigSize);
  return c;
}

void CConnectionRecord::SetConfig(const CChannelConfig& config) {
  if (p_) std::copy(config.Bytes().begin(), config.Bytes().end(), p_ + kConfigInRecord);
}

int PortNumberOf(int kind, int transportPort) {
  switch (kind) {
    case kKindSerial:
    case kKindModem:
    case kKindModemAlarm:
      return transportPort >= 1 && transportPort <= 256 ? 68 + transportPort : 0;
    case kKindEthernet:
    case kKindEthernet8:
    case kKindEthernetListen:
      return transportPort >= 1 && transportPort <= 64 ? 4 + transportPort : 0;
    case kKindBoardH:
      return transportPort >= 0 && transportPort <= 2 ? 1 + transportPort : 0;
    case kKindBoardP:
      return 4;
    case kKindUsb:
      return 325;
    case kKindSimulation:
      return 326;
    default:
      return 0;
  }
}

}  // namespace tavinter
