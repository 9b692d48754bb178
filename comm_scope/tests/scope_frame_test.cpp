// The viewer's windows offscreen, on a scripted library: tree, views,
// context menu, save, configuration, property window and terminal.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QPrintDialog>
#include <QPrinter>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTreeWidget>
#include <chrono>
#include <fstream>
#include <map>
#include <thread>

#include "config_dialog.h"
#include "message_box_recorder.h"
#include "monitor_view.h"
#include "platform/folders.h"
#include "platform/registry.h"
#include "property_dialog.h"
#include "scope_commands.h"
#include "scope_frame.h"
#include "scripted_viewer_library.h"
#include "file_bytes.h"
#include "tavinter/request_record.h"

#include "tavinter/ethernet_link_record.h"

using namespace commscope;
using commscope::testing::CScriptedViewerLibrary;

namespace {

class ScopeFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    lib.AddPort(326);
    lib.AddClient(0, 21, 326, "AxisCfg");
    lib.AddClient(1, 22, 326, "tool two");
    lib.PortRing(326).Append("[port header]");
    lib.ClientRing(22).Append("[client header]");
    frame = std::make_unique<CScopeFrame>(lib);
  }
  QTreeWidgetItem* Item(const QString& text) {
    auto found = frame->Tree()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
  }

  CScriptedViewerLibrary lib;
  std::unique_ptr<CScopeFrame> frame;
};

TEST_F(ScopeFrame, TreeListsPortsAndClientsAndFollowsTheSnapshot) {
  QTreeWidgetItem* root = frame->Tree()->topLevelItem(0);
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->text(0), "Device Information");
  QTreeWidgetItem* port = Item("PLC-Simulation");
  ASSERT_NE(port, nullptr);
  EXPECT_TRUE(port->isExpanded());
  ASSERT_EQ(port->childCount(), 2);
  EXPECT_EQ(port->child(0)->text(0), "001 AxisCfg");
  EXPECT_EQ(port->child(1)->text(0), "002 tool two");
  EXPECT_EQ(lib.portWatch[326], 1);

  lib.AddPort(70);
  frame->WatchTick();
  EXPECT_NE(Item("Com2"), nullptr);
  lib.status->portInUse[69] = 0;
  frame->WatchTick();
  EXPECT_EQ(Item("Com2"), nullptr);
  EXPECT_EQ(lib.portWatch[70], 0);
  frame.reset();
  EXPECT_EQ(lib.portWatch[326], 0);  // the end lets go of every port
}

TEST_F(ScopeFrame, DoubleClickOpensViewsThatFollowNewRecords) {
  QTreeWidgetItem* client = Item("002 tool two");
  ASSERT_NE(client, nullptr);
  frame->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
  frame->Tree()->setCurrentItem(client);
  QRect at = frame->Tree()->visualItemRect(client);
  QTest::mouseClick(frame->Tree()->viewport(), Qt::LeftButton, {}, at.center());
  QTest::mouseDClick(frame->Tree()->viewport(), Qt::LeftButton, {}, at.center());
  CMonitorView* view = frame->ActiveView();
  ASSERT_NE(view, nullptr);
  EXPECT_TRUE(view->Document().IsClient());
  EXPECT_EQ(view->Document().Records(), std::vector<std::string>{"[client header]"});
  EXPECT_EQ(view->windowTitle(), "PLC-Simulation 002 tool two");

  // Opening the same item again brings the view up rather than a second one.
  frame->Execute(ID_FILE_OPEN_MONITOR);
  EXPECT_EQ(frame->Mdi()->subWindowList().size(), 1);
  CMonitorView* portView = frame->OpenPortView(326);
  ASSERT_NE(portView, nullptr);
  EXPECT_EQ(frame->Mdi()->subWindowList().size(), 2);
  EXPECT_EQ(frame->OpenPortView(71), nullptr);  // no record area, no view

  view->resize(400, 100);
  for (int i = 0; i < 200; ++i) lib.ClientRing(22).Append("frame " + std::to_string(i));
  frame->WatchTick();
  EXPECT_EQ(view->Document().Records().back(), "frame 199");
  EXPECT_TRUE(view->FollowsEnd());
  // Scrolled up, the view stays where the user put it.
  view->verticalScrollBar()->setValue(0);
  EXPECT_FALSE(view->FollowsEnd());
  lib.ClientRing(22).Append("frame 200");
  frame->WatchTick();
  EXPECT_EQ(view->verticalScrollBar()->value(), 0);
  // End goes back to the newest line and follows it again.
  QTest::keyClick(view, Qt::Key_End, Qt::ControlModifier);
  EXPECT_TRUE(view->FollowsEnd());
  EXPECT_EQ(view->verticalScrollBar()->value(), view->verticalScrollBar()->maximum());

  // The client's ring goes: the view stays with its lines, marked ended.
  lib.rings.erase(CScriptedViewerLibrary::Key({true, 22}));
  frame->WatchTick();
  EXPECT_TRUE(view->Document().Ended());
  EXPECT_TRUE(view->windowTitle().endsWith("(ended)"));
  EXPECT_EQ(frame->DocumentCount(), 2);
  frame->Mdi()->setActiveSubWindow(frame->Mdi()->subWindowList().first());
  frame->Execute(ID_FILE_CLOSE_MONITOR);
  QCoreApplication::processEvents();
  EXPECT_EQ(frame->DocumentCount(), 1);
}

