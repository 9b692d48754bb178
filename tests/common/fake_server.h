#pragma once
// A scripted stand-in for the connection server of one port, in a thread of
// the test process: it listens on the port's request socket and answers each
// request as the test's script says, including replies no real server sends.
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tavinter/request_record.h"

namespace tavtest {

struct CFakeAction {
  enum Kind { Reply, RawBytes, CloseWithoutReply, Hang } kind = Reply;
  int32_t result = 10000;
  std::string answer;
  std::vector<uint8_t> raw;  // RawBytes: sent as they are
};

struct CSeenRequest {
  int32_t code;
  tavinter::CRequestRecord record;
};

class CFakeServer {
 public:
  using Script = std::function<CFakeAction(int32_t code, const tavinter::CRequestRecord& record)>;
  CFakeServer(int port, Script script);
  ~CFakeServer();
  // Stops listening and removes the socket, as a server that died.
  void Stop();
  std::vector<CSeenRequest> Seen();

 private:
  void Run();
  int port_;
  Script script_;
  int listenFd_ = -1;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<CSeenRequest> seen_;
  std::thread thread_;
};

// A unit memory of 0x100000 words behind UR/UW commands, as a script.
class CFakeUnit {
 public:
  CFakeAction Handle(int32_t code, const tavinter::CRequestRecord& record);
  std::vector<uint16_t> memory = std::vector<uint16_t>(0x100000);
  int failAtFrame = -1;  // answer "!61" to this command frame (0-based), -1 never
  int frames = 0;
};

}  // namespace tavtest
