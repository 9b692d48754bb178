#pragma once
// The server's settings from KELD_TAVCOMM.INI, read once at start.
#include <string>

namespace connsrv {

struct CServerSettings {
  int ethernetRetry = 5;   // ETHERNETRETRY/RETRY: non-zero tries an Ethernet request 3 times
  int afterCloseMs = 0;    // ETHERNETRETRY/AFTERCLOSE, seconds in the file
  int dispTime = 0;        // ETHERNETRETRY/DISPTIME, seconds
  int unitChk = 1;         // INTERVAL/UNITCHK: skip the station pause while the station stays
  int retry = 3;           // INTERVAL/RETRY: repeats after a bad or missing answer
  int retryTime = 1;       // INTERVAL/RETRYTIME: seconds, for those repeats on a plain serial link
  int slpTimeMs = 1000;    // SLEEP0FF/SLPTIME: pause after a broadcast

  // Reads the file; missing file or keys keep the defaults.
  static CServerSettings Load(const std::string& iniPath);
};

}  // namespace connsrv