TEST_F(ScopeFrame, ContextMenuPausesClearsAndSaves) {
  CMonitorView* view = frame->OpenPortView(326);
  ASSERT_NE(view, nullptr);
  QMenu* menu = view->findChild<QMenu*>();
  ASSERT_NE(menu, nullptr);
  QStringList texts;
  for (QAction* a : menu->actions())
    if (!a->isSeparator()) texts << a->text();
  EXPECT_EQ(texts, (QStringList{"&Start Monitoring", "Clear Monitoring &Data", "&Open Monitor View",
                                "&Close Monitor View", "Save &As...", "&Print..", "Print Pre&view",
                                "Communication P&roperty"}));
  EXPECT_EQ(frame->Action(ID_FILE_SAVE_AS)->shortcut(), QKeySequence("Ctrl+A"));

  // Start Monitoring unchecked pauses this view's watching; checked resumes it.
  ASSERT_TRUE(frame->Action(ID_MONITOR_START)->isChecked());
  frame->Action(ID_MONITOR_START)->trigger();
  EXPECT_TRUE(view->Document().Paused());
  lib.PortRing(326).Append("while paused");
  frame->WatchTick();
  EXPECT_EQ(view->Document().Records().size(), 1u);
  frame->Action(ID_MONITOR_START)->trigger();
  frame->WatchTick();
  EXPECT_EQ(view->Document().Records().back(), "while paused");

  std::string file = platform::DataDir() + "/saved.txt";
  platform::EnsureDir(platform::DataDir());
  frame->askSaveFile = [&] { return QString::fromStdString(file); };
  frame->Execute(ID_FILE_SAVE_AS);
  EXPECT_EQ(keldtest::ReadBytes(file), "[port header]\r\nwhile paused\r\n");

  keldtest::MessageBoxRecorder boxes;
  frame->askSaveFile = [] { return QString("/nonexistent-dir/x.txt"); };
  frame->Execute(ID_FILE_SAVE_AS);
  ASSERT_EQ(boxes.Texts().size(), 1u);
  EXPECT_EQ(boxes.Texts()[0], "KELD_TavScope failed to make the file.");
  EXPECT_EQ(boxes.boxes[0].caption, "KELD_TavScope");

  // Printing: the print window accepted with a PDF file as the printer.
  std::string pdf = platform::DataDir() + "/printed.pdf";
  frame->runDialog = [&](QDialog& d) {
    auto* print = dynamic_cast<QPrintDialog*>(&d);
    if (!print) return 0;
    print->printer()->setOutputFormat(QPrinter::PdfFormat);
    print->printer()->setOutputFileName(QString::fromStdString(pdf));
    return static_cast<int>(QDialog::Accepted);
  };
  for (int i = 0; i < 300; ++i) lib.PortRing(326).Append("printed line " + std::to_string(i));
  frame->WatchTick();
  frame->Execute(ID_FILE_PRINT);
  std::string printed = keldtest::ReadBytes(pdf);
  auto count = printed.find("/Count ");
  ASSERT_NE(count, std::string::npos);
  EXPECT_GE(std::stoi(printed.substr(count + 7)), 2);  // 300 lines take more than one page

  frame->Execute(ID_MONITOR_CLEAR);
  EXPECT_TRUE(view->Document().Records().empty());
}

TEST_F(ScopeFrame, ConfigurationWritesTheLogSwitches) {
  bool shown = false;
  frame->runDialog = [&](QDialog& d) {
    auto* config = dynamic_cast<CConfigDialog*>(&d);
    if (!config) return 0;
    shown = true;
    EXPECT_EQ(config->windowTitle(), "Configuration");
    config->Box("Simulation")->setChecked(true);
    config->chooseFolder = [](const QString&) { return QString("/tmp"); };
    QTest::mouseClick(config->findChild<QPushButton*>("browse"), Qt::LeftButton);  // &Browse
    EXPECT_EQ(config->FolderEdit()->text(), "/tmp");
    config->accept();
    return config->result();
  };
  frame->Execute(ID_OPTION_CONFIG);
  ASSERT_TRUE(shown);
  using platform::Registry;
  EXPECT_EQ(Registry::ReadString(platform::Hive::CurrentUser, "SOFTWARE\\KELD\\KELD_TavScope\\LogFile", "Simulation"),
            "1");
  EXPECT_EQ(Registry::ReadString(platform::Hive::CurrentUser, "SOFTWARE\\KELD\\KELD_TavScope\\LogFile", "H0"), "0");
  EXPECT_EQ(Registry::ReadString(platform::Hive::CurrentUser, "SOFTWARE\\KELD\\KELD_TavScope\\LogFile", "Folder"),
            "/tmp");
}

