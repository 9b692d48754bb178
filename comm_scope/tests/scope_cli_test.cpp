// The command line on a scripted library: output, files and exit codes.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <fstream>
#include <sstream>

#include "platform/folders.h"
#include "platform/registry.h"
#include "scope_cli.h"
#include "scripted_viewer_library.h"
#include "file_bytes.h"
#include "tavinter/request_record.h"

using namespace commscope;
using commscope::testing::CScriptedViewerLibrary;
using keldtest::ReadBytes;

namespace {

struct CliRun {
  int code;
  std::string out;
  std::string err;
};

CliRun Cli(CScriptedViewerLibrary& lib, std::vector<std::string> args) {
  std::ostringstream out, err;
  int code = RunScopeCommandLine(args, lib, out, err);
  return {code, out.str(), err.str()};
}

QJsonObject Json(const std::string& text) { return QJsonDocument::fromJson(QByteArray::fromStdString(text)).object(); }

TEST(ScopeCli, StatusListsPortsAndClients) {
  CScriptedViewerLibrary lib;
  lib.AddPort(326);
  lib.AddClient(1, 77, 326, "AxisCfg \"main\"");
  CliRun r = Cli(lib, {"--status"});
  ASSERT_EQ(r.code, 0) << r.err;
  QJsonArray ports = Json(r.out)["ports"].toArray();
  ASSERT_EQ(ports.size(), 1);
  EXPECT_EQ(ports[0].toObject()["port"].toInt(), 326);
  EXPECT_EQ(ports[0].toObject()["name"].toString(), "PLC-Simulation");
  QJsonObject c = ports[0].toObject()["clients"].toArray()[0].toObject();
  EXPECT_EQ(c["number"].toInt(), 2);
  EXPECT_EQ(c["handle"].toInt(), 77);
  EXPECT_EQ(c["label"].toString(), "002 AxisCfg \"main\"");
}

TEST(ScopeCli, ExportsPortAndClientRecords) {
  CScriptedViewerLibrary lib;
  lib.AddPort(70);
  lib.AddClient(4, 31, 70, "tool");
  lib.PortRing(70).Append("[port]");
  lib.ClientRing(31).Append(std::string(118, 'a'));
  lib.ClientRing(31).Append("bc");
  platform::EnsureDir(platform::DataDir());
  std::string file = platform::DataDir() + "/out.txt";
  ASSERT_EQ(Cli(lib, {"--export-port", "70", file}).code, 0);
  EXPECT_EQ(ReadBytes(file), "[port]\r\n");
  ASSERT_EQ(Cli(lib, {"--export-client", "5", file}).code, 0);
  EXPECT_EQ(ReadBytes(file), std::string(118, 'a') + "bc\r\n");
  EXPECT_EQ(lib.recordWatch[CScriptedViewerLibrary::Key({true, 31})], 0);  // detached again

  EXPECT_EQ(Cli(lib, {"--export-port", "71", file}).code, kExitNotInUse);
  EXPECT_EQ(Cli(lib, {"--export-client", "6", file}).code, kExitNotInUse);
  CliRun bad = Cli(lib, {"--export-port", "70", "/nonexistent-dir/x.txt"});
  EXPECT_EQ(bad.code, kExitFailure);
  EXPECT_EQ(bad.err, "KELD_TavScope failed to make the file.\n");
}

TEST(ScopeCli, PropertyPrintsTheWindowsLines) {
  CScriptedViewerLibrary lib;
  tavinter::CChannelConfig c;
  c.SetKind(1);
  c.SetPort(2);
  c.SetBaudIndex(4);
  c.SetDataBits(8);
  c.SetStopBits(1);
  c.SetTimeout(5);
  lib.configs[70].assign(c.Bytes().begin(), c.Bytes().end());
  CliRun r = Cli(lib, {"--property", "70"});
  ASSERT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "Network type: K-net(RS232C)\nPort: COM2\nBaudrate: 19200\nData: 8\nParity: NON\nStop: 1\nTimeout(s): 5\n");
  EXPECT_EQ(Cli(lib, {"--property", "71"}).code, kExitNotInUse);
}

TEST(ScopeCli, LogSettingsReadAndWrite) {
  CScriptedViewerLibrary lib;
  ASSERT_EQ(Cli(lib, {"--set-log", "Simulation=1", "H0=1", "--folder", "/tmp"}).code, 0);
  CliRun r = Cli(lib, {"--log-settings"});
  ASSERT_EQ(r.code, 0);
  QJsonObject o = Json(r.out);
  EXPECT_EQ(o["key"].toString(), "SOFTWARE\\KELD\\KELD_TavScope\\LogFile");
  EXPECT_EQ(o["folder"].toString(), "/tmp");
  QJsonArray devices = o["devices"].toArray();
  QJsonObject last = devices.last().toObject();
  EXPECT_EQ(last["name"].toString(), "Simulation");
  EXPECT_TRUE(last["on"].toBool());
  EXPECT_EQ(last["pattern"].toString(), "TavSml_YYMMDD_HHMMSS.LOG");

  // Without --folder the stored folder stays; a folder that does not exist is refused.
  ASSERT_EQ(Cli(lib, {"--set-log", "Simulation=0"}).code, 0);
  EXPECT_EQ(platform::Registry::ReadString(platform::Hive::CurrentUser, "SOFTWARE\\KELD\\KELD_TavScope\\LogFile",
                                           "Folder"),
            "/tmp");
  EXPECT_EQ(platform::Registry::ReadString(platform::Hive::CurrentUser, "SOFTWARE\\KELD\\KELD_TavScope\\LogFile",
                                           "Simulation"),
            "0");
  EXPECT_EQ(Cli(lib, {"--set-log", "H1=1", "--folder", "/nonexistent-dir"}).code, kExitFailure);
  EXPECT_EQ(platform::Registry::ReadString(platform::Hive::CurrentUser, "SOFTWARE\\KELD\\KELD_TavScope\\LogFile",
                                           "H1"),
            "0");  // nothing written
}

TEST(ScopeCli, UsageErrors) {
  CScriptedViewerLibrary lib;
  for (std::vector<std::string> args :
       {std::vector<std::string>{}, {"--status", "x"}, {"--property"}, {"--property", "0"}, {"--property", "327"},
        {"--property", "7x"}, {"--export-port", "70"}, {"--export-client", "513", "f"}, {"--set-log"},
        {"--set-log", "Nothing=1"}, {"--set-log", "H0=2"}, {"--set-log", "H0"}, {"--set-log", "--folder"}, {"--bogus"}})
    EXPECT_EQ(Cli(lib, args).code, kExitUsage) << (args.empty() ? "" : args[0]);
  EXPECT_TRUE(IsScopeCommandLine({"--status"}));
  EXPECT_FALSE(IsScopeCommandLine({"-platform", "offscreen"}));
  EXPECT_EQ(Cli(lib, {"--help"}).code, 0);
}

}  // namespace
