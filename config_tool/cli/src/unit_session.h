#pragma once
// What the unit commands share: the --dest, --station and --slot options,
// and a unit link opened on them that reports to stderr.
#include <array>
#include <cstdio>
#include <memory>
#include <set>
#include <string>

#include "axcfg_unit/fixed_destination_library.h"
#include "axcfg_unit/unit_axis_config.h"
#include "axcfg_unit/unit_link.h"
#include "cli_command.h"
#include "connect_watch_cli.h"

namespace axcfg::cli {

inline constexpr const char* kAppName = "Axis Configurator";

// Errors go to stderr; nothing waits for a click.
class CConsoleUi : public ILinkUi {
 public:
  int CommunicationError(const std::string& text, void*) override {
    std::fprintf(stderr, "%s\n", text.c_str());
    return 2;
  }
  int MessageBox(const std::string& text, unsigned) override {
    std::fprintf(stderr, "%s\n", text.c_str());
    return 1;
  }
};

struct UnitOptions {
  std::string dest = "sim";
  long long station = 0;
  long long slot = 0;
  long long timeout = 0;  // seconds the server waits for each answer; 0: the destination's (3)
  Args rest;
};

// Takes --dest, --station and --slot out of the arguments; the others must
// be positional.
bool ParseUnitOptions(const char* command, const Args& args, UnitOptions& o, int& exitCode);
// The unit options that take a value, for commands with options of their own.
std::set<std::string> UnitValueOptions();
// The unit options (and the positional arguments) of already split arguments.
bool TakeUnitOptions(const char* command, ParsedArgs& a, UnitOptions& o, int& exitCode);

// An open link for the options; null with the exit code on failure.
struct OpenLink {
  std::array<uint8_t, kLinkContextSize> destination{};
  std::unique_ptr<CFixedDestinationLibrary> library;
  CConsoleUi ui;
  std::unique_ptr<CUnitLink> link;
  // For a destination the server connects to (ends before the link).
  std::unique_ptr<CConsoleConnectWatch> watch;
};

// The link for the options, not yet open; kExitOk or the usage exit code.
int MakeLink(const char* command, const UnitOptions& o, OpenLink& l);
// Opens the link (no programming-tool check); kExitOk, or the exit code
// after printing why.
int Connect(const char* command, const UnitOptions& o, OpenLink& l);
// Prints the link's text for a failure, closes the link, kExitCommunication.
int Fail(OpenLink& l, int rc);
// Connects and reads the unit's own axis layout and model; kExitOk, or the
// exit code after printing why (kExitLayout for layout words that break the
// rules), with the link closed.
int ConnectToUnitAxes(const char* command, const UnitOptions& o, OpenLink& l, CUnitAxisConfig& unit);
// SIGINT and SIGTERM call `handler` (commands that run until stopped).
void OnStopSignals(void (*handler)(int));

// The help lines of the unit options.
inline constexpr const char* kDestHelp =
    "  --dest sim|com:N[,BAUD[,DATABITS[,PARITY[,STOPBITS]]]]\n"
    "                 where the PLC is (default sim, the simulated PLC);\n"
    "                 BAUD 1200 to 230400, DATABITS 5 to 8, PARITY N, O, E or S,\n"
    "                 STOPBITS 1 or 2 (defaults 9600, 8, N, 1)\n"
    "       tcp:HOST:PORT[,eth=N][,header][,src=PORT][,srcaddr=ADDR][,limit=S]\n"
    "                 an Ethernet unit the server connects to (Ethernet port N,\n"
    "                 default 1; route header; source port and address; connect\n"
    "                 limit in seconds, 0 = 180)\n"
    "       listen:PORT[,eth=N][,from=ADDR][,wait=S]\n"
    "                 an Ethernet unit that connects to TCP port PORT of this PC\n"
    "                 (only from ADDR when given); waits up to S seconds for it\n"
    "       usb       the PLC on the PC's USB port (KELD_USB_DEVICE, else [USB] in\n"
    "                 KELD_TAVINTER.INI)\n"
    "  --station N    PLC station 0 to 99 (0: the PLC on the link itself)\n"
    "  --slot N       slot of the positioning unit, 0 to 28\n"
    "  --timeout S    seconds to wait for each answer of the PLC, 1 to 60 (default 3)\n"
    "Numbers are decimal or 0x-prefixed hexadecimal; addresses are byte addresses.\n"
    "Exit codes: 0 done, 2 usage, 4 communication error (its text on stderr).\n";

}  // namespace axcfg::cli
