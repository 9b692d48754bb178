#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "connsrv/connection_core.h"
#include "connsrv/result_codes.h"
#include "fake_library.h"
#include "fake_link.h"
#include "loopback_port.h"
#include "plcframe/frame_codec.h"
#include "tavinter/ethernet_link_config.h"
#include "tavinter/tavinter.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

using namespace connsrv;
using namespace connsrv_test;
using plcframe::CompleteFrame;
using tavinter::CChannelConfig;
using tavinter::CRequestRecord;

namespace {

struct CoreTest : ::testing::Test {
  FakeClock clock;
  FakeLibrary lib;
  CServerSettings settings;
  CConnectionCore core{326, lib, clock, settings};

  static CRequestRecord OpenRecord(int16_t handle, int16_t kind = tavinter::kKindSimulation) {
    CRequestRecord r;
    r.SetClientHandle(handle);
    r.SetClientName("client" + std::to_string(handle));
    CChannelConfig c;
    c.SetKind(kind);
    c.SetTimeout(2);
    r.SetChannelConfig(c);
    r.SetOpenValue(7);
    return r;
  }
  static CRequestRecord Command(int16_t handle, const std::string& text, int16_t station = 1, uint16_t flags = 0) {
    CRequestRecord r;
    r.SetClientHandle(handle);
    r.SetSubNumber(3);
    r.SetStation(station);
    r.SetFlags(flags);
    EXPECT_TRUE(r.SetCommandText(text));
    return r;
  }
  int Send(int code, const CRequestRecord& r) { return core.Handle(code, r.Bytes().data(), r.Bytes().size()); }
};

TEST_F(CoreTest, OpenCommandAndCloseOnTheSimulationChannel) {
  ASSERT_EQ(Send(tavinter::kRequestOpen, OpenRecord(1)), kOk);
  EXPECT_EQ(CConnectionCore::ClientResult(tavinter::kRequestOpen, kOk), kClientResult);
  EXPECT_TRUE(core.ChannelOpen());
  EXPECT_EQ(lib.configValue, 7);
  EXPECT_EQ(lib.calls, (std::vector<std::string>{"add 1 client1", "opendone 1"}));

  std::string answer = CompleteFrame("%01$RD1234");
  lib.simAnswers = {answer};
  ASSERT_EQ(Send(tavinter::kRequestCommand, Command(1, "%01#RDD0000000001")), kOk);
  EXPECT_EQ(lib.frames[0], CompleteFrame("%01#RDD0000000001"));
  EXPECT_EQ(lib.stations[0], 1);
  EXPECT_EQ(lib.delivered[1], answer.substr(3));
  ASSERT_EQ(lib.logs.size(), 2u);
  EXPECT_EQ(lib.logs[0].direction, kLogSent);
  EXPECT_EQ(lib.logs[0].sub, 3);
  EXPECT_EQ(lib.logs[1].direction, kLogReceived);
  EXPECT_EQ(lib.logs[1].bytes, answer);

  // No answer, a bad code, and "**" in place of the code.
  EXPECT_EQ(Send(tavinter::kRequestCommand, Command(1, "%01#RT")), kErrNoAnswer);
  std::string bad = answer;
  bad[bad.size() - 2] ^= 1;
  lib.simAnswers = {bad};
  EXPECT_EQ(Send(tavinter::kRequestCommand, Command(1, "%01#RD")), kErrBlockCheck);
  lib.simAnswers = {"%01$RD12**\r"};
  EXPECT_EQ(Send(tavinter::kRequestCommand, Command(1, "%01#RD")), kOk);
  // The marked form: logged as 17 and 16, the answer prefixed with its length.
  lib.simAnswers = {answer};
  lib.logs.clear();
  ASSERT_EQ(Send(tavinter::kRequestCommand, Command(1, "%01#RD", 1, 0x0010)), kOk);
  EXPECT_EQ(lib.logs[0].direction, kLogSentMarked);
  EXPECT_EQ(lib.logs[1].direction, kLogReceivedCounted);
  std::string body = answer.substr(3);
  EXPECT_EQ(lib.delivered[1], std::string(1, static_cast<char>(body.size())) + '\0' + body);

  ASSERT_EQ(Send(tavinter::kRequestOpen, OpenRecord(2)), kOk);
  CRequestRecord close1, close2;
  close1.SetClientHandle(1);
  close2.SetClientHandle(2);
  EXPECT_EQ(Send(tavinter::kRequestClose, close1), kOk);
  EXPECT_TRUE(core.ChannelOpen());
  EXPECT_EQ(Send(tavinter::kRequestClose, close1), kErrClient);
  EXPECT_EQ(Send(tavinter::kRequestClose, close2), kCloseLast);
  EXPECT_EQ(CConnectionCore::ClientResult(tavinter::kRequestClose, kCloseLast), kClientResult);
  EXPECT_FALSE(core.ChannelOpen());
  EXPECT_EQ(lib.tearDowns, 1);
}

TEST_F(CoreTest, SimulationBroadcastAndNoAnswerRequestsSucceedOnceSent) {
  ASSERT_EQ(Send(tavinter::kRequestOpen, OpenRecord(1)), kOk);
  // A broadcast reaches the simulated PLC, is not answered, and holds the
  // server for the SLPTIME pause.
  ASSERT_EQ(Send(tavinter::kRequestCommand, Command(1, "%FF#UWD00000900010001")), kOk);
  EXPECT_EQ(lib.frames.back(), CompleteFrame("%FF#UWD00000900010001"));
  EXPECT_EQ(clock.slept, settings.slpTimeMs);
  // Flag 0x0001: sent, no answer awaited, success without a pause.
  ASSERT_EQ(Send(tavinter::kRequestCommand, Command(1, "%01#WCSR00011", 1, tavinter::kFlagNoAnswer)), kOk);
  EXPECT_EQ(lib.frames.back(), CompleteFrame("%01#WCSR00011"));
  EXPECT_EQ(clock.slept, settings.slpTimeMs);
  // Without the flag the same silence is a PLC that did not answer.
  EXPECT_EQ(Send(tavinter::kRequestCommand, Command(1, "%01#WCSR00011")), kErrNoAnswer);
}

TEST_F(CoreTest, ClientListRules) {
  for (int h = 1; h <= 512; ++h) ASSERT_EQ(Send(tavinter::kRequestOpen, OpenRecord(static_cast<int16_t>(h))), kOk) << h;
  EXPECT_EQ(Send(tavinter::kRequestOpen, OpenRecord(600)), kErrClient);
  EXPECT_EQ(CConnectionCore::ClientResult(tavinter::kRequestOpen, kErrClient), kErrClient);
  // A second open with a handle already present fails and takes the handle out.
  EXPECT_EQ(Send(tavinter::kRequestOpen, OpenRecord(5)), kErrClient);
  EXPECT_FALSE(core.Clients().Contains(5));
  EXPECT_EQ(core.Clients().Count(), 511u);
  EXPECT_EQ(Send(tavinter::kRequestCommand, Command(5, "%01#RT")), kErrClient);
  EXPECT_EQ(Send(13, Command(6, "")), kOk);  // accepted without action
  EXPECT_EQ(Send(12345, Command(6, "")), kOk);
  EXPECT_EQ(Send(100, Command(6, "")), kErrNoBoard);
}

TEST_F(CoreTest, BoardRequestsAreRefusedAndTheAcceptedCodesSucceedWithoutAction) {
  ASSERT_EQ(Send(tavinter::kRequestOpen, OpenRecord(1)), kOk);
  for (int code : {11, 12, 20, 25, 27, 50, 100, 101, 110, 120}) EXPECT_EQ(Send(code, Command(1, "")), kErrNoBoard) << code;
  for (int code : {13, 14, 28, 29, 42, 45, 49}) EXPECT_EQ(Send(code, Command(1, "")), kOk) << code;
  EXPECT_TRUE(lib.frames.empty());  // none of them reached the PLC
}

TEST_F(CoreTest, ModemRequestsNeedAModemChannel) {
  ASSERT_EQ(Send(tavinter::kRequestOpen, OpenRecord(1)), kOk);
  for (int code : {tavinter::kRequestDial, tavinter::kRequestHangUp, tavinter::kRequestModemResult})
    EXPECT_EQ(Send(code, Command(1, "ATDT1")), kErrNotModem) << code;
  for (int code : {tavinter::kRequestAcceptCheck, tavinter::kRequestOpenLink})
    EXPECT_EQ(Send(code, Command(1, "")), kErrChannelKind) << code;
  EXPECT_EQ(core.CallHandle(), 0);
  EXPECT_TRUE(lib.frames.empty());
  // A modem whose device is missing fails the open like a serial one.
  EXPECT_EQ(Send(tavinter::kRequestOpen, OpenRecord(2, tavinter::kKindModem)), kOk);  // the channel stays simulated
  CConnectionCore other{327, lib, clock, settings};
  CRequestRecord modem = OpenRecord(3, tavinter::kKindModemAlarm);
  EXPECT_EQ(other.Handle(tavinter::kRequestOpen, modem.Bytes().data(), modem.Bytes().size()), kErrSerialOpen);
}

TEST_F(CoreTest, ChannelKindsThisBuildDoesNotCarryFailTheOpen) {
  EXPECT_EQ(Send(tavinter::kRequestOpen, OpenRecord(1, tavinter::kKindBoardH)), kErrLibraryOpen);
  EXPECT_EQ(Send(tavinter::kRequestOpen, OpenRecord(1, tavinter::kKindBoardP)), kErrBoardAttach);
  // An Ethernet link without a destination cannot be set up.
  EXPECT_EQ(Send(tavinter::kRequestOpen, OpenRecord(1, tavinter::kKindEthernet)), kErrEthernetSetup);
  EXPECT_TRUE(core.Clients().Empty());
  EXPECT_FALSE(core.ChannelOpen());
  EXPECT_EQ(lib.calls.back(), "openfailed 1");
  // A serial device that cannot be opened.
  EXPECT_EQ(Send(tavinter::kRequestOpen, OpenRecord(1, tavinter::kKindSerial)), kErrSerialOpen);
  EXPECT_FALSE(core.ChannelOpen());
}

TEST_F(CoreTest, DamagedRecordsAreRefused) {
  ASSERT_EQ(Send(tavinter::kRequestOpen, OpenRecord(1)), kOk);
  CRequestRecord r = Command(1, "%01#RT");
  auto& b = r.Bytes();
  std::fill(b.begin() + CRequestRecord::kCommandText, b.begin() + CRequestRecord::kCommandText + 2049, 'A');
  EXPECT_EQ(Send(tavinter::kRequestCommand, r), kErrBadRecord);
  CRequestRecord raw = Command(1, "");
  raw.SetDataLength(9400);  // more than the record's command area holds
  EXPECT_EQ(Send(tavinter::kRequestRawBytes, raw), kErrBadRecord);
  EXPECT_EQ(core.Handle(tavinter::kRequestCommand, b.data(), 100), kErrBadRecord);
  EXPECT_EQ(core.Handle(tavinter::kRequestCommand, nullptr, 9369), kErrBadRecord);
  CRequestRecord name = OpenRecord(2);
  std::fill(name.Bytes().begin() + 2, name.Bytes().begin() + 82, 'n');
  EXPECT_EQ(Send(tavinter::kRequestOpen, name), kErrBadRecord);
  // Raw transfers need a byte link; the simulation has none.
  EXPECT_EQ(Send(tavinter::kRequestRawText, Command(1, "%01#RT")), kErrChannelKind);
}

TEST_F(CoreTest, PreCommandStationPauseAndNotedCommand) {
  CRequestRecord open = OpenRecord(1);
  CChannelConfig c = open.ChannelConfig();
  c.SetStationPause(40);
  open.SetChannelConfig(c);
  ASSERT_EQ(Send(tavinter::kRequestOpen, open), kOk);
  lib.preCommand = "%01#WCSR00011";
  lib.simAnswers = {CompleteFrame("%01$WC"), CompleteFrame("%01$RD1")};
  ASSERT_EQ(Send(tavinter::kRequestCommand, Command(1, "%01#RD")), kOk);
  ASSERT_EQ(lib.frames.size(), 2u);
  EXPECT_EQ(lib.frames[0], CompleteFrame("%01#WCSR00011"));
  EXPECT_EQ(clock.slept, 40);
  // Same station again: no pause (UNITCHK); another station: a pause.
  lib.preCommand.clear();
  lib.simAnswers = {CompleteFrame("%01$RD1"), CompleteFrame("%02$RD1")};
  Send(tavinter::kRequestCommand, Command(1, "%01#RD"));
  EXPECT_EQ(clock.slept, 40);
  Send(tavinter::kRequestCommand, Command(1, "%02#RD", 2));
  EXPECT_EQ(clock.slept, 80);
  // Request 16: no pre-command, no pause; the library hears of the command.
  lib.preCommand = "%01#XX";
  lib.frames.clear();
  lib.simAnswers = {CompleteFrame("%03$RD1")};
  ASSERT_EQ(Send(tavinter::kRequestCommandNoted, Command(1, "%03#RD", 3)), kOk);
  EXPECT_EQ(lib.frames.size(), 1u);
  EXPECT_EQ(clock.slept, 80);
  EXPECT_EQ(lib.calls.back(), "note %03#RD");
}

TEST_F(CoreTest, MonitorRegistersOnceThenOnlyRuns) {
  ASSERT_EQ(Send(tavinter::kRequestOpen, OpenRecord(1)), kOk);
  CRequestRecord m = Command(1, "", 1);
  ASSERT_TRUE(m.SetDataRegistration(0, "%01#MDD00100"));
  ASSERT_TRUE(m.SetContactRegistration(0, "%01#MCR0001"));
  lib.simAnswers = {CompleteFrame("%01$MD"), CompleteFrame("%01$MD"), CompleteFrame("%01$MC"),
                    CompleteFrame("%01$MC"), CompleteFrame("%01$MG0102")};
  ASSERT_EQ(Send(tavinter::kRequestMonitor, m), kOk);
  ASSERT_EQ(lib.frames.size(), 5u);
  EXPECT_EQ(lib.frames[0], CompleteFrame("%01#MDFFFFFF"));
  EXPECT_EQ(lib.frames[1], CompleteFrame("%01#MDD00100"));
  EXPECT_EQ(lib.frames[2], CompleteFrame("%01#MCFFFFF"));
  EXPECT_EQ(lib.frames[4], CompleteFrame("%01#MG"));
  EXPECT_EQ(lib.delivered[1], CompleteFrame("%01$MG0102").substr(3));
  lib.frames.clear();
  lib.simAnswers = {CompleteFrame("%01$MG0102")};
  ASSERT_EQ(Send(tavinter::kRequestMonitor, m), kOk);
  EXPECT_EQ(lib.frames, std::vector<std::string>{CompleteFrame("%01#MG")});
  // The client's pre-command goes first, as before a PLC command.
  lib.preCommand = "%01#WCSR00011";
  lib.frames.clear();
  lib.simAnswers = {CompleteFrame("%01$WC"), CompleteFrame("%01$MG0102")};
  ASSERT_EQ(Send(tavinter::kRequestMonitor, m), kOk);
  EXPECT_EQ(lib.frames, (std::vector<std::string>{CompleteFrame("%01#WCSR00011"), CompleteFrame("%01#MG")}));
  lib.preCommand.clear();
  // Two data frames: the run command takes the long-frame header.
  ASSERT_TRUE(m.SetDataRegistration(1, "%01#MDD00200"));
  lib.frames.clear();
  lib.simAnswers = {CompleteFrame("%01$MD"), CompleteFrame("%01$MD"), CompleteFrame("%01$MD"),
                    CompleteFrame("<01$MG01")};
  ASSERT_EQ(Send(tavinter::kRequestMonitor, m), kOk);
  EXPECT_EQ(lib.frames.back(), CompleteFrame("<01#MG"));
}

TEST_F(CoreTest, AFailedOpenOfAFurtherClientKeepsTheRunningChannel) {
  ASSERT_EQ(Send(tavinter::kRequestOpen, OpenRecord(1)), kOk);
  // A further client never reopens the channel, whatever kind it asks for.
  ASSERT_EQ(Send(tavinter::kRequestOpen, OpenRecord(2, tavinter::kKindEthernetListen)), kOk);
  EXPECT_TRUE(core.ChannelOpen());
  lib.simAnswers = {CompleteFrame("%01$RD1")};
  EXPECT_EQ(Send(tavinter::kRequestCommand, Command(1, "%01#RD")), kOk);
}

TEST_F(CoreTest, ReadOneByteMakesOneShortReadOnly) {
  int master = -1, slave = -1;
  char name[256];
  ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
  lib.comPaths[4] = name;
  CRequestRecord open = OpenRecord(1, tavinter::kKindSerial);
  CChannelConfig c = open.ChannelConfig();
  c.SetPort(4);
  c.SetTimeout(5);
  c.SetBaudIndex(3);
  c.SetDataBits(8);
  c.SetStopBits(1);
  open.SetChannelConfig(c);
  ASSERT_EQ(Send(tavinter::kRequestOpen, open), kOk);
  // A waiting byte is delivered and logged as received.
  ASSERT_EQ(::write(master, "Q", 1), 1);
  ASSERT_EQ(Send(tavinter::kRequestReadByte, Command(1, "")), kOk);
  EXPECT_EQ(lib.delivered[1], "Q");
  EXPECT_EQ(lib.logs.back().direction, kLogReceived);
  // A byte that comes a second later is not waited for: the server would
  // hold every other client meanwhile.
  std::thread late([&] {
    std::this_thread::sleep_for(std::chrono::seconds(1));
    (void)!::write(master, "R", 1);
  });
  EXPECT_EQ(Send(tavinter::kRequestReadByte, Command(1, "")), kErrNoAnswer);
  late.join();
  EXPECT_EQ(Send(tavinter::kRequestReadByte, Command(1, "")), kOk);
  EXPECT_EQ(lib.delivered[1], "R");
  core.Shutdown();
  ::close(master);
  ::close(slave);
}

TEST_F(CoreTest, RawSendsReadByLengthOrLineWithoutHuntingForAStart) {
  int master = -1, slave = -1;
  char name[256];
  ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
  termios raw{};
  tcgetattr(master, &raw);
  cfmakeraw(&raw);
  tcsetattr(master, TCSANOW, &raw);
  lib.comPaths[4] = name;
  CRequestRecord open = OpenRecord(1, tavinter::kKindSerial);
  CChannelConfig c = open.ChannelConfig();
  c.SetPort(4);
  c.SetBaudIndex(3);
  c.SetDataBits(8);
  c.SetStopBits(1);
  open.SetChannelConfig(c);
  ASSERT_EQ(Send(tavinter::kRequestOpen, open), kOk);
  // The peer reads what was sent, then answers.
  auto peer = [&](size_t expect, std::string answer) {
    return std::thread([=] {
      std::string got;
      char buf[512];
      while (got.size() < expect) {
        ssize_t n = ::read(master, buf, sizeof buf);
        if (n <= 0) break;
        got.append(buf, static_cast<size_t>(n));
      }
      (void)!::write(master, answer.data(), answer.size());
    });
  };

  // 2,500 raw bytes go out whole; a 4-byte binary answer is taken by length.
  std::vector<uint8_t> data(2500);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i);
  CRequestRecord bytes = Command(1, "");
  ASSERT_TRUE(bytes.SetCommandBytes(data));
  bytes.SetAnswerLength(4);
  const std::string binary("\x01\x00\x7F\x02", 4);
  std::thread t1 = peer(data.size(), binary);
  EXPECT_EQ(Send(tavinter::kRequestRawBytes, bytes), kOk);
  t1.join();
  ASSERT_EQ(lib.delivered[1].size(), kAnswerBuffer);
  EXPECT_EQ(lib.delivered[1].substr(0, 4), binary);

