#pragma once
// Byte movers of the program plcsim: pseudo-terminals, serial devices and
// TCP sockets, and the loops that feed the PLC (or the modem) from them.
#include <atomic>
#include <string>

#include "sim/modem_emulator.h"
#include "sim/sim_plc.h"

namespace plcsim {

// Set by the signal handlers: end the program, or power-cycle the unit.
extern std::atomic<bool> g_stop;
extern std::atomic<bool> g_powerCycle;
// Set by SIGUSR1: the modem's far end hangs up.
extern std::atomic<bool> g_dropCarrier;

// A new pseudo-terminal in raw mode: its master side for us, the path of the
// slave side for the peer. The slave is kept open here too, so that a peer
// closing and reopening it never hangs the line up. -1 on failure.
int OpenPseudoTerminal(std::string& slavePath, int& slaveFd, std::string& error);
// A serial device in raw mode; -1 on failure.
int OpenSerialDevice(const std::string& path, std::string& error);

// Serves a byte stream (serial line or pseudo-terminal) until stopped, or
// until the peer closes it (returns false then).
bool ServeStream(sim::CSimPlc& plc, int fd, bool header = false);
// Serves the modem emulator on a byte stream until stopped; with log, its
// command lines, results and escapes go to standard error.
void ServeModem(sim::CSimPlc& plc, int fd, const sim::ModemConfig& config, bool log);
// Listens on 127.0.0.1:port and serves every connection. False on failure.
// With header, frames come and go behind a route header.
bool ServeTcp(sim::CSimPlc& plc, int port, bool header, std::string& error);
// Connects to host:port and serves the link, reconnecting until stopped.
bool ServeOutgoing(sim::CSimPlc& plc, const std::string& host, int port, bool header, std::string& error);

// Prints a frame to standard error ("<" in, ">" out).
void LogFrame(bool incoming, std::string_view bytes);
// With on, each received route header is printed too, as its bytes in
// hexadecimal ("< header 10 00 ...") before the frame it carries.
void LogHeaders(bool on);
// Prints an event of the modem to standard error.
void LogModem(const std::string& text);

}  // namespace plcsim
