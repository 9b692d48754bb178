// The server and viewer sides: a request served through the library's own
// endpoint calls, log records in the rings and the log file, the snapshot
// the viewer takes, and the bookkeeping the server keeps in the library.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

#include "library_settings.h"
#include "log_records.h"
#include "platform/comm_log.h"
#include "platform/folders.h"
#include "platform/profile.h"
#include "request_transport.h"
#include "tavinter/connect_cancel.h"
#include "tavinter/dial_cancel.h"
#include "test_home.h"
#include "tavinter/connection_record.h"
#include "tavinter/tavinter.h"

using namespace tavinter;

namespace {

constexpr int kPort = 326;

// A small server loop on the library's server side, as KELD_TAVMGR uses it.
class CLibraryServer {
 public:
  CLibraryServer() {
    TavAttachPort(kPort, TAV_ROLE_SERVER);
    TavAttachPortRecords(kPort);
    fd_ = TavPublishEndpoint(kPort, 1);
    TavServerReady(kPort, "KELDTAVINTER326");
    thread_ = std::thread([this] { Run(); });
  }
  ~CLibraryServer() {
    stop_ = true;
    thread_.join();
    TavPublishEndpoint(kPort, 0);
    TavReleasePort(kPort);
    TavReleasePortFinal(kPort);
  }
  int fd() const { return fd_; }

