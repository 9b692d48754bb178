// A minimal connection server for the tests of starting a server: it takes
// the command line "-<port> -<language>", notes it in the data folder,
// publishes the port through the library's server side, registers clients,
// answers unit reads with zero words, and ends when its last client has
// closed or when idle.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "platform/folders.h"
#include "shared_segment.h"
#include <sys/mman.h>
#include "tavinter/request_record.h"
#include "tavinter/tavinter.h"

int main(int argc, char** argv) {
  int port = argc > 1 ? std::abs(std::atoi(argv[1])) : 1;
  int language = argc > 2 ? std::atoi(argv[2] + 1) : 0;
  {
    std::ofstream note(platform::DataDir() + "/fake_server_args.txt", std::ios::app);
    note << argv[1] << " " << (argc > 2 ? argv[2] : "") << "\n";
  }
  (void)language;
  TavAttachPort(port, TAV_ROLE_SERVER);
  int listenFd = TavPublishEndpoint(port, 1);
  if (listenFd < 0) return 2;
  TavServerReady(port, ("KELDTAVINTER" + std::to_string(port)).c_str());
  std::set<int> clients;
  bool servedLast = false;  // the last client closed: end after replying
  auto lastActivity = std::chrono::steady_clock::now();
  auto start = lastActivity;
  while (std::chrono::steady_clock::now() - start < std::chrono::seconds(30)) {
    if (clients.empty() && std::chrono::steady_clock::now() - lastActivity > std::chrono::seconds(3)) break;
    int code = 0;
    unsigned char bytes[TAV_REQUEST_RECORD_SIZE];
    int fd = TavAcceptRequest(listenFd, &code, bytes, 100);
    if (fd < 0) continue;
    lastActivity = std::chrono::steady_clock::now();
    tavinter::CRequestRecord record;
    record.Parse(bytes, sizeof bytes);
    int handle = record.ClientHandle();
    int result = 10000;
    if (code == 1) {
      TavAddClient(port, handle, record.ClientName().c_str());
      TavOpenDone(port, handle);
      clients.insert(handle);
    } else if (code == 999) {
      TavRemoveClient(port, handle);
      clients.erase(handle);
      servedLast = clients.empty();
    } else if (!clients.count(handle)) {
      result = -10007;
    } else {
      std::string text = record.CommandText();
      std::string answer = "$UR";
      if (text.size() >= 16 && text.compare(4, 2, "UR") == 0) {
        long count = std::stol(text.substr(13, 3), nullptr, 16);
        answer += std::string(4 * count, '0');
      }
      answer += "**\r";
      TavDeliverAnswer(handle, static_cast<int>(answer.size()), answer.data());
    }
    TavReplyRequest(fd, handle, result);
    if (servedLast) break;
  }
  TavPublishEndpoint(port, 0);
  TavReleasePort(port);
  TavReleasePortFinal(port);
  // When the test that started this copy is over, its home is gone: leave no
  // shared segment behind for it.
  const char* home = std::getenv("KELD_HOME");
  if (home && !std::filesystem::exists(home)) ::shm_unlink(tavinter::SegmentName());
  return 0;
}
