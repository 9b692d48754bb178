#pragma once
// The --dest option of the unit commands: where the PLC is.
//   sim                                   the simulated PLC
//   com:N[,BAUD[,DATABITS[,PARITY[,STOPBITS]]]]   serial port COM N (defaults 9600, 8, N, 1;
//                                         the settings' text form of tavinter/serial_settings.h)
//   tcp:HOST:PORT[,eth=N][,header][,src=PORT][,srcaddr=ADDR][,limit=S]
//                                         an Ethernet unit the server connects to (Ethernet
//                                         port N, default 1; route header; source port and
//                                         address; connect limit in seconds, 0 = 180)
//   listen:PORT[,eth=N][,from=ADDR][,wait=S]
//                                         an Ethernet unit that connects to the server's
//                                         TCP port PORT (only from ADDR when given); the
//                                         command waits up to S seconds for it
#include <cstdint>
#include <functional>
#include <string>

namespace axcfg::cli {

// Fills the 304-byte connection record; false with a message for a bad text.
bool ParseDestination(const std::string& text, uint8_t* record, std::string& error);
// The same, with the seconds to wait for the PLC to connect (listen: wait=S, else 0).
bool ParseDestination(const std::string& text, uint8_t* record, int& acceptWaitSec, std::string& error);

// What runs after the open for a wait of acceptWaitSec: polls the accept
// check every 200 ms until the PLC has connected (-10047 when the wait
// ends first); empty for no wait.
std::function<int(uint8_t*)> AcceptWait(int acceptWaitSec);

}  // namespace axcfg::cli
