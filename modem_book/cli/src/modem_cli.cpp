#include "modem_cli.h"

#include <cstdio>
#include <algorithm>
#include <functional>
#include <map>
#include <optional>

#include "dial_command.h"
#include "modem_book/book_json.h"
#include "modem_book/modem_strings.h"
#include "modem_book/tel_connect_doc.h"
#include "platform/command_line.h"
#include "platform/file_util.h"
#include "platform/named_mutex.h"

namespace modembook {

namespace {

const char* const kUsage =
    "Usage: KELD_TavModem [-<product code>] COMMAND [--book FILE]\n"
    "Commands:\n"
    "  --list                       the phone book as JSON\n"
    "  --export OUT                 the same JSON into a file\n"
    "  --import IN [--replace]      entries of a JSON export or a phone book file,\n"
    "                               appended (or replacing the book)\n"
    "  --add --title T --phone P [--baud RATE] [--data 8|7] [--parity N|O|E] [--stop 1|2]\n"
    "  --delete INDEX               removes the entry at INDEX (from 1)\n"
    "  --ports                      the modem settings of COM1..COM15 as JSON\n"
    "  --set-port N [--dial-mode pulse|tone|other] [--dial-command C] [--init-command C]\n"
    "               [--plc-timeout S] [--line-timeout S]\n"
    "                               changes port N and makes it the last-used port\n"
    "  --reset-all                  every port to its defaults and an empty phone book\n"
    "  --dial INDEX [--port N] [--hold S] [--force]\n"
    "                               connects entry INDEX through the modem of port N (the\n"
    "                               last-used port), holds the call S seconds (until SIGTERM\n"
    "                               or the line is lost without --hold), then hangs up once\n"
    "                               other programs let go; --force ends them after 5 minutes.\n"
    "                               SIGINT while dialling cancels the dial.\n"
    "Exit codes: 0 done, 2 usage or refused input, 3 phone book file, 4 connect or hang-up\n"
    "error, 5 another copy holds the settings.\n";

// The commands, whether each changes anything, and the options each takes.
struct CommandKind {
  bool takesValue;
  bool changes;
};
const std::map<std::string, CommandKind> kCommands = {
    {"--list", {false, false}},   {"--export", {true, false}}, {"--import", {true, true}},
    {"--add", {false, true}},     {"--delete", {true, true}},  {"--ports", {false, false}},
    {"--set-port", {true, true}}, {"--reset-all", {false, true}}, {"--dial", {true, false}},
};
const std::map<std::string, std::vector<std::string>> kOptionsOf = {
    {"--import", {"--replace"}},
    {"--dial", {"--port", "--hold", "--force"}},
    {"--add", {"--title", "--phone", "--baud", "--data", "--parity", "--stop"}},
    {"--set-port", {"--dial-mode", "--dial-command", "--init-command", "--plc-timeout", "--line-timeout"}},
};

struct Request {
  std::string command, value, book;
  std::map<std::string, std::string> options;
};

int Fail(int code, const std::string& message) {
  std::fprintf(stderr, "KELD_TavModem: %s\n", message.c_str());
  return code;
}

int BookFailure(int id) { return Fail(kExitDataFile, ModemText(static_cast<unsigned>(id))); }

// A whole number in text, nothing else.
std::optional<long> Number(const std::string& text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  size_t used = 0;
  try {
    long v = std::stol(text, &used);
    if (used != text.size()) return std::nullopt;
    return v;
  } catch (...) {
    return std::nullopt;
  }
}

bool Parse(const std::vector<std::string>& args, Request& r, std::string& error) {
  platform::CCommandLine line;
  for (const auto& [name, kind] : kCommands) kind.takesValue ? line.AddValue(name.substr(2)) : line.AddFlag(name.substr(2));
  line.AddValue("book");
  line.AddFlag("replace");
  line.AddFlag("force");
  for (const auto& [command, options] : kOptionsOf)
    for (const auto& option : options)
      if (option != "--replace" && option != "--force") line.AddValue(option.substr(2));
  if (!line.Parse(args, error)) return false;
  if (!line.Positional().empty()) {
    error = "unknown argument \"" + line.Positional().front() + "\"";
    return false;
  }
  for (const auto& [name, value] : line.Given()) {
    if (kCommands.count(name)) {
      if (!r.command.empty()) {
        error = "one command at a time (" + r.command + " and " + name + ")";
        return false;
      }
      r.command = name;
      r.value = value;
    } else if (name == "--book") {
      r.book = value;
    } else {
      r.options[name] = value;
    }
  }
  if (r.command.empty()) {
    error = "no command";
    return false;
  }
  const auto allowed = kOptionsOf.count(r.command) ? kOptionsOf.at(r.command) : std::vector<std::string>{};
  for (const auto& [name, value] : r.options)
    if (std::find(allowed.begin(), allowed.end(), name) == allowed.end()) {
      error = name + " does not go with " + r.command;
      return false;
    }
  return true;
}

int Print(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  return std::fflush(stdout) == 0 ? kExitOk : Fail(kExitDataFile, "cannot write the output");
}

int Save(CTelConnectDoc& doc) {
  int rc = doc.SaveModified();
  return rc ? BookFailure(rc) : kExitOk;
}

int Export(const CTelConnectDoc& doc, const std::string& path) {
  std::string error;
  if (!platform::WriteFileAtomic(path, BookJson(doc), &error)) return Fail(kExitDataFile, error);
  return kExitOk;
}

int Import(CTelConnectDoc& doc, const Request& r) {
  std::string bytes, error;
  if (!platform::ReadWholeFile(r.value, bytes, &error)) return Fail(kExitUsage, error);
  std::vector<CPhoneBookEntry> entries;
  if (!EntriesFromImport(bytes, entries, error)) return Fail(kExitUsage, r.value + ": " + error);
  if (int rc = doc.Import(entries, r.options.count("--replace") != 0)) return Fail(kExitUsage, ModemText(rc));
  return Save(doc);
}

int Add(CTelConnectDoc& doc, const Request& r) {
  CPhoneBookEntry e;
  auto opt = [&](const char* name) -> std::optional<std::string> {
    auto it = r.options.find(name);
    return it == r.options.end() ? std::nullopt : std::optional<std::string>(it->second);
  };
  if (!opt("--title") || !opt("--phone")) return Fail(kExitUsage, "--add needs --title and --phone");
  if (!e.SetTitle(*opt("--title")))
    return Fail(kExitUsage, "the title takes at most 40 Shift_JIS bytes, of characters Shift_JIS has");
  if (!e.SetPhone(*opt("--phone")))
    return Fail(kExitUsage, "the phone number takes at most 30 printable ASCII characters");
  if (auto baud = opt("--baud")) {
    auto rate = Number(*baud);
    int index = rate ? BaudIndexOfRate(*rate) : -1;
    if (index < 0) return Fail(kExitUsage, "--baud takes 1200, 2400, 4800, 9600, 19200, 38400, 57600 or 115200");
    e.SetBaudIndex(static_cast<int16_t>(index));
  }
  const std::map<std::string, int16_t> data{{"8", 0}, {"7", 1}}, parity{{"N", 0}, {"O", 1}, {"E", 2}},
      stop{{"1", 0}, {"2", 1}};
  auto pick = [&](const char* name, const std::map<std::string, int16_t>& table, std::function<void(int16_t)> set) {
    auto v = opt(name);
    if (!v) return true;
    auto it = table.find(*v);
    if (it == table.end()) return false;
    set(it->second);
    return true;
  };
  if (!pick("--data", data, [&](int16_t v) { e.SetDataLength(v); })) return Fail(kExitUsage, "--data takes 8 or 7");
  if (!pick("--parity", parity, [&](int16_t v) { e.SetParity(v); }))
    return Fail(kExitUsage, "--parity takes N, O or E");
  if (!pick("--stop", stop, [&](int16_t v) { e.SetStopBits(v); })) return Fail(kExitUsage, "--stop takes 1 or 2");
  if (int rc = doc.Add(e)) return Fail(kExitUsage, ModemText(static_cast<unsigned>(rc)));
  return Save(doc);
}

int Delete(CTelConnectDoc& doc, const Request& r) {
  auto index = Number(r.value);
  int selection = -1;
  if (int rc = doc.Delete(index ? static_cast<int>(*index - 1) : -1, selection))
    return Fail(kExitUsage, ModemText(static_cast<unsigned>(rc)));
  return Save(doc);
}

int SetPort(CTelConnectDoc& doc, const Request& r) {
  auto com = Number(r.value);
  if (!com || *com < 1 || *com > kPortCount) return Fail(kExitUsage, "--set-port takes a COM number from 1 to 15");
  const int n = static_cast<int>(*com);
  CPortModemSettings s = doc.Port(n);
  for (const auto& [name, value] : r.options) {
    if (name == "--dial-mode") {
      const std::map<std::string, int16_t> modes{{"pulse", kDialPulse}, {"tone", kDialTone}, {"other", kDialOther}};
      if (!modes.count(value)) return Fail(kExitUsage, "--dial-mode takes pulse, tone or other");
      s.dialMode = modes.at(value);
    } else if (name == "--dial-command") {
      if (!ValidDialCommand(value)) return Fail(kExitUsage, "the dial command takes at most 10 printable ASCII characters");
      s.dialCommand = value;
    } else if (name == "--init-command") {
      if (!ValidInitCommand(value))
        return Fail(kExitUsage, "the initial command takes at most 39 printable ASCII characters");
      s.initCommand = value;
    } else {
      const bool plc = name == "--plc-timeout";
      auto v = Number(value);
      if (!v || !(plc ? ValidPlcTimeout(static_cast<int>(*v)) : ValidLineTimeout(static_cast<int>(*v))))
        return Fail(kExitUsage, plc ? "--plc-timeout takes 1..30, 35, 40, 45, 50, 55 or 60"
                                    : "--line-timeout takes 1..60, 70, 80 ... 180");
      (plc ? s.plcTimeout : s.lineTimeout) = static_cast<int>(*v);
    }
  }
  doc.SetPort(n, s);
  doc.SetCurrentPort(n);
  // Saving makes the port the last-used one even when nothing else changed.
  doc.SetPortModified(n, true);
  return Save(doc);
}

int Dial(CTelConnectDoc& doc, const Request& r, bool ownsSettings) {
  DialCommand c;
  const auto index = Number(r.value);
  if (!index) return Fail(kExitUsage, "--dial takes an entry number from 1");
  c.index = static_cast<int>(*index);
  if (r.options.count("--port")) {
    const auto port = Number(r.options.at("--port"));
    if (!port || *port < 1 || *port > kPortCount) return Fail(kExitUsage, "--port takes a COM number from 1 to 15");
    c.port = static_cast<int>(*port);
  }
  c.holdSeconds = -1;
  if (r.options.count("--hold")) {
    const auto hold = Number(r.options.at("--hold"));
    if (!hold || *hold < 0) return Fail(kExitUsage, "--hold takes a number of seconds");
    c.holdSeconds = static_cast<int>(*hold);
  }
  c.force = r.options.count("--force") != 0;
  // A copy that does not own the settings writes nothing back.
  c.writeBack = ownsSettings;
  return RunDial(doc, c, TavDialLibrary(), SteadySessionClock());
}

}  // namespace

int RunModemCli(const std::vector<std::string>& args) {
  if (args.size() == 1 && args[0] == "--help") {
    std::fputs(kUsage, stdout);
    return kExitOk;
  }
  Request r;
  std::string error;
  if (!Parse(args, r, error)) {
    std::fprintf(stderr, "KELD_TavModem: %s\n%s", error.c_str(), kUsage);
    return kExitUsage;
  }
  // Changing commands own the settings for their run, as the window's first copy does.
  platform::NamedMutex mutex("KELDTAVMODEM");
  const bool wantsSettings = kCommands.at(r.command).changes || r.command == "--dial";
  const bool owns = wantsSettings && mutex.TryLock();
  if (kCommands.at(r.command).changes && !owns)
    return Fail(kExitOtherCopy, "another copy of KELD_TavModem holds the settings; nothing was changed");

  CTelConnectDoc doc;
  if (!r.book.empty()) doc.SetPath(r.book);
  if (int rc = doc.Load()) return BookFailure(rc);
  doc.ReadPortSettings();

  if (r.command == "--list") return Print(BookJson(doc));
  if (r.command == "--export") return Export(doc, r.value);
  if (r.command == "--ports") return Print(PortsJson(doc));
  if (r.command == "--import") return Import(doc, r);
  if (r.command == "--add") return Add(doc, r);
  if (r.command == "--delete") return Delete(doc, r);
  if (r.command == "--set-port") return SetPort(doc, r);
  if (r.command == "--dial") return Dial(doc, r, owns);
  doc.InitialiseRegisteredData();
  return Save(doc);
}

}  // namespace modembook
