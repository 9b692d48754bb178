#pragma once
// The library's own settings file, KELD_TAVINTER.INI in the settings root:
// the destination of each application section, the modem port records, the
// COM port map, the folders it reports and a few timing values.
#include <string>
#include <vector>

#include "tavinter/connection_record.h"

namespace tavinter {

std::string LibrarySettingsPath();

// The destination kept under a section; a section never written gives the
// simulation channel, station 1. False when the section name is unusable.
bool ReadDestination(const std::string& section, CConnectionRecord record);
bool WriteDestination(const std::string& section, const CConnectionRecord& record);

// The stored channel record of a channel id (section "CHANNEL<id>"). A
// channel never written gives the modem defaults of its COM port.
bool ReadChannelRecord(int channelId, CConnectionRecord record);
bool WriteChannelRecord(int channelId, const CConnectionRecord& record);

// How many COM ports have a modem configured (section TAVMODEM, key PORTS:
// a comma-separated list of COM numbers; default the 15 ports 1..15).
int ModemPortCount();
// Those ports' COM numbers, in the order listed.
std::vector<int> ModemPorts();

// COM n to a device path: KELD_COM<n>, else [PORTMAP] COM<n>, else /dev/ttyS(n-1).
std::string ComDevicePath(int comNo);

// Folders reported to the programs ([FOLDERS] RESOURCE / COMMON).
std::string ResourceFolder();
std::string CommonFolder();

// The server program: [SERVER] PROGRAM, else KELD_TAVMGR next to the
// calling program, else in the installation's bin folder. Empty when none exists.
std::string ServerProgram();
// How long to wait for a started server to publish itself ([SERVER] STARTWAIT, ms).
int ServerStartWaitMs();
// Extra time granted to a request beyond its PLC time-outs ([SERVER] REPLYSLACK, seconds).
int ReplySlackSeconds();

// The pre-command of a port ([PRECOMMAND] PORT<n>), empty when none.
std::string PreCommand(int port);

// The route text of a route index ([ROUTES] ROUTE<index>), without the
// quotes and blanks around it; empty when there is none.
std::string RouteText(int index);
// A stored route value as RouteText gives it: blanks and one pair of quotes around it removed.
std::string RouteValue(const std::string& stored);

// The PLC simulation library ([SIMULATION] LIBRARY, else libkeld_plcsim.so
// in the lib folder beside bin, else the plain name for the loader's search).
std::string SimulationLibrary();

}  // namespace tavinter
