#include "fake_server.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>

#include "request_transport.h"

namespace tavtest {

using tavinter::CRequestRecord;

CFakeServer::CFakeServer(int port, Script script) : port_(port), script_(std::move(script)) {
  listenFd_ = tavinter::ListenEndpoint(port);
  thread_ = std::thread([this] { Run(); });
}

CFakeServer::~CFakeServer() { Stop(); }

void CFakeServer::Stop() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  if (listenFd_ >= 0) tavinter::RemoveEndpoint(port_, listenFd_);
  listenFd_ = -1;
}

std::vector<CSeenRequest> CFakeServer::Seen() {
  std::lock_guard<std::mutex> guard(mutex_);
  return seen_;
}

void CFakeServer::Run() {
  while (!stop_) {
    int32_t code = 0;
    CRequestRecord record;
    int fd = tavinter::AcceptOneRequest(listenFd_, 20, code, record);
    if (fd < 0) continue;
    {
      std::lock_guard<std::mutex> guard(mutex_);
      seen_.push_back({code, record});
    }
    CFakeAction a = script_(code, record);
    switch (a.kind) {
      case CFakeAction::Reply:
        tavinter::SendReply(fd, a.result, std::vector<uint8_t>(a.answer.begin(), a.answer.end()));
        break;
      case CFakeAction::RawBytes:
        ::send(fd, a.raw.data(), a.raw.size(), MSG_NOSIGNAL);
        ::close(fd);
        break;
      case CFakeAction::CloseWithoutReply:
        ::close(fd);
        break;
      case CFakeAction::Hang:
        while (!stop_) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ::close(fd);
        break;
    }
  }
}

CFakeAction CFakeUnit::Handle(int32_t code, const CRequestRecord& record) {
  if (code != tavinter::kRequestCommand) return {};
  std::string text = record.CommandText();
  // %SS#URssAAAAACCC or %SS#UWssAAAAACCC<words>
  if (text.size() < 16 || text[0] != '%' || text[3] != '#') return {CFakeAction::Reply, 10000, "!41**\r", {}};
  int index = frames++;
  if (index == failAtFrame) return {CFakeAction::Reply, 10000, "!61**\r", {}};
  std::string cmd = text.substr(4, 2);
  long address = std::stol(text.substr(8, 5), nullptr, 16);
  long count = std::stol(text.substr(13, 3), nullptr, 16);
  if (cmd == "UR") {
    std::string answer = "$UR";
    char buf[8];
    for (long i = 0; i < count; ++i) {
      std::snprintf(buf, sizeof buf, "%04X", memory[address + i]);
      answer += buf;
    }
    return {CFakeAction::Reply, 10000, answer + "**\r", {}};
  }
  if (cmd == "UW") {
    if (static_cast<long>(text.size()) != 16 + 4 * count) return {CFakeAction::Reply, 10000, "!41**\r", {}};
    for (long i = 0; i < count; ++i)
      memory[address + i] = static_cast<uint16_t>(std::stoul(text.substr(16 + 4 * i, 4), nullptr, 16));
    return {CFakeAction::Reply, 10000, "$UW**\r", {}};
  }
  return {CFakeAction::Reply, 10000, "!42**\r", {}};
}

}  // namespace tavtest
