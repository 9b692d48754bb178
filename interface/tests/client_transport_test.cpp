// The client side against a scripted server socket: open, requests, results,
// answers, time-outs, bad replies and a server that dies.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <array>
#include <cstring>
#include <chrono>
#include <fstream>
#include <memory>
#include <thread>

#include "fake_server.h"
#include "library_settings.h"
#include "request_transport.h"
#include "platform/folders.h"
#include "platform/profile.h"
#include "tavinter/connection_record.h"
#include "tavinter/tavinter.h"

using namespace tavinter;
using tavtest::CFakeAction;
using tavtest::CFakeServer;
using tavtest::CFakeUnit;

namespace {

constexpr int kSimPort = 326;

class ClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::Profile p(LibrarySettingsPath());
    p.WriteString("SERVER", "PROGRAM", "/nonexistent/KELD_TAVMGR");
    p.WriteInt("SERVER", "REPLYSLACK", 0);
    p.WriteInt("SERVER", "STARTWAIT", 5000);
    record.fill(0);
    CConnectionRecord r(record.data());
    r.SetName("ClientTest");
    r.SetKind(kKindSimulation);
    r.SetTimeout(1);
  }
  // A test that leaves its connection open would leave a client of the
  // port in the shared segment for the tests after it in this process.
  void TearDown() override {
    if (Handle() != 0) TavClose(rec());
  }
  unsigned char* rec() { return record.data(); }
  int Handle() { return CConnectionRecord(record.data()).ClientHandle(); }

  std::array<unsigned char, TAV_CONNECTION_RECORD_SIZE> record{};
};

CFakeAction Ok(const std::string& answer = "") { return {CFakeAction::Reply, 10000, answer, {}}; }

std::vector<uint8_t> ReplyBytes(int32_t result, uint32_t length, const std::string& body) {
  std::vector<uint8_t> b(8 + body.size());
  for (int i = 0; i < 4; ++i) b[i] = static_cast<uint8_t>((static_cast<uint32_t>(result) >> (8 * i)) & 0xFF);
  for (int i = 0; i < 4; ++i) b[4 + i] = static_cast<uint8_t>((length >> (8 * i)) & 0xFF);
  std::copy(body.begin(), body.end(), b.begin() + 8);
  return b;
}

}  // namespace

TEST_F(ClientTest, OpenAndCloseCarryHandleNameAndConfiguration) {
  CFakeServer server(kSimPort, [](int32_t, const CRequestRecord&) { return Ok(); });
  ASSERT_EQ(TavOpen(nullptr, rec()), 0);
  int handle = Handle();
  EXPECT_GT(handle, 0);
  EXPECT_EQ(TavOpen(nullptr, rec()), 0);  // already open through this record: nothing sent
  ASSERT_EQ(TavClose(rec()), 0);
  EXPECT_EQ(Handle(), 0);
  EXPECT_EQ(TavClose(rec()), TAV_E_NOT_OPEN);

  auto seen = server.Seen();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].code, 1);
  EXPECT_EQ(seen[0].record.ClientHandle(), handle);
  EXPECT_EQ(seen[0].record.ClientName(), "ClientTest");
  EXPECT_EQ(seen[0].record.ChannelConfig().Kind(), kKindSimulation);
  EXPECT_EQ(seen[0].record.ChannelConfig().Timeout(), 1);
  EXPECT_EQ(seen[1].code, 999);
  EXPECT_EQ(seen[1].record.ClientHandle(), handle);
}

TEST_F(ClientTest, ServerResultsOtherThanSuccessReachTheCaller) {
  int result = -10007;
  CFakeServer server(kSimPort, [&](int32_t, const CRequestRecord&) { return CFakeAction{CFakeAction::Reply, result, "", {}}; });
  EXPECT_EQ(TavOpen(nullptr, rec()), -10007);
  EXPECT_EQ(Handle(), 0);
  // A server that says 0 never says success: the library does not take it for one.
  result = 0;
  EXPECT_EQ(TavOpen(nullptr, rec()), TAV_E_BAD_REPLY);
  result = 10000;
  ASSERT_EQ(TavOpen(nullptr, rec()), 0);
  result = -10012;
  uint16_t w = 0;
  EXPECT_EQ(TavReadUnitWords(rec(), 1, TAV_MEMORY_UNIT, 0, 0x80, 1, &w), -10012);
}

