#include "connsrv/server_app.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <unistd.h>
#include <vector>

#include "connsrv/channel_table.h"
#include "connsrv/command_line.h"
#include "connsrv/connection_core.h"
#include "platform/folders.h"
#include "platform/message_box.h"
#include "platform/named_event.h"
#include "platform/settings_seed.h"
#include "platform/named_mutex.h"
#include "platform/strings.h"
#include "server_strings.h"
#include "tav_server_library.h"
#include "tavinter/ethernet_links.h"
#include "tavinter/tavinter.h"

namespace connsrv {

namespace {

volatile std::sig_atomic_t g_stop = 0;
constexpr const char* kCaption = "Tavnet Manager";
constexpr int kTickMs = 1000;
// Waits on the coordination events are bounded, so a peer that died holding
// one can never stop the server for good.
constexpr int kEventWaitMs = 5000;

int64_t NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void ShowText(const std::string& text) { platform::ShowMessageBox(text, platform::MB_OK | platform::MB_ICONEXCLAMATION, kCaption); }

// Puts the first language table that loads in force: the command line's
// language, then the system's, then English; else the built-in texts stay.
void LoadLanguage(int language) {
  std::vector<std::string> tries;
  if (language != -1) tries.push_back(LanguageCode(language));
  tries.push_back(LanguageCode(SystemLanguage()));
  tries.push_back("Eng");
  std::string lastPath;
  for (const auto& code : tries) {
    if (code.empty()) continue;
    std::shared_ptr<const platform::StringTable> table;
    std::string error;
    lastPath = platform::Strings::TablePath(kServerModule, code);
    if (platform::Strings::Load(kServerModule, code, table, error) == platform::LanguageLoad::Ok) {
      platform::Strings::SetActive(kServerModule, table);
      return;
    }
  }
  char text[1200];
  std::snprintf(text, sizeof text, "Can't find Resource DLL [%s] !!!", lastPath.c_str());
  ShowText(text);
}

// The two manual-reset events by which other processes of the port see
// whether a request or a housekeeping tick is running. Both stay open for the
// server's life, so a request costs no more than a wait and a reset.
class CPortEvents {
 public:
  explicit CPortEvents(int port)
      : tickName_("KELDTIMERNO" + std::to_string(port)), busyName_("KELDTAVCOMMNO" + std::to_string(port)) {
    tick_.Create(tickName_, true);
    busy_.Create(busyName_, true);
  }
  ~CPortEvents() {
    tick_.Close();
    busy_.Close();
    platform::NamedEvent::Remove(tickName_);
    platform::NamedEvent::Remove(busyName_);
  }
  void BeginRequest() {
    tick_.Wait(kEventWaitMs);
    if (inProgress_++ == 0) busy_.Reset();
  }
  void EndRequest() {
    if (--inProgress_ == 0) busy_.Set();
  }
  void BeginTick() {
    busy_.Wait(kEventWaitMs);
    tick_.Reset();
  }
  void EndTick() { tick_.Set(); }

 private:
  std::string tickName_, busyName_;
  platform::NamedEvent tick_, busy_;
  int inProgress_ = 0;
};

}  // namespace

void CServerApp::RequestStop() { g_stop = 1; }

int CServerApp::Run(const std::string& commandLine) {
  const CommandLine cl = ParseCommandLine(commandLine);
  const int port = cl.port;
  if (port < kPortMin || port > kPortMax) {
    std::fprintf(stderr, "KELD_TAVMGR: port number %d is not between 1 and 326\n", port);
    return 2;
  }
  RegisterServerStrings();
  LoadLanguage(cl.language);

  // A user's first server start gets the installed settings file to edit;
  // an existing file is never replaced.
  platform::SeedSettingsFile("KELD_TAVCOMM.INI");
  char iniPath[1024] = {};
  TavGetFilePath("KELD_TAVCOMM.INI", iniPath, sizeof iniPath);
  const CServerSettings settings = CServerSettings::Load(iniPath);

  // Sockets, locks and the shared segment live in the runtime folder; a
  // folder another user could reach is refused before anything is made.
  std::string folderError;
  if (!platform::CheckRuntimeDir(folderError)) {
    std::fprintf(stderr, "KELD_TAVMGR: %s\n", folderError.c_str());
    return 4;
  }
  // The single-instance check comes before the port is claimed, so that a
  // refused second copy leaves the running copy's entry alone.
  platform::NamedMutex mutex("KELDTAVMUTEX" + std::to_string(port));
  if (!mutex.TryLock()) {
    ShowText(platform::Strings::Get(kServerModule, kStrAlreadyRunning));
    return 1;
  }
  TavAttachPort(port, TAV_ROLE_SERVER);
  const int listenFd = TavPublishEndpoint(port, 1);
  if (listenFd < 0) {
    std::fprintf(stderr, "KELD_TAVMGR: cannot publish the request endpoint of port %d (%d)\n", port, listenFd);
    TavDetachPort(port, TAV_ROLE_SERVER);
    return 3;
  }
  TavResetPortRecords(port);
  TavAttachPortRecords(port);
  // An Ethernet port's link table starts empty: links an earlier copy left go.
  if (port >= 5 && port <= 68) TavAnnounceEthernetPort(port);
  TavServerReady(port, ("KELDTAVINTER" + std::to_string(port)).c_str());

  CTavServerLibrary library;
  CConnectionCore core(port, library, SystemClock(), settings);
  CPortEvents events(port);
  std::vector<uint8_t> record(TAV_REQUEST_RECORD_SIZE);
  int64_t nextTick = NowMs() + kTickMs;
  while (!g_stop) {
    // Waits for the next complete request until the tick is due; the library
    // gathers every waiting connection meanwhile, so a slow peer holds nobody.
    const int wait = static_cast<int>(std::max<int64_t>(0, nextTick - NowMs()));
    int code = 0;
    const int fd = TavAcceptRequest(listenFd, &code, record.data(), wait);
    if (fd >= 0) {
      const int16_t handle = static_cast<int16_t>(record[0] | (record[1] << 8));
      events.BeginRequest();
      const int result = core.Handle(code, record.data(), record.size());
      events.EndRequest();
      TavReplyRequest(fd, handle, CConnectionCore::ClientResult(code, result));
    }
    if (NowMs() >= nextTick) {
      events.BeginTick();
      const bool quit = core.Tick(std::time(nullptr));
      events.EndTick();
      if (quit) break;
      nextTick = NowMs() + kTickMs;
    }
  }

  mutex.Unlock();
  TavPublishEndpoint(port, 0);
  core.Shutdown();
  TavDetachPort(port, TAV_ROLE_SERVER);
  if (port >= 5) TavReleasePort(port);
  TavReleasePortFinal(port);
  return 0;
}

}  // namespace connsrv