 private:
  void Run() {
    while (!stop_) {
      int code = 0;
      unsigned char bytes[TAV_REQUEST_RECORD_SIZE];
      int conn = TavAcceptRequest(fd_, &code, bytes, 20);
      if (conn < 0) continue;
      CRequestRecord r;
      r.Parse(bytes, sizeof bytes);
      int h = r.ClientHandle();
      if (code == kRequestOpen) {
        TavAddClient(kPort, h, r.ClientName().c_str());
        TavAttachClientRecords(h);
        TavSetChannelConfig(kPort, r.ChannelConfig().Bytes().data(), r.OpenValue());
        TavOpenDone(kPort, h);
      } else if (code == kRequestClose) {
        TavRemoveClient(kPort, h);
        TavReleaseClient(h);
      } else {
        std::string frame = r.CommandText();
        TavLogRecord(kPort, h, 0, 1, static_cast<int>(frame.size()), frame.data(), "", "");
        std::string answer = "$UR00FF**\r";
        TavDeliverAnswer(h, static_cast<int>(answer.size()), answer.data());
        TavLogRecord(kPort, h, 0, 0, static_cast<int>(answer.size()), answer.data(), "", "");
      }
      TavReplyRequest(conn, h, 10000);
    }
  }
  int fd_ = -1;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

std::array<unsigned char, TAV_CONNECTION_RECORD_SIZE> SimRecord(const char* name) {
  std::array<unsigned char, TAV_CONNECTION_RECORD_SIZE> rec{};
  CConnectionRecord r(rec.data());
  r.SetKind(kKindSimulation);
  r.SetName(name);
  r.SetTimeout(2);
  return rec;
}

// The shared segment outlives a test: each one gives the port back as a
// server does when it ends, so the next one starts with the port free.
class ServerSide : public ::testing::Test {
 protected:
  void TearDown() override {
    TavPublishEndpoint(kPort, 0);
    TavReleasePort(kPort);
    TavReleasePortFinal(kPort);
  }
};

}  // namespace

TEST_F(ServerSide, RequestsRunThroughThePublishedEndpoint) {
  platform::Profile(LibrarySettingsPath()).WriteString("SERVER", "PROGRAM", "/nonexistent");
  CLibraryServer server;
  ASSERT_GE(server.fd(), 0);
  auto rec = SimRecord("AxisCfg");
  ASSERT_EQ(TavOpen(nullptr, rec.data()), 0);
  int handle = CConnectionRecord(rec.data()).ClientHandle();
  uint16_t w = 0;
  ASSERT_EQ(TavReadUnitWords(rec.data(), 1, TAV_MEMORY_UNIT, 0, 0x80, 1, &w), 0);
  EXPECT_EQ(w, 0x00FF);

  // What the viewer sees meanwhile.
  auto status = std::make_unique<TavStatusSnapshot>();
  ASSERT_EQ(TavGetStatus(status.get()), 0);
  EXPECT_EQ(status->portInUse[kPort - 1], 1);
  EXPECT_EQ(status->portClients[kPort - 1], 1);
  int slot = -1;
  for (int i = 0; i < TAV_CLIENT_SLOTS; ++i)
    if (status->clientHandle[i] == handle) slot = i;
  ASSERT_GE(slot, 0);
  EXPECT_EQ(status->clientPort[slot], kPort);
  EXPECT_STREQ(status->clientName[slot], "AxisCfg");
  unsigned char config[TAV_CHANNEL_CONFIG_SIZE];
  ASSERT_EQ(TavGetPortConfig(kPort, config), 0);
  EXPECT_EQ(config[0], kKindSimulation);

  ASSERT_EQ(TavAttachClientRecords(handle), 0);
  EXPECT_EQ(TavClientLineCount(handle), 4);  // sent and received, header and data each
  char line[128];
  ASSERT_EQ(TavCopyClientLine(handle, 1, line, sizeof line), 0);
  EXPECT_STREQ(line, "%01#UR0000080001");
  EXPECT_NE(TavClientStatusByte(handle) & 0x80, 0);
  TavMarkClientSeen(handle);
  EXPECT_EQ(TavClientStatusByte(handle) & 0x80, 0);

  ASSERT_EQ(TavClose(rec.data()), 0);
  ASSERT_EQ(TavGetStatus(status.get()), 0);
  EXPECT_EQ(status->portClients[kPort - 1], 0);
}

TEST_F(ServerSide, MalformedRequestsAreRefused) {
  int fd = TavPublishEndpoint(kPort, 1);
  ASSERT_GE(fd, 0);
  auto send = [](const std::vector<uint8_t>& bytes) {
    int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, EndpointPath(kPort).c_str(), sizeof addr.sun_path - 1);
    EXPECT_EQ(::connect(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    EXPECT_EQ(::send(s, bytes.data(), bytes.size(), MSG_NOSIGNAL), static_cast<ssize_t>(bytes.size()));
    return s;
  };
  int code = 0;
  unsigned char record[TAV_REQUEST_RECORD_SIZE];
  int s = send(std::vector<uint8_t>(100, 1));
  ::shutdown(s, SHUT_WR);
  EXPECT_LT(TavAcceptRequest(fd, &code, record, 1000), 0);  // short
  ::close(s);
  s = send(std::vector<uint8_t>(4 + TAV_REQUEST_RECORD_SIZE + 10, 2));
  EXPECT_LT(TavAcceptRequest(fd, &code, record, 1000), 0);  // over-long
  ::close(s);
  std::vector<uint8_t> good(4 + TAV_REQUEST_RECORD_SIZE, 0);
  good[0] = 10;
  s = send(good);
  int conn = TavAcceptRequest(fd, &code, record, 1000);
  EXPECT_GE(conn, 0);
  EXPECT_EQ(code, 10);
  EXPECT_EQ(TavReplyRequest(conn, 0, -10012), 0);
  ::close(s);
  EXPECT_EQ(TavAcceptRequest(fd, &code, record, 10), TAV_E_REPLY_TIMEOUT);
  TavPublishEndpoint(kPort, 0);
  EXPECT_NE(::access(EndpointPath(kPort).c_str(), F_OK), 0);
}

// A request that comes in pieces is put together and served; a peer that
// hangs up halfway is dropped at the next look, not at the end of its limit.
TEST_F(ServerSide, RequestsInPiecesAreServedAndHalfRequestsDropped) {
  int fd = TavPublishEndpoint(kPort, 1);
  ASSERT_GE(fd, 0);
  auto connect = [] {
    int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, EndpointPath(kPort).c_str(), sizeof addr.sun_path - 1);
    EXPECT_EQ(::connect(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    return s;
  };
  int code = 0;
  unsigned char record[TAV_REQUEST_RECORD_SIZE];
  std::vector<uint8_t> whole(4 + TAV_REQUEST_RECORD_SIZE, 0);
  whole[0] = 15;
  whole[4 + 100] = 0x5A;
  whole.back() = 0xA5;
  const int s = connect();
  const int half = connect();
  ASSERT_EQ(::send(s, whole.data(), 5000, MSG_NOSIGNAL), 5000);
  ASSERT_EQ(::send(half, whole.data(), 3000, MSG_NOSIGNAL), 3000);
  ::shutdown(half, SHUT_WR);
  EXPECT_EQ(TavAcceptRequest(fd, &code, record, 100), TAV_E_REPLY_TIMEOUT);
  // The half request has been dropped already: its peer reads the end.
  char b;
  EXPECT_EQ(::recv(half, &b, 1, MSG_DONTWAIT), 0);
  ASSERT_EQ(::send(s, whole.data() + 5000, whole.size() - 5000, MSG_NOSIGNAL),
            static_cast<ssize_t>(whole.size() - 5000));
  const int conn = TavAcceptRequest(fd, &code, record, 1000);
  ASSERT_GE(conn, 0);
  EXPECT_EQ(code, 15);
  EXPECT_EQ(record[100], 0x5A);
  EXPECT_EQ(record[TAV_REQUEST_RECORD_SIZE - 1], 0xA5);
  EXPECT_EQ(TavReplyRequest(conn, 0, -10012), 0);
  ::close(s);
  ::close(half);
  TavPublishEndpoint(kPort, 0);
}

TEST_F(ServerSide, LogRecordsSplitInto118CharacterLinesAndGoToTheFile) {
  ASSERT_EQ(TavAttachPort(kPort, TAV_ROLE_SERVER), 0);
  ASSERT_EQ(TavAttachPortRecords(kPort), 0);
  std::string data(299, 'x');
  data += '[';  // 300 bytes; the "[" must not start a record of its own
  std::string folder = platform::DataDir() + "/logs here";
  ASSERT_EQ(TavLogRecord(kPort, 0, 3, 1, static_cast<int>(data.size()), data.data(), folder.c_str(),
                         "TavSml_261206_170512.Log"),
            0);
  ASSERT_EQ(TavPortLineCount(kPort), 4);
  char line[128];
  std::vector<std::string> lines;
  for (int i = 0; i < 4; ++i) {
    TavCopyPortLine(kPort, i, line, sizeof line);
    lines.emplace_back(line);
  }
  EXPECT_EQ(lines[0][0], '[');
  EXPECT_NE(lines[0].find("Send"), std::string::npos);
  EXPECT_NE(lines[0].find("Len:300"), std::string::npos);
  EXPECT_EQ(lines[1].size(), 118u);
  EXPECT_EQ(lines[2].size(), 118u);
  EXPECT_EQ(lines[3], std::string(299 - 236, 'x') + "<5B>");
  std::ifstream file(folder + "/TavSml_261206_170512.Log");
  std::stringstream content;
  content << file.rdbuf();
  EXPECT_NE(content.str().find(std::string(299, 'x') + "<5B>\r\n"), std::string::npos);

  // A file name is a bare name; anything else is refused and writes nothing.
  EXPECT_EQ(TavLogRecord(kPort, 0, 0, 1, 1, "x", folder.c_str(), "../escape.Log"), TAV_E_BAD_ARGUMENT);
  EXPECT_EQ(TavLogRecord(kPort, 0, 0, 1, -1, "x", "", ""), TAV_E_BAD_ARGUMENT);
  EXPECT_EQ(TavLogRecord(kPort, 0, 0, 1, 5, nullptr, "", ""), TAV_E_BAD_ARGUMENT);
  EXPECT_EQ(TavLogRecord(0, 0, 0, 1, 1, "x", "", ""), TAV_E_BAD_ARGUMENT);
  // A folder of the original system goes to the folder the server uses by default.
  EXPECT_EQ(LogFolder("c:\\Program Files\\KELD TAVNET"), platform::DefaultLogFolder());
  EXPECT_EQ(LogFolder(""), platform::DataDir() + "/logs");
}

TEST_F(ServerSide, PortRingWrapsKeepingTheNewest3000Lines) {
  ASSERT_EQ(TavAttachPort(kPort, TAV_ROLE_SERVER), 0);
  ASSERT_EQ(TavAttachPortRecords(kPort), 0);
  TavResetPortRecords(kPort);
  for (int i = 0; i < 1600; ++i) {
    std::string d = "frame " + std::to_string(i);
    ASSERT_EQ(TavLogRecord(kPort, 0, 0, 1, static_cast<int>(d.size()), d.data(), "", ""), 0);
  }
  EXPECT_EQ(TavPortLineCount(kPort), 3000);
  int start = TavPortOldestLine(kPort);
  EXPECT_EQ(start, 200);  // 3,200 lines written into 3,000
  char line[128];
  TavCopyPortLine(kPort, (start + 1) % 3000, line, sizeof line);
  EXPECT_STREQ(line, "frame 100");
  TavCopyPortLine(kPort, (start + 2999) % 3000, line, sizeof line);
  EXPECT_STREQ(line, "frame 1599");
  ASSERT_EQ(TavClearPortRecords(kPort), 0);
  EXPECT_EQ(TavPortLineCount(kPort), 0);
}

TEST_F(ServerSide, ViewerGetsNothingWhereThereIsNoRecordArea) {
  int capacity = -1;
  EXPECT_EQ(TavPortRecordArea(200, &capacity), nullptr);
  EXPECT_EQ(TavAttachPortRecords(200), TAV_E_NOT_OPEN);  // only the port's server creates one
  EXPECT_EQ(TavClientRecordArea(12345, &capacity), nullptr);
  EXPECT_EQ(TavPortLineCount(200), TAV_E_NOT_OPEN);
  EXPECT_EQ(TavGetPortConfig(200, nullptr), TAV_E_BAD_ARGUMENT);
  char line[8];
  EXPECT_EQ(TavCopyPortLine(200, 0, line, sizeof line), TAV_E_NOT_OPEN);
  EXPECT_EQ(TavGetStatus(nullptr), TAV_E_BAD_ARGUMENT);
}

TEST_F(ServerSide, AnswersMonitorCacheAndPreCommand) {
  EXPECT_EQ(TavAnswerFirstByte(7), -1);
  ASSERT_EQ(TavDeliverAnswer(7, 3, "$MG"), 0);
  EXPECT_EQ(TavAnswerFirstByte(7), '$');
  EXPECT_EQ(TavDeliverAnswer(7, 5000, std::string(5000, 'x').data()), TAV_E_BUFFER_SMALL);
  EXPECT_EQ(TavDeliverAnswer(7, 3, nullptr), TAV_E_BAD_ARGUMENT);

  std::array<unsigned char, TAV_REGISTRATION_SIZE> frames{}, back{};
  EXPECT_EQ(TavGetMonitorRegistration(kPort, 1, back.data()), 0);
  std::memcpy(frames.data(), "%01#MDD0000000001", 17);
  ASSERT_EQ(TavSetMonitorRegistration(kPort, 1, frames.data()), 0);
  EXPECT_EQ(TavGetMonitorRegistration(kPort, 1, back.data()), 1);
  EXPECT_EQ(back, frames);
  EXPECT_EQ(TavGetMonitorRegistration(kPort, 2, back.data()), 0);  // per station
  frames.fill(0);
  TavSetMonitorRegistration(kPort, 1, frames.data());
  EXPECT_EQ(TavGetMonitorRegistration(kPort, 1, back.data()), 0);

  // No pre-command unless the settings name one for the client's port.
  auto rec = SimRecord("pre");
  platform::Profile(LibrarySettingsPath()).WriteString("SERVER", "PROGRAM", "/nonexistent");
  CLibraryServer server;
  ASSERT_EQ(TavOpen(nullptr, rec.data()), 0);
  int handle = CConnectionRecord(rec.data()).ClientHandle();
  char command[64];
  EXPECT_EQ(TavGetPreCommand(handle, command, sizeof command), 0);
  platform::Profile(LibrarySettingsPath()).WriteString("PRECOMMAND", "PORT326", "%01#WCSR00101");
  EXPECT_EQ(TavGetPreCommand(handle, command, sizeof command), 1);
  EXPECT_STREQ(command, "%01#WCSR00101");
  EXPECT_EQ(TavGetPreCommand(handle, command, 5), TAV_E_BUFFER_SMALL);
  TavClose(rec.data());
}

TEST_F(ServerSide, ModemCallStateSeenByTheOwner) {
  platform::Profile(LibrarySettingsPath()).WriteString("SERVER", "PROGRAM", "/nonexistent");
  CLibraryServer server;
  auto owner = SimRecord("KELD_TavModem 1");
  auto other = SimRecord("AxisCfg");
  ASSERT_EQ(TavOpen(nullptr, owner.data()), 0);
  int handle = CConnectionRecord(owner.data()).ClientHandle();
  EXPECT_EQ(TavLineInUse(1, "KELD_TavModem 1"), 0);
  TavModemConnected(kPort, handle);
  EXPECT_EQ(TavLineInUse(1, "KELD_TavModem 1"), 1);
  EXPECT_EQ(TavLineInUse(0, "KELD_TavModem 1"), 0);
  EXPECT_EQ(TavOthersReleased("KELD_TavModem 1", "KELD_TavModem 1"), 1);
  ASSERT_EQ(TavOpen(nullptr, other.data()), 0);
  EXPECT_EQ(TavOthersReleased("KELD_TavModem 1", "KELD_TavModem 1"), 0);
  EXPECT_EQ(TavPollOthersReleased("KELD_TavModem 1", "KELD_TavModem 1"), 0);
  ASSERT_EQ(TavForceOthersOff("KELD_TavModem 1"), 0);
  EXPECT_EQ(TavPollOthersReleased("KELD_TavModem 1", "KELD_TavModem 1"), 1);
  uint16_t w;
  EXPECT_EQ(TavReadUnitWords(other.data(), 1, TAV_MEMORY_UNIT, 0, 0, 1, &w), TAV_E_FORCED_OFF);
  TavModemDisconnected(kPort);
  EXPECT_EQ(TavLineInUse(1, "KELD_TavModem 1"), 0);
  ASSERT_EQ(TavHangUpDone("KELD_TavModem 1"), 0);
  EXPECT_EQ(TavReadUnitWords(other.data(), 1, TAV_MEMORY_UNIT, 0, 0, 1, &w), 0);
  TavClose(other.data());
  TavClose(owner.data());
}

TEST_F(ServerSide, ConnectWaitIsPublishedToItsClientAndCancelledByIt) {
  platform::Profile(LibrarySettingsPath()).WriteString("SERVER", "PROGRAM", "/nonexistent");
  CLibraryServer server;
  auto rec = SimRecord("AxisCfg");
  ASSERT_EQ(TavOpen(nullptr, rec.data()), 0);
  const int handle = CConnectionRecord(rec.data()).ClientHandle();
  TavConnectWait wait{};
  EXPECT_EQ(TavGetConnectWait(0, &wait), 0);

  // A cancel left from an earlier connect is dropped when the next begins.
  ASSERT_EQ(TavCancelConnect(kPort, handle), 0);
  TavConnectWaitEnded(kPort, handle);
  EXPECT_EQ(TavConnectCancelRequested(kPort, handle), 0);

  const long long before = TavSteadyMs();
  ASSERT_EQ(TavConnectWaitStarted(kPort, handle, std::string(200, 'a').c_str(), 1500, 2), 0);
  ASSERT_EQ(TavGetConnectWait(0, &wait), 1);
  EXPECT_EQ(wait.port, kPort);
  EXPECT_EQ(wait.handle, handle);
  EXPECT_EQ(wait.dispTimeSec, 2);
  EXPECT_EQ(std::string(wait.address), std::string(TAV_CONNECT_ADDRESS_SIZE - 1, 'a'));  // cut, terminated
  EXPECT_LE(wait.startMs, before - 1500 + 50);
  EXPECT_GE(wait.startMs, before - 1500 - 5000);
  ASSERT_EQ(TavGetConnectWait(handle, &wait), 1);
  EXPECT_EQ(TavGetConnectWait(handle + 1, &wait), 0);

  // Only the client's own port; the server takes the flag down as it reads it.
  EXPECT_EQ(TavCancelConnect(kPort - 1, handle), TAV_E_BAD_ARGUMENT);
  EXPECT_EQ(TavConnectCancelRequested(kPort, handle), 0);
  ASSERT_EQ(TavCancelConnect(kPort, handle), 0);
  EXPECT_EQ(TavDialCancelRequested(kPort, handle), 0);  // a dial's flag is another one
  EXPECT_EQ(TavConnectCancelRequested(kPort - 1, handle), 0);
  EXPECT_EQ(TavConnectCancelRequested(kPort, handle), 1);
  EXPECT_EQ(TavConnectCancelRequested(kPort, handle), 0);

  TavConnectWaitEnded(kPort, handle);
  EXPECT_EQ(TavGetConnectWait(0, &wait), 0);
  TavClose(rec.data());
  EXPECT_EQ(TavCancelConnect(kPort, handle), TAV_E_NOT_OPEN);
}

TEST_F(ServerSide, SimulationCallGoesToTheLoadedLibrary) {
  platform::Profile(LibrarySettingsPath()).WriteString("SIMULATION", "LIBRARY", TAVINTER_FAKE_PLCSIM);
  char answer[64];
  int length = -1;
  const std::string frame = "%07#RT**\r";
  ASSERT_EQ(TavPlcSimExchange(7, frame.data(), static_cast<int>(frame.size()), answer, sizeof answer, &length), 0);
  EXPECT_EQ(std::string(answer, length), "%07$RT07**\r");
  const std::string silent = "%01#NOANSWER\r";
  EXPECT_EQ(TavPlcSimExchange(1, silent.data(), static_cast<int>(silent.size()), answer, sizeof answer, &length),
            -10012);
  const std::string overlong = "%01#OVERLONG\r";
  EXPECT_EQ(TavPlcSimExchange(1, overlong.data(), static_cast<int>(overlong.size()), answer, sizeof answer, &length),
            TAV_E_BAD_ANSWER);
  EXPECT_EQ(length, 0);
  EXPECT_EQ(TavPlcSimExchange(1, nullptr, 3, answer, sizeof answer, &length), TAV_E_BAD_ARGUMENT);
}

TEST_F(ServerSide, NoSimulationInstalledIsAnErrorNotACrash) {
  // A process loads the simulation library once, at its first exchange: the
  // check runs in a process of its own, which has loaded none yet.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        platform::Profile(LibrarySettingsPath()).WriteString("SIMULATION", "LIBRARY", "/nonexistent/libkeld_plcsim.so");
        char answer[64];
        int length = -1;
        const int rc = TavPlcSimExchange(1, "%01#RT**\r", 9, answer, sizeof answer, &length);
        std::error_code ec;
        std::filesystem::remove_all(keldtest::TestHome(), ec);
        std::fprintf(stderr, "result %d length %d\n", rc, length);
        std::_Exit(rc == TAV_E_NO_SIMULATION && length == 0 ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "result -?[0-9]+ length");
}

TEST_F(ServerSide, PortStatusByteShowsNewLinesAndClientChanges) {
  ASSERT_EQ(TavAttachPort(kPort, TAV_ROLE_SERVER), 0);
  ASSERT_EQ(TavAttachPortRecords(kPort), 0);
  ASSERT_EQ(TavMarkPortSeen(kPort), 0);
  EXPECT_EQ(TavPortStatusByte(kPort) & 0x80, 0);
  TavLogRecord(kPort, 0, 0, 1, 1, "x", "", "");
  EXPECT_NE(TavPortStatusByte(kPort) & 0x80, 0);
  TavMarkPortSeen(kPort);
  EXPECT_EQ(TavPortStatusByte(kPort) & 0x80, 0);
  TavTouchPortStatus(kPort);
  EXPECT_NE(TavPortStatusByte(kPort) & 0x80, 0);
}
