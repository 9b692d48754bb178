#include "library_settings.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "platform/folders.h"
#include "platform/profile.h"
#include "tavinter/ethernet_link_config.h"
#include "tavinter/serial_settings.h"

namespace tavinter {

namespace fs = std::filesystem;

namespace {

platform::Profile Settings() { return platform::Profile(LibrarySettingsPath()); }

bool UsableSection(const std::string& s) {
  return !s.empty() && s.size() < 80 && s.find_first_of("[]\r\n=") == std::string::npos;
}

void ReadChannel(const platform::Profile& p, const std::string& section, CConnectionRecord r, int defKind,
                 int defPort) {
  r.SetKind(static_cast<int16_t>(p.ReadInt(section, "KIND", defKind)));
  r.SetPort(static_cast<int16_t>(p.ReadInt(section, "PORT", defPort)));
  r.SetTimeout(p.ReadInt(section, "TIMEOUT", 10));
  // Stored values are taken as they are; the serial port decides what it can apply.
  const CSerialSettings d;
  r.SetBaudIndex(static_cast<int16_t>(p.ReadInt(section, "BAUD", d.baudIndex)));
  r.SetDataBits(static_cast<int16_t>(p.ReadInt(section, "DATABITS", d.dataBits)));
  r.SetParity(static_cast<int16_t>(p.ReadInt(section, "PARITY", d.parity)));
  r.SetStopBits(static_cast<int16_t>(p.ReadInt(section, "STOPBITS", d.stopBits)));
  r.SetInitCommand(p.ReadString(section, "TEXT1", defKind == kKindModem ? "ATV1E0S0=1S2=43" : ""));
  r.SetSecondCommand(p.ReadString(section, "TEXT2", ""));
  r.SetTcpPort(p.ReadInt(section, "TCPPORT", 0));
  r.SetLineTimeout(p.ReadInt(section, "LINETIMEOUT", 60));
  r.SetStation(static_cast<int16_t>(p.ReadInt(section, "STATION", 1)));
  r.SetDialMode(static_cast<int16_t>(p.ReadInt(section, "DIALMODE", 1)));
  r.SetDialCommand(p.ReadString(section, "DIALCOMMAND", "AT"));
  // The Ethernet link's further fields; TEXT1 is its destination, TEXT2 its source address.
  CChannelConfig config = r.Config();
  uint8_t* b = config.Bytes().data();
  const size_t n = config.Bytes().size();
  using E = EthernetLinkConfig;
  PutI16(b, n, E::kSourcePort, static_cast<int16_t>(p.ReadInt(section, "SRCPORT", 0)));
  PutI16(b, n, E::kSourceStation, static_cast<int16_t>(p.ReadInt(section, "SRCSTATION", 0)));
  PutI16(b, n, E::kDestinationStation, static_cast<int16_t>(p.ReadInt(section, "DSTSTATION", 0)));
  PutI16(b, n, E::kHeader, static_cast<int16_t>(p.ReadInt(section, "HEADER", 0)));
  PutI32(b, n, E::kConnectLimit, p.ReadInt(section, "CONNECTLIMIT", 0));
  PutI16(b, n, E::kLocalAddress, static_cast<int16_t>(p.ReadInt(section, "LOCALADDRESS", 0)));
  PutI16(b, n, E::kBacklog, static_cast<int16_t>(p.ReadInt(section, "BACKLOG", 0)));
  r.SetConfig(config);
}

bool WriteChannel(platform::Profile& p, const std::string& section, const CConnectionRecord& r) {
  bool ok = p.WriteInt(section, "KIND", r.Kind());
  ok = ok && p.WriteInt(section, "PORT", r.Port());
  ok = ok && p.WriteInt(section, "TIMEOUT", r.Timeout());
  ok = ok && p.WriteInt(section, "BAUD", r.BaudIndex());
  ok = ok && p.WriteInt(section, "DATABITS", r.DataBits());
  ok = ok && p.WriteInt(section, "PARITY", r.Parity());
  ok = ok && p.WriteInt(section, "STOPBITS", r.StopBits());
  ok = ok && p.WriteString(section, "TEXT1", r.InitCommand());
  ok = ok && p.WriteString(section, "TEXT2", r.SecondCommand());
  ok = ok && p.WriteInt(section, "TCPPORT", r.TcpPort());
  ok = ok && p.WriteInt(section, "LINETIMEOUT", r.LineTimeout());
  ok = ok && p.WriteInt(section, "STATION", r.Station());
  ok = ok && p.WriteInt(section, "DIALMODE", r.DialMode());
  ok = ok && p.WriteString(section, "DIALCOMMAND", r.DialCommand());
  const CChannelConfig config = r.Config();
  const uint8_t* b = config.Bytes().data();
  const size_t n = config.Bytes().size();
  using E = EthernetLinkConfig;
  ok = ok && p.WriteInt(section, "SRCPORT", GetU16(b, n, E::kSourcePort));
  ok = ok && p.WriteInt(section, "SRCSTATION", GetI16(b, n, E::kSourceStation));
  ok = ok && p.WriteInt(section, "DSTSTATION", GetI16(b, n, E::kDestinationStation));
  ok = ok && p.WriteInt(section, "HEADER", GetI16(b, n, E::kHeader));
  ok = ok && p.WriteInt(section, "CONNECTLIMIT", GetI32(b, n, E::kConnectLimit));
  ok = ok && p.WriteInt(section, "LOCALADDRESS", GetI16(b, n, E::kLocalAddress));
  ok = ok && p.WriteInt(section, "BACKLOG", GetI16(b, n, E::kBacklog));
  return ok;
}

bool IsExecutable(const fs::path& p) {
  std::error_code ec;
  return fs::is_regular_file(p, ec) && ::access(p.c_str(), X_OK) == 0;
}

}  // namespace

std::string LibrarySettingsPath() { return platform::SettingsRoot() + "/KELD_TAVINTER.INI"; }

bool ReadDestination(const std::string& section, CConnectionRecord record) {
  if (!record.Valid() || !UsableSection(section)) return false;
  ReadChannel(Settings(), section, record, kKindSimulation, 0);
  return true;
}

bool WriteDestination(const std::string& section, const CConnectionRecord& record) {
  if (!record.Valid() || !UsableSection(section)) return false;
  platform::Profile p = Settings();
  return WriteChannel(p, section, record);
}

bool ReadChannelRecord(int channelId, CConnectionRecord record) {
  if (!record.Valid() || channelId <= 0) return false;
  // Modem channels 501..515 stand for COM 1..15.
  int com = channelId >= 501 && channelId <= 756 ? channelId - 500 : 1;
  ReadChannel(Settings(), "CHANNEL" + std::to_string(channelId), record, kKindModem, com);
  return true;
}

bool WriteChannelRecord(int channelId, const CConnectionRecord& record) {
  if (!record.Valid() || channelId <= 0) return false;
  platform::Profile p = Settings();
  return WriteChannel(p, "CHANNEL" + std::to_string(channelId), record);
}

std::vector<int> ModemPorts() {
  std::string list = Settings().ReadString("TAVMODEM", "PORTS", "");
  std::vector<int> ports;
  if (list.empty()) {
    for (int n = 1; n <= 15; ++n) ports.push_back(n);
    return ports;
  }
  std::stringstream ss(list);
  std::string item;
  while (std::getline(ss, item, ',')) {
    int n = platform::Profile::ParseLeadingInt(item);
    if (n >= 1 && n <= 256) ports.push_back(n);
  }
  return ports;
}

int ModemPortCount() { return static_cast<int>(ModemPorts().size()); }

std::string ComDevicePath(int comNo) {
  if (comNo < 1 || comNo > 256) return {};
  std::string key = "COM" + std::to_string(comNo);
  if (const char* env = std::getenv(("KELD_" + key).c_str()); env && *env) return env;
  return Settings().ReadString("PORTMAP", key, "/dev/ttyS" + std::to_string(comNo - 1));
}

std::string ResourceFolder() { return Settings().ReadString("FOLDERS", "RESOURCE", platform::LangDir()); }

std::string CommonFolder() {
  return Settings().ReadString("FOLDERS", "COMMON", fs::path(platform::LangDir()).parent_path().string());
}

std::string ServerProgram() {
  std::string configured = Settings().ReadString("SERVER", "PROGRAM", "");
  if (!configured.empty()) return IsExecutable(configured) ? configured : std::string();
  fs::path beside = fs::path(platform::ProgramDir()) / "KELD_TAVMGR";
  if (IsExecutable(beside)) return beside.string();
  // <prefix>/share/keld/lang -> <prefix>/bin
  fs::path installed = fs::path(platform::LangDir()).parent_path().parent_path().parent_path() / "bin" / "KELD_TAVMGR";
  if (IsExecutable(installed)) return installed.string();
  return {};
}

int ServerStartWaitMs() {
  int v = Settings().ReadInt("SERVER", "STARTWAIT", 10000);
  return v > 0 ? v : 10000;
}

int ReplySlackSeconds() {
  int v = Settings().ReadInt("SERVER", "REPLYSLACK", 30);
  return v >= 0 ? v : 30;
}

std::string PreCommand(int port) { return Settings().ReadString("PRECOMMAND", "PORT" + std::to_string(port), ""); }

std::string RouteText(int index) {
  return RouteValue(Settings().ReadString("ROUTES", "ROUTE" + std::to_string(index), ""));
}

std::string RouteValue(const std::string& stored) {
  std::string text = stored;
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
  return text;
}

std::string SimulationLibrary() {
  std::string configured = Settings().ReadString("SIMULATION", "LIBRARY", "");
  if (!configured.empty()) return configured;
  // Build tree: <build>/lib; installed tree: <prefix>/lib/keld.
  const fs::path prefix = fs::path(platform::ProgramDir()).parent_path();
  for (const fs::path& lib : {prefix / "lib" / "libkeld_plcsim.so", prefix / "lib" / "keld" / "libkeld_plcsim.so"}) {
    std::error_code ec;
    if (fs::exists(lib, ec)) return lib.string();
  }
  return "libkeld_plcsim.so";
}

}  // namespace tavinter
