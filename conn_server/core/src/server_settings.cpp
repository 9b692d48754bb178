#include "connsrv/server_settings.h"

#include <cstdint>

#include "platform/profile.h"

namespace connsrv {

CServerSettings CServerSettings::Load(const std::string& iniPath) {
  platform::Profile ini(iniPath);
  CServerSettings s;
  s.ethernetRetry = ini.ReadInt("ETHERNETRETRY", "RETRY", s.ethernetRetry);
  s.afterCloseMs = ini.ReadInt("ETHERNETRETRY", "AFTERCLOSE", 0) * 1000;
  s.dispTime = static_cast<int16_t>(ini.ReadInt("ETHERNETRETRY", "DISPTIME", s.dispTime));
  s.unitChk = ini.ReadInt("INTERVAL", "UNITCHK", s.unitChk);
  s.retry = static_cast<int16_t>(ini.ReadInt("INTERVAL", "RETRY", s.retry));
  s.retryTime = ini.ReadInt("INTERVAL", "RETRYTIME", s.retryTime);
  // The section name is spelled with the digit zero.
  s.slpTimeMs = ini.ReadInt("SLEEP0FF", "SLPTIME", s.slpTimeMs);
  return s;
}

}  // namespace connsrv
