// axcfg read-words, write-words and unit-info: the unit's shared memory
// through the same unit link the configuration tool uses.
#include <array>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>

#include "axcfg_data/unit_types.h"
#include "axcfg_unit/fixed_destination_library.h"
#include "axcfg_unit/monitor_strings.h"
#include "axcfg_unit/unit_addresses.h"
#include "axcfg_unit/unit_link.h"
#include "cli_command.h"
#include "destination_option.h"
#include "tavinter/connection_record.h"
#include "unit_session.h"

namespace axcfg::cli {

bool ParseUnitOptions(const char* command, const Args& args, UnitOptions& o, int& exitCode) {
  ParsedArgs a;
  if ((exitCode = ParseArgs(command, args, UnitValueOptions(), {}, a)) != kExitOk) return false;
  return TakeUnitOptions(command, a, o, exitCode);
}

std::set<std::string> UnitValueOptions() { return {"--dest", "--station", "--slot", "--timeout"}; }

bool TakeUnitOptions(const char* command, ParsedArgs& a, UnitOptions& o, int& exitCode) {
  if (a.values.count("--dest")) o.dest = a.values["--dest"];
  if (a.values.count("--station") &&
      (!ParseNumber(a.values["--station"], o.station) || o.station < 0 || o.station > 99))
    return exitCode = UsageError(command, "--station takes 0 to 99"), false;
  if (a.values.count("--slot") && (!ParseNumber(a.values["--slot"], o.slot) || o.slot < 0 || o.slot > 28))
    return exitCode = UsageError(command, "--slot takes 0 to 28"), false;
  if (a.values.count("--timeout") &&
      (!ParseNumber(a.values["--timeout"], o.timeout) || o.timeout < 1 || o.timeout > 60))
    return exitCode = UsageError(command, "--timeout takes 1 to 60 seconds"), false;
  o.rest = a.positional;
  return true;
}

int MakeLink(const char* command, const UnitOptions& o, OpenLink& l) {
  std::string error;
  int acceptWaitSec = 0;
  if (!ParseDestination(o.dest, l.destination.data(), acceptWaitSec, error)) return UsageError(command, error);
  // Given explicitly, the answer time-out replaces the destination's own.
  if (o.timeout > 0) tavinter::CConnectionRecord(l.destination.data()).SetTimeout(static_cast<int32_t>(o.timeout));
  const int kind = tavinter::CConnectionRecord(l.destination.data()).Kind();
  if (kind == tavinter::kKindEthernet || kind == tavinter::kKindEthernet8)
    l.watch = std::make_unique<CConsoleConnectWatch>();
  l.library = std::make_unique<CFixedDestinationLibrary>(l.destination);
  l.library->SetAfterOpen(AcceptWait(acceptWaitSec));
  l.link = std::make_unique<CUnitLink>(kAppName, *l.library, l.ui);
  l.link->SetDestination(static_cast<uint16_t>(o.station), "");
  l.link->SetSlotNo(static_cast<uint16_t>(o.slot));
  return kExitOk;
}

int Connect(const char* command, const UnitOptions& o, OpenLink& l) {
  if (int rc = MakeLink(command, o, l)) return rc;
  int rc = l.link->Open(nullptr, false, false, false);
  if (rc != 0) {
    std::fprintf(stderr, "%s\n", l.link->GetErrorString(rc).c_str());
    return kExitCommunication;
  }
  return kExitOk;
}

int Fail(OpenLink& l, int rc) {
  std::fprintf(stderr, "%s\n", l.link->GetErrorString(rc).c_str());
  l.link->Close();
  return kExitCommunication;
}

int ConnectToUnitAxes(const char* command, const UnitOptions& o, OpenLink& l, CUnitAxisConfig& unit) {
  if (int rc = Connect(command, o, l); rc != kExitOk) return rc;
  const int rc = ReadUnitAxisConfig(*l.link, unit);
  if (rc == kUnitLayoutInvalid) {
    std::fprintf(stderr, "%s\n", MonitorText(kMonUnitAxesNotCorrect).c_str());
    l.link->Close();
    return kExitLayout;
  }
  return rc != 0 ? Fail(l, rc) : kExitOk;
}

void OnStopSignals(void (*handler)(int)) {
  struct sigaction sa {};
  sa.sa_handler = handler;
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);
}