TEST_F(ClientTest, CommandAnswerIsDelivered) {
  CFakeServer server(kSimPort, [](int32_t code, const CRequestRecord& r) {
    return code == 10 && r.CommandText() == "%05#RT" && r.Station() == 5 ? Ok("$RT0123**\r") : Ok();
  });
  ASSERT_EQ(TavOpen(nullptr, rec()), 0);
  char answer[64];
  int length = 0;
  ASSERT_EQ(TavSendCommand(rec(), 5, "%05#RT", answer, sizeof answer, &length), 0);
  EXPECT_EQ(std::string(answer, length), "$RT0123**\r");
  EXPECT_EQ(TavSendCommand(rec(), 5, "%05#RT", answer, 4, &length), TAV_E_BUFFER_SMALL);
  EXPECT_EQ(length, 0);
}

TEST_F(ClientTest, ReadsAndWritesSplitInto500WordFrames) {
  CFakeUnit unit;
  CFakeServer server(kSimPort, [&](int32_t code, const CRequestRecord& r) { return unit.Handle(code, r); });
  ASSERT_EQ(TavOpen(nullptr, rec()), 0);
  for (long count : {1L, 500L, 501L, 9600L}) {
    SCOPED_TRACE(count);
    unit.frames = 0;
    std::vector<uint16_t> out(count), in(count);
    for (long i = 0; i < count; ++i) out[i] = static_cast<uint16_t>(i * 7 + count);
    ASSERT_EQ(TavWriteUnitWords(rec(), 1, TAV_MEMORY_UNIT, 2, 0x1000, count, out.data()), 0);
    ASSERT_EQ(TavReadUnitWords(rec(), 1, TAV_MEMORY_UNIT, 2, 0x1000, count, in.data()), 0);
    EXPECT_EQ(in, out);
    EXPECT_EQ(unit.frames, 2 * ((count + 499) / 500));
    EXPECT_EQ(unit.memory[0x1000 + count], 0);  // nothing written past the end
  }
  // The frames go out in ascending address order, with slot and station.
  auto seen = server.Seen();
  std::vector<std::string> reads;
  for (auto& s : seen)
    if (s.code == 10 && s.record.CommandText().compare(4, 2, "UR") == 0) reads.push_back(s.record.CommandText());
  ASSERT_GE(reads.size(), 20u);
  EXPECT_EQ(reads[reads.size() - 20], "%01#UR02010001F4");
  EXPECT_EQ(reads[reads.size() - 19], "%01#UR02011F41F4");
  EXPECT_EQ(reads.back(), "%01#UR020351C064");
}

TEST_F(ClientTest, TransferStopsAtTheFirstFailingFrame) {
  CFakeUnit unit;
  unit.failAtFrame = 1;
  CFakeServer server(kSimPort, [&](int32_t code, const CRequestRecord& r) { return unit.Handle(code, r); });
  ASSERT_EQ(TavOpen(nullptr, rec()), 0);
  std::vector<uint16_t> words(1500, 0xAAAA);
  EXPECT_EQ(TavReadUnitWords(rec(), 1, TAV_MEMORY_UNIT, 0, 0, 1500, words.data()), -11061);
  EXPECT_EQ(unit.frames, 2);
  EXPECT_EQ(words[0], 0);         // the first frame arrived
  EXPECT_EQ(words[500], 0xAAAA);  // the failed one left the buffer alone
  char text[80];
  TavGetErrorText(-11061, text, sizeof text);
  EXPECT_NE(std::string(text).find("61"), std::string::npos);
}

