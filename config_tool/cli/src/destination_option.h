#pragma once
// The --dest option of the unit commands: where the PLC is.
//   sim                                   the simulated PLC
//   com:N[,BAUD[,DATABITS[,PARITY[,STOPBITS]]]]   serial port COM N (defaults 9600, 8, N, 1;
//                                         the settings' text form of tavinter/serial_settings.h)
//   tcp:HOST:PORT                         an Ethernet unit
//   usb                                   the PLC on the PC's USB port
#include <cstdint>
#include <string>

namespace axcfg::cli {

// Fills the 304-byte connection record; false with a message for a bad text.
bool ParseDestination(const std::string& text, uint8_t* record, std::string& error);

}  // namespace axcfg::cli