namespace {

int ReadWords(const Args& args) {
  UnitOptions o;
  int exitCode = kExitOk;
  if (!ParseUnitOptions("read-words", args, o, exitCode)) return exitCode;
  long long address = 0, count = 0;
  if (o.rest.size() != 2 || !ParseNumber(o.rest[0], address) || !ParseNumber(o.rest[1], count))
    return UsageError("read-words", "expected ADDRESS COUNT");
  if (address < 0 || address % 2 || address > 0x1FFFFE) return UsageError("read-words", "ADDRESS must be an even byte address");
  if (count < 1 || count > 0x10000) return UsageError("read-words", "COUNT must be 1 to 65536");
  OpenLink l;
  if (int rc = Connect("read-words", o, l); rc != kExitOk) return rc;
  std::vector<uint16_t> words(static_cast<size_t>(count));
  if (int rc = l.link->Read(static_cast<uint32_t>(address), static_cast<uint32_t>(count), words.data(), kReportNone); rc != 0)
    return Fail(l, rc);
  for (long long i = 0; i < count; ++i)
    std::printf("0x%llX 0x%04X\n", static_cast<unsigned long long>(address + 2 * i), words[static_cast<size_t>(i)]);
  l.link->Close();
  return kExitOk;
}

int WriteWords(const Args& args) {
  UnitOptions o;
  int exitCode = kExitOk;
  if (!ParseUnitOptions("write-words", args, o, exitCode)) return exitCode;
  long long address = 0;
  if (o.rest.size() < 2 || !ParseNumber(o.rest[0], address)) return UsageError("write-words", "expected ADDRESS WORD...");
  if (address < 0 || address % 2 || address > 0x1FFFFE) return UsageError("write-words", "ADDRESS must be an even byte address");
  std::vector<uint16_t> words;
  for (size_t i = 1; i < o.rest.size(); ++i) {
    long long w = 0;
    if (!ParseNumber(o.rest[i], w) || w < 0 || w > 0xFFFF)
      return UsageError("write-words", "\"" + o.rest[i] + "\" is not a word (0 to 0xFFFF)");
    words.push_back(static_cast<uint16_t>(w));
  }
  OpenLink l;
  if (int rc = Connect("write-words", o, l); rc != kExitOk) return rc;
  if (int rc = l.link->Write(static_cast<uint32_t>(address), static_cast<uint32_t>(words.size()), words.data(), kReportNone); rc != 0)
    return Fail(l, rc);
  l.link->Close();
  return kExitOk;
}

int UnitInfo(const Args& args) {
  UnitOptions o;
  int exitCode = kExitOk;
  if (!ParseUnitOptions("unit-info", args, o, exitCode)) return exitCode;
  if (!o.rest.empty()) return UsageError("unit-info", "unexpected argument \"" + o.rest[0] + "\"");
  OpenLink l;
  if (int rc = Connect("unit-info", o, l); rc != kExitOk) return rc;
  uint16_t model = 0, firmware = 0, hardware = 0, fromCount = 0, layout[unitaddr::kLayoutWords] = {};
  int rc = l.link->Read(unitaddr::kModelCode, 1, &model, kReportNone);
  if (rc == 0) rc = l.link->Read(unitaddr::kFirmwareVersion, 1, &firmware, kReportNone);
  if (rc == 0) rc = l.link->Read(unitaddr::kHardwareVersion, 1, &hardware, kReportNone);
  if (rc == 0) rc = l.link->Read(unitaddr::kFromWriteCount, 1, &fromCount, kReportNone);
  if (rc == 0) rc = l.link->Read(unitaddr::kLayout, unitaddr::kLayoutWords, layout, kReportNone);
  if (rc != 0) return Fail(l, rc);
  l.link->Close();
  std::printf("model code:       %u\n", model);
  std::printf("model name:       %s\n", IsKnownModel(model) ? GetModelName(model).c_str() : "(unknown model)");
  std::printf("axes:             %d\n", GetModelAxisCount(model));
  if (IsKnownModel(model)) std::printf("family:           %s\n", GetFamilyName(GetModelFamily(model)).c_str());
  std::printf("axis layout:      0x%04X 0x%04X 0x%04X 0x%04X 0x%04X\n", layout[0], layout[1], layout[2], layout[3],
              layout[4]);
  std::printf("FROM writes:      %u\n", fromCount);
  std::printf("firmware version: 0x%04X\n", firmware);
  std::printf("hardware version: 0x%04X\n", hardware);
  return kExitOk;
}

}  // namespace

const std::vector<Command>& UnitCommands() {
  static const std::string readHelp = std::string("Usage: axcfg read-words ADDRESS COUNT [options]\n"
                                                  "Prints one line per word: its byte address and its value.\n") + kDestHelp;
  static const std::string writeHelp = std::string("Usage: axcfg write-words ADDRESS WORD... [options]\n"
                                                   "Writes the words from ADDRESS on.\n") + kDestHelp;
  static const std::string infoHelp = std::string("Usage: axcfg unit-info [options]\n"
                                                  "Model code and name, family, axis layout words, FROM write count, versions.\n") + kDestHelp;
  static const std::vector<Command> commands = {
      {"read-words", "read words of the unit's shared memory", readHelp.c_str(), ReadWords},
      {"write-words", "write words of the unit's shared memory", writeHelp.c_str(), WriteWords},
      {"unit-info", "show what the connected unit reports about itself", infoHelp.c_str(), UnitInfo},
  };
  return commands;
}

}  // namespace axcfg::cli