  // Text sent unchanged (0x0020): an answer without "%" up to its line end.
  std::thread t2 = peer(4, "OK\r");
  EXPECT_EQ(Send(tavinter::kRequestRawText, Command(1, "ATZ\r", 1, tavinter::kFlagRawUnchanged)), kOk);
  t2.join();
  EXPECT_EQ(lib.delivered[1].substr(0, 4), std::string("OK\r\0", 4));
  core.Shutdown();
  ::close(master);
  ::close(slave);
}

// Every code the server can return has a text of its own in both languages.
TEST(ServerCodes, EachHasATextInBothLanguages) {
  TavSetLanguage(nullptr, 1);
  for (int code : kServerErrorCodes) {
    char e[256], j[256];
    ASSERT_EQ(TavGetErrorText(code, e, sizeof e), 0);
    EXPECT_EQ(std::string(e).find("Communication error ["), std::string::npos) << code;
    TavSetLanguage(nullptr, 0);
    ASSERT_EQ(TavGetErrorText(code, j, sizeof j), 0);
    TavSetLanguage(nullptr, 1);
    EXPECT_STRNE(e, j) << code;
  }
}

TEST_F(CoreTest, TickRemovesVanishedClientsAndEndsWhenIdle) {
  EXPECT_FALSE(core.Tick(100));  // idle from now
  EXPECT_FALSE(core.Tick(101));
  EXPECT_FALSE(core.Tick(103));
  EXPECT_TRUE(core.Tick(104));   // more than 3 seconds
  ASSERT_EQ(Send(tavinter::kRequestOpen, OpenRecord(1)), kOk);
  ASSERT_EQ(Send(tavinter::kRequestOpen, OpenRecord(2)), kOk);
  lib.dead.insert(1);
  EXPECT_FALSE(core.Tick(200));
  EXPECT_FALSE(core.Clients().Contains(1));
  EXPECT_TRUE(core.ChannelOpen());
  lib.dead.insert(2);
  EXPECT_FALSE(core.Tick(201));
  EXPECT_FALSE(core.ChannelOpen());
  EXPECT_FALSE(core.Tick(202));  // the idle time starts again
  EXPECT_FALSE(core.Tick(205));
  EXPECT_TRUE(core.Tick(206));
}

