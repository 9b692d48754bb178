#include "scope_cli.h"

#include <sys/stat.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <array>
#include <memory>

#include "commscope/comm_property.h"
#include "commscope/device_tree.h"
#include "commscope/log_settings.h"
#include "commscope/monitor_document.h"
#include "commscope/port_names.h"
#include "commscope/record_text.h"
#include "commscope/scope_texts.h"

namespace commscope {

namespace {

constexpr const char* kUsage =
    "usage: KELD_TAVSCOPE [--status | --export-port PORT FILE | --export-client NUMBER FILE |\n"
    "                      --property PORT | --log-settings | --set-log NAME=1|0 ... [--folder DIR]]\n"
    "  PORT is the server's port number (1-326), NUMBER the client number of the tree (1-512).\n";

const std::array<std::string, 7> kCommands{"--status",   "--export-port",  "--export-client", "--property",
                                           "--log-settings", "--set-log", "--help"};

QString Q(const std::string& s) { return QString::fromStdString(s); }

bool ParseNumber(const std::string& text, int low, int high, int* value) {
  try {
    size_t used = 0;
    int v = std::stoi(text, &used);
    if (used != text.size() || v < low || v > high) return false;
    *value = v;
    return true;
  } catch (...) {
    return false;
  }
}

void PrintJson(std::ostream& out, const QJsonObject& o) {
  out << QJsonDocument(o).toJson(QJsonDocument::Indented).toStdString();
}

int Status(IViewerLibrary& library, std::ostream& out, std::ostream& err) {
  auto status = std::make_unique<TavStatusSnapshot>();
  if (int rc = library.GetStatus(*status); rc != 0) {
    err << "The status of the ports cannot be read (" << rc << ").\n";
    return kExitFailure;
  }
  QJsonArray ports;
  for (const auto& p : BuildDeviceItems(*status)) {
    QJsonArray clients;
    for (const auto& c : p.clients)
      clients.append(QJsonObject{{"number", c.number}, {"handle", c.handle}, {"label", Q(c.label)}});
    ports.append(QJsonObject{{"port", p.port}, {"name", Q(p.name)}, {"clients", clients}});
  }
  PrintJson(out, QJsonObject{{"ports", ports}});
  return kExitOk;
}

int Export(CMonitorDocument& doc, const std::string& what, const std::string& file, std::ostream& err) {
  if (doc.Open() != 0) {
    err << what << " has no record area.\n";
    return kExitNotInUse;
  }
  unsigned id = ExportText(doc.Records(), file);
  doc.Close();
  if (id != 0) {
    err << ScopeText(id) << "\n";
    return kExitFailure;
  }
  return kExitOk;
}

int ExportClient(IViewerLibrary& library, int number, const std::string& file, std::ostream& err) {
  auto status = std::make_unique<TavStatusSnapshot>();
  int slot = number - 1;
  if (library.GetStatus(*status) != 0 || status->clientHandle[slot] == 0 || status->clientPort[slot] == 0) {
    err << "Client " << number << " is not attached to a port.\n";
    return kExitNotInUse;
  }
  CMonitorDocument doc(library, CMonitorDocument::ClientId(slot), status->clientHandle[slot]);
  return Export(doc, "Client " + std::to_string(number), file, err);
}

int Property(IViewerLibrary& library, int port, std::ostream& out, std::ostream& err) {
  std::array<uint8_t, TAV_CHANNEL_CONFIG_SIZE> config{};
  if (library.PortConfig(port, config.data()) != 0) {
    err << "Port " << port << " is not in use.\n";
    return kExitNotInUse;
  }
  out << PropertyText(DescribeChannel(config.data(), config.size()));
  return kExitOk;
}

int LogSettings(std::ostream& out) {
  CLogSettings s = CLogSettings::Load(CLogSettings::PresentComPorts());
  QJsonArray devices;
  for (const auto& d : s.Devices())
    devices.append(QJsonObject{{"name", Q(d.name)}, {"label", Q(d.label)}, {"pattern", Q(d.pattern)}, {"on", d.on}});
  PrintJson(out, QJsonObject{{"key", Q(CLogSettings::Key())}, {"folder", Q(s.Folder())}, {"devices", devices}});
  return kExitOk;
}

int SetLog(const std::vector<std::string>& args, std::ostream& err) {
  CLogSettings s = CLogSettings::Load(CLogSettings::PresentComPorts());
  bool any = false;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--folder") {
      if (i + 1 >= args.size()) return err << kUsage, kExitUsage;
      struct stat st {};
      const std::string& dir = args[++i];
      if (::stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        err << ScopeText(kIdNoSuchFolder) << " " << dir << "\n";
        return kExitFailure;
      }
      s.SetFolder(dir);
      any = true;
      continue;
    }
    size_t eq = args[i].find('=');
    std::string value = eq == std::string::npos ? "" : args[i].substr(eq + 1);
    LogDevice* d = eq == std::string::npos ? nullptr : s.Find(args[i].substr(0, eq));
    if (!d || (value != "1" && value != "0")) {
      err << "Unknown device or value: " << args[i] << "\n" << kUsage;
      return kExitUsage;
    }
    d->on = value == "1";
    any = true;
  }
  if (!any) return err << kUsage, kExitUsage;
  unsigned id = 0;
  if (!s.Save(&id)) {
    err << ScopeText(id) << "\n";
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace

bool IsScopeCommandLine(const std::vector<std::string>& args) {
  if (args.empty()) return false;
  for (const auto& c : kCommands)
    if (args[0] == c) return true;
  return false;
}

int RunScopeCommandLine(const std::vector<std::string>& args, IViewerLibrary& library, std::ostream& out,
                        std::ostream& err) {
  if (args.empty()) return err << kUsage, kExitUsage;
  const std::string& cmd = args[0];
  int number = 0;
  if (cmd == "--help") return out << kUsage, kExitOk;
  if (cmd == "--status" && args.size() == 1) return Status(library, out, err);
  if (cmd == "--log-settings" && args.size() == 1) return LogSettings(out);
  if (cmd == "--set-log") return SetLog(args, err);
  if (cmd == "--property" && args.size() == 2 && ParseNumber(args[1], 1, kPortCount, &number))
    return Property(library, number, out, err);
  if (cmd == "--export-port" && args.size() == 3 && ParseNumber(args[1], 1, kPortCount, &number)) {
    CMonitorDocument doc(library, CMonitorDocument::PortId(number - 1));
    return Export(doc, "Port " + std::to_string(number), args[2], err);
  }
  if (cmd == "--export-client" && args.size() == 3 && ParseNumber(args[1], 1, kClientSlots, &number))
    return ExportClient(library, number, args[2], err);
  err << kUsage;
  return kExitUsage;
}

}  // namespace commscope