TEST_F(ScopeFrame, AFailedRegistryWriteIsReportedAndTheWindowStays) {
  std::string hive = platform::Registry::HivePath(platform::Hive::CurrentUser);
  platform::EnsureDir(hive.substr(0, hive.rfind('/')));
  ::unlink(hive.c_str());
  ASSERT_EQ(::mkdir(hive.c_str(), 0700), 0);  // no hive file can be written there
  keldtest::MessageBoxRecorder boxes;
  int result = -1;
  frame->runDialog = [&](QDialog& d) {
    d.accept();
    return result = d.result();
  };
  frame->Execute(ID_OPTION_CONFIG);
  ::rmdir(hive.c_str());
  EXPECT_EQ(result, QDialog::Rejected);  // still open: accept did not close it
  ASSERT_EQ(boxes.Texts().size(), 1u);
  EXPECT_EQ(boxes.Texts()[0], "KELD_TavScope failed to write the communication log settings.");
}

TEST_F(ScopeFrame, PropertyWindowOfTheSelectedPort) {
  tavinter::CChannelConfig c;
  c.SetKind(11);
  c.SetTimeout(3);
  lib.configs[326].assign(c.Bytes().begin(), c.Bytes().end());
  frame->Tree()->setCurrentItem(Item("001 AxisCfg"));  // a client selects its port
  QString type, timeout;
  frame->runDialog = [&](QDialog& d) {
    if (auto* p = dynamic_cast<CPropertyDialog*>(&d)) type = p->ValueOf("Network type"), timeout = p->ValueOf("Timeout(s)");
    return 0;
  };
  frame->Execute(ID_OPTION_PROPERTY);
  EXPECT_EQ(type, "PLC-Simulation");
  EXPECT_EQ(timeout, "3");
}

TEST_F(ScopeFrame, PropertyWindowOfAnEthernetClientShowsItsLink) {
  lib.AddPort(12);
  lib.AddClient(2, 31, 12, "eth one");
  lib.AddClient(3, 32, 12, "eth two");
  tavinter::EthernetLinkRecord link;
  link.kind = 5;
  link.handle = 31;
  link.source = "192.168.3.10";
  link.sourcePort = 50000;
  link.destination = "192.168.3.39";
  link.destinationPort = 5001;
  link.destinationStation = 4;
  link.header = true;
  link.timeoutSec = 7;
  lib.links[31] = link.Write();
  frame->WatchTick();
  QTreeWidgetItem* first = Item("Ethernet(8)");
  ASSERT_NE(first, nullptr);
  ASSERT_EQ(first->childCount(), 2);
  frame->Tree()->setCurrentItem(first->child(0));
  std::map<QString, QString> shown;
  frame->runDialog = [&](QDialog& d) {
    if (auto* p = dynamic_cast<CPropertyDialog*>(&d))
      for (const auto& label : EthernetLinkLabels()) shown[QString::fromStdString(label)] = p->ValueOf(QString::fromStdString(label));
    return 0;
  };
  keldtest::MessageBoxRecorder boxes;
  frame->Execute(ID_OPTION_PROPERTY);
  EXPECT_EQ(shown["Source IP address"], "192.168.3.10");
  EXPECT_EQ(shown["Source port No."], "50000");
  EXPECT_EQ(shown["Destination IP address"], "192.168.3.39");
  EXPECT_EQ(shown["Destination St No."], "4");
  EXPECT_EQ(shown["Use QE-LAN unit"], "Yes");
  EXPECT_EQ(shown["Timeout(s)"], "7");
  EXPECT_TRUE(boxes.Texts().empty());
  // A client the server has no link for is told so.
  shown.clear();
  frame->Tree()->setCurrentItem(first->child(1));
  frame->Execute(ID_OPTION_PROPERTY);
  EXPECT_TRUE(shown.empty());
  ASSERT_EQ(boxes.Texts().size(), 1u);
  EXPECT_EQ(boxes.Texts()[0], "The Ethernet link settings of this client cannot be shown.");
}

TEST_F(ScopeFrame, TerminalStartsFromTheProgramFolderOnly) {
  std::string dir = platform::DataDir() + "/bin";
  platform::EnsureDir(dir);
  frame->programDir = dir;
  frame->Tree()->setCurrentItem(Item("PLC-Simulation"));
  keldtest::MessageBoxRecorder boxes;
  frame->Execute(ID_OPTION_TERMINAL);
  ASSERT_EQ(boxes.Texts().size(), 1u);  // missing: said so
  EXPECT_NE(boxes.Texts()[0].find("TAVTERM.EXE"), std::string::npos);

  std::string record = platform::DataDir() + "/terminal-args.txt";
  {
    std::ofstream stub(dir + "/TAVTERM.EXE");
    stub << "#!/bin/sh\necho \"$@\" > '" << record << ".tmp' && mv '" << record << ".tmp' '" << record << "'\n";
  }
  ::chmod((dir + "/TAVTERM.EXE").c_str(), 0755);
  frame->Execute(ID_OPTION_TERMINAL);
  EXPECT_EQ(boxes.Texts().size(), 1u);
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!QFile::exists(QString::fromStdString(record)) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  std::ifstream in(record);
  std::string args;
  std::getline(in, args);
  EXPECT_EQ(args, "-326");
}

}  // namespace