TEST_F(ClientTest, BadArgumentsSendNothing) {
  CFakeServer server(kSimPort, [](int32_t, const CRequestRecord&) { return Ok(); });
  uint16_t w[2] = {};
  EXPECT_EQ(TavReadUnitWords(rec(), 1, TAV_MEMORY_UNIT, 0, 0, 1, w), TAV_E_NOT_OPEN);
  ASSERT_EQ(TavOpen(nullptr, rec()), 0);
  EXPECT_EQ(TavReadUnitWords(rec(), 100, TAV_MEMORY_UNIT, 0, 0, 1, w), TAV_E_BAD_ARGUMENT);
  EXPECT_EQ(TavReadUnitWords(rec(), 1, TAV_MEMORY_UNIT, 29, 0, 1, w), TAV_E_BAD_ARGUMENT);
  EXPECT_EQ(TavReadUnitWords(rec(), 1, TAV_MEMORY_UNIT, 0, 0, 0, w), TAV_E_BAD_ARGUMENT);
  EXPECT_EQ(TavReadUnitWords(rec(), 1, TAV_MEMORY_UNIT, 0, 0xFFFFF, 2, w), TAV_E_BAD_ARGUMENT);
  EXPECT_EQ(TavReadUnitWords(rec(), 1, 3, 0, 0, 1, w), TAV_E_BAD_ARGUMENT);
  EXPECT_EQ(TavReadUnitWords(rec(), 1, TAV_MEMORY_UNIT, 0, 0, 1, nullptr), TAV_E_BAD_ARGUMENT);
  EXPECT_EQ(TavReadUnitWords(nullptr, 1, TAV_MEMORY_UNIT, 0, 0, 1, w), TAV_E_BAD_RECORD);
  EXPECT_EQ(TavSendCommand(rec(), 1, std::string(3000, 'A').c_str(), nullptr, 0, nullptr), TAV_E_BAD_ARGUMENT);
  EXPECT_EQ(server.Seen().size(), 1u);  // only the open

  std::array<unsigned char, TAV_CONNECTION_RECORD_SIZE> bad{};
  CConnectionRecord(bad.data()).SetKind(kKindSerial);  // COM 0
  EXPECT_EQ(TavOpen(nullptr, bad.data()), TAV_E_BAD_RECORD);
  EXPECT_EQ(TavOpen(nullptr, nullptr), TAV_E_BAD_RECORD);
}

TEST_F(ClientTest, MalformedRepliesGiveErrorCodes) {
  std::vector<uint8_t> raw;
  bool openDone = false;
  CFakeServer server(kSimPort, [&](int32_t, const CRequestRecord&) {
    if (!openDone) {
      openDone = true;
      return Ok();
    }
    return CFakeAction{CFakeAction::RawBytes, 0, "", raw};
  });
  ASSERT_EQ(TavOpen(nullptr, rec()), 0);
  char answer[64];
  int length = 0;
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  };
  std::vector<Case> cases = {
      {"half a header", {0x10, 0x27, 0x00}},
      {"length beyond the limit", ReplyBytes(10000, 100000, "")},
      {"fewer bytes than the length", ReplyBytes(10000, 10, "$RT")},
      {"more bytes than the length", ReplyBytes(10000, 3, "$RT0123")},
  };
  for (const Case& c : cases) {
    raw = c.bytes;
    EXPECT_EQ(TavSendCommand(rec(), 1, "%01#RT", answer, sizeof answer, &length), TAV_E_BAD_REPLY) << c.what;
  }
  raw = ReplyBytes(10000, 3, "$RT");
  EXPECT_EQ(TavSendCommand(rec(), 1, "%01#RT", answer, sizeof answer, &length), 0);
  EXPECT_EQ(length, 3);
  raw = ReplyBytes(10000, 5, "$UR12");  // a well-framed reply whose answer is too short for the read
  uint16_t w[2];
  EXPECT_EQ(TavReadUnitWords(rec(), 1, TAV_MEMORY_UNIT, 0, 0, 2, w), TAV_E_BAD_ANSWER);
}

TEST_F(ClientTest, HungServerTimesOut) {
  bool openDone = false;
  CFakeServer server(kSimPort, [&](int32_t, const CRequestRecord&) {
    if (!openDone) {
      openDone = true;
      return Ok();
    }
    return CFakeAction{CFakeAction::Hang, 0, "", {}};
  });
  ASSERT_EQ(TavOpen(nullptr, rec()), 0);
  auto start = std::chrono::steady_clock::now();
  uint16_t w;
  EXPECT_EQ(TavReadUnitWords(rec(), 1, TAV_MEMORY_UNIT, 0, 0, 1, &w), TAV_E_REPLY_TIMEOUT);
  auto took = std::chrono::steady_clock::now() - start;
  EXPECT_LT(took, std::chrono::seconds(10));  // time-out 1 s x 3 attempts, no slack
  server.Stop();
}