namespace {

// A plain socket connected to 127.0.0.1:port, standing in for the PLC.
int ConnectLoopback(uint16_t port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(port);
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 ? fd : (close(fd), -1);
}

CRequestRecord ListenRecord(int16_t handle, uint16_t listenPort) {
  CRequestRecord r;
  r.SetClientHandle(handle);
  r.SetClientName("plc waits " + std::to_string(handle));
  tavinter::EthernetLinkConfig link;
  link.kind = tavinter::kKindEthernetListen;
  link.port = 8;
  link.destination = "127.0.0.1";
  link.sourcePort = listenPort;
  link.sourceStation = 3;
  link.destinationStation = 1;
  CChannelConfig c;
  link.WriteTo(c);
  c.SetTimeout(1);
  r.SetChannelConfig(c);
  return r;
}

}  // namespace

// The links of an Ethernet port are mirrored in the library's table: their
// record when set up, their state as the PLC connects, their removal when the
// client goes. Requests along a route the library cannot give never go out.
TEST(EthernetCore, LinksAreMirroredInTheLibraryAndUnknownRoutesSendNothing) {
  FakeClock clock;
  FakeLibrary lib;
  CServerSettings settings;
  CConnectionCore core{12, lib, clock, settings};
  auto send = [&](int code, const CRequestRecord& r) { return core.Handle(code, r.Bytes().data(), r.Bytes().size()); };
  const uint16_t listenPort = keldtest::FreeLoopbackPort();
  ASSERT_EQ(send(tavinter::kRequestOpen, ListenRecord(1, listenPort)), kOk);
  ASSERT_EQ(lib.links.count(1), 1u);
  EXPECT_EQ(lib.links[1].record.kind, 9);
  EXPECT_EQ(lib.links[1].record.sourcePort, listenPort);
  EXPECT_EQ(lib.links[1].record.sourceStation, 3);
  EXPECT_EQ(lib.links[1].state, 1);  // listening

  const int plc = ConnectLoopback(listenPort);
  ASSERT_GE(plc, 0);
  sockaddr_in local{};
  socklen_t len = sizeof local;
  getsockname(plc, reinterpret_cast<sockaddr*>(&local), &len);
  EXPECT_EQ(send(tavinter::kRequestAcceptCheck, CoreTest::Command(1, "")), 10001);
  EXPECT_EQ(lib.links[1].state, 2);
  EXPECT_EQ(lib.links[1].status, 10001);
  EXPECT_EQ(lib.links[1].peer, "127.0.0.1");
  EXPECT_EQ(lib.links[1].peerPort, ntohs(local.sin_port));
  ASSERT_FALSE(lib.logs.empty());
  EXPECT_EQ(lib.logs.back().direction, kLogReceived);
  EXPECT_EQ(lib.logs.back().bytes, "Connected from 127.0.0.1:" + std::to_string(ntohs(local.sin_port)));

  // Route 5 leads through another network, which a link without the route
  // header cannot carry; route 6 does not exist. Neither request goes out.
  lib.routes[5] = "1.2;0.1";
  CRequestRecord routed = CoreTest::Command(1, "%01#RDD0000000001");
  routed.SetRoute(5);
  EXPECT_EQ(send(tavinter::kRequestCommand, routed), kErrEthernetSetup);
  routed.SetRoute(6);
  EXPECT_EQ(send(tavinter::kRequestCommand, routed), kErrEthernetSetup);
  EXPECT_EQ(send(tavinter::kRequestMonitor, routed), kErrEthernetSetup);
  char byte = 0;
  EXPECT_LT(recv(plc, &byte, 1, MSG_DONTWAIT), 0);

  // A full table refuses the listening link of a further client.
  lib.linkTableFull = true;
  EXPECT_EQ(send(tavinter::kRequestOpen, ListenRecord(2, keldtest::FreeLoopbackPort())), kErrListenRegister);
  EXPECT_EQ(lib.links.count(2), 0u);
  lib.linkTableFull = false;
  ASSERT_EQ(send(tavinter::kRequestOpen, ListenRecord(2, keldtest::FreeLoopbackPort())), kOk);
  EXPECT_EQ(lib.links.count(2), 1u);
  // A client that vanished loses its link at the next tick; a closed one at once.
  lib.dead.insert(2);
  EXPECT_FALSE(core.Tick(100));
  EXPECT_EQ(lib.links.count(2), 0u);
  EXPECT_EQ(send(tavinter::kRequestClose, CoreTest::Command(1, "")), kCloseLast);
  EXPECT_TRUE(lib.links.empty());
  close(plc);
}

}  // namespace