TEST_F(ClientTest, DeadServerGivesAnErrorAndIsRestartedOnTheNextOpen) {
  platform::Profile(LibrarySettingsPath()).WriteString("SERVER", "PROGRAM", TAVINTER_FAKE_SERVER);
  auto server = std::make_unique<CFakeServer>(kSimPort, [&](int32_t code, const CRequestRecord&) {
    return code == 1 ? Ok() : CFakeAction{CFakeAction::CloseWithoutReply, 0, "", {}};
  });
  ASSERT_EQ(TavOpen(nullptr, rec()), 0);
  uint16_t w;
  EXPECT_EQ(TavReadUnitWords(rec(), 1, TAV_MEMORY_UNIT, 0, 0, 1, &w), TAV_E_SERVER_LOST);
  server->Stop();  // the server is gone now, socket and all
  EXPECT_EQ(TavReadUnitWords(rec(), 1, TAV_MEMORY_UNIT, 0, 0, 1, &w), TAV_E_SERVER_LOST);
  EXPECT_EQ(TavClose(rec()), TAV_E_SERVER_LOST);
  EXPECT_EQ(Handle(), 0);

  // The next open starts a server copy for the port with "-<port> -<language>".
  CConnectionRecord(rec()).SetLanguage(1);
  ASSERT_EQ(TavOpen(nullptr, rec()), 0);
  w = 0xFFFF;
  EXPECT_EQ(TavReadUnitWords(rec(), 1, TAV_MEMORY_UNIT, 0, 0, 1, &w), 0);
  EXPECT_EQ(w, 0);
  EXPECT_EQ(TavClose(rec()), 0);
  std::ifstream note(platform::DataDir() + "/fake_server_args.txt");
  std::string args;
  std::getline(note, args);
  EXPECT_EQ(args, "-326 -1");

  // The copy started above ends once its last client left; until it has,
  // it holds the port for any later test of this process.
  auto status = std::make_unique<TavStatusSnapshot>();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (TavGetStatus(status.get()) == 0 && status->portInUse[kSimPort - 1] &&
         std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(status->portInUse[kSimPort - 1], 0) << "the started server copy did not end";
}

TEST_F(ClientTest, NoServerProgramMeansNoConnection) {
  EXPECT_EQ(TavOpen(nullptr, rec()), TAV_E_SERVER_START);
  EXPECT_EQ(Handle(), 0);
}

// A server whose listen backlog is full: the client waits for room until its
// reply limit and then reports a time-out, not a server of another user.
TEST(RequestTransport, FullBacklogGivesATimeOutAtTheDeadline) {
  const int port = 77;
  const std::string path = EndpointPath(port);
  int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::strncpy(addr.sun_path, path.c_str(), sizeof addr.sun_path - 1);
  ::unlink(path.c_str());
  ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  ASSERT_EQ(::listen(listener, 0), 0);
  // Fill the backlog: connects that nobody accepts, until the next would wait.
  std::vector<int> queued;
  for (int i = 0; i < 64; ++i) {
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
      ::close(fd);
      break;
    }
    queued.push_back(fd);
  }
  CRequestRecord request;
  CReply reply;
  EXPECT_EQ(ExchangeRequest(port, kRequestCommand, request, 300, reply), TAV_E_REPLY_TIMEOUT);
  // Room again: the connection is made and only the missing reply times out.
  for (int fd : queued) ::close(fd);
  int accepted = -1;
  std::thread server([&] { accepted = ::accept(listener, nullptr, nullptr); });
  EXPECT_EQ(ExchangeRequest(port, kRequestCommand, request, 300, reply), TAV_E_REPLY_TIMEOUT);
  server.join();
  EXPECT_GE(accepted, 0);
  if (accepted >= 0) ::close(accepted);
  ::close(listener);
  ::unlink(path.c_str());
}
