// The process's simulated PLC behind the in-process entry point.
#include "sim/plcsim_entry.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>

#include "platform/folders.h"
#include "sim/sim_plc.h"

namespace {

std::mutex g_mutex;
std::unique_ptr<sim::CSteadyClock> g_clock;
std::unique_ptr<sim::CSimPlc> g_plc;
bool g_exitHandlerSet = false;

std::string StoreFolder() { return platform::DataDir() + "/plcsim"; }

// A decimal or 0x-hexadecimal number from the environment, or the default.
long EnvNumber(const char* name, long fallback) {
  const char* text = std::getenv(name);
  if (!text || !*text) return fallback;
  errno = 0;
  char* end = nullptr;
  const long value = std::strtol(text, &end, 0);
  if (errno != 0 || *end != '\0') {
    std::fprintf(stderr, "plcsim: ignoring %s=%s (not a number)\n", name, text);
    return fallback;
  }
  return value;
}

sim::PlcConfig ConfigFromEnvironment() {
  sim::PlcConfig config;
  const long model = EnvNumber("KELD_SIM_MODEL", config.unit.model);
  const long station = EnvNumber("KELD_SIM_STATION", config.station);
  const long slot = EnvNumber("KELD_SIM_SLOT", config.slot);
  const long axes = EnvNumber("KELD_SIM_AXES", 0);
  sim::PlcConfig wanted = config;
  wanted.unit.model = static_cast<uint16_t>(model >= 0 && model <= 0xFFFF ? model : 0);
  wanted.station = static_cast<int>(station);
  wanted.slot = static_cast<int>(slot);
  // A mask beyond 8 axes is kept out of range so that the check below refuses it.
  wanted.unit.axes = static_cast<uint8_t>(axes & 0xFF);
  const bool axesValid = axes >= 0 && axes <= 0xFF;
  if (const char* faults = std::getenv("KELD_SIM_FAULTS")) {
    std::string error;
    if (!sim::ParseFaultList(faults, wanted.faults, error))
      std::fprintf(stderr, "plcsim: ignoring KELD_SIM_FAULTS: %s\n", error.c_str());
  }
  std::string error;
  if (!axesValid) error = "KELD_SIM_AXES must be a mask of 8 bits";
  if (!axesValid || !sim::ValidatePlcConfig(wanted, error)) {
    std::fprintf(stderr, "plcsim: %s; using the default unit\n", error.c_str());
    config.faults = wanted.faults;
    return config;
  }
  return wanted;
}

void SaveLocked() {
  if (!g_plc) return;
  std::string error;
  if (!g_plc->Save(StoreFolder(), error)) std::fprintf(stderr, "plcsim: %s\n", error.c_str());
}

void SaveAtExit() {
  std::lock_guard<std::mutex> lock(g_mutex);
  SaveLocked();
  g_plc.reset();
}

sim::CSimPlc& Instance() {
  if (!g_plc) {
    g_clock = std::make_unique<sim::CSteadyClock>();
    g_plc = std::make_unique<sim::CSimPlc>(ConfigFromEnvironment(), *g_clock);
    std::string message;
    if (g_plc->Load(StoreFolder(), message) == sim::StoreLoad::Damaged)
      std::fprintf(stderr, "plcsim: %s; starting with factory settings\n", message.c_str());
    if (!g_exitHandlerSet) {
      std::atexit(SaveAtExit);
      g_exitHandlerSet = true;
    }
  }
  return *g_plc;
}

}  // namespace

extern "C" int PlcSimExchange(int station, const char* frame, int frameLength, char* answer,
                              int answerCapacity, int* answerLength) {
  (void)station;  // the station characters of the frame decide, as on a wire
  if (answerLength) *answerLength = 0;
  if (!frame || frameLength <= 0 || !answer || answerCapacity <= 0 || !answerLength) return 3;
  std::lock_guard<std::mutex> lock(g_mutex);
  sim::CSimPlc& plc = Instance();
  // The buffer may hold several frames ("&"-continued); each ends with CR.
  const std::string_view bytes(frame, static_cast<size_t>(frameLength));
  std::string reply;
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t end = bytes.find('\r', pos);
    end = end == std::string_view::npos ? bytes.size() : end + 1;
    const sim::CSimPlc::Exchange ex = plc.Handle(bytes.substr(pos, end - pos));
    pos = end;
    if (ex.continuation && pos < bytes.size()) continue;  // the next frame is already here
    for (const auto& part : ex.parts) {
      plc.Clock().SleepMs(part.pauseMs);
      reply += part.bytes;
    }
  }
  if (reply.empty()) return 1;
  if (reply.size() > static_cast<size_t>(answerCapacity)) return 2;
  std::memcpy(answer, reply.data(), reply.size());
  if (reply.size() < static_cast<size_t>(answerCapacity)) answer[reply.size()] = '\0';
  *answerLength = static_cast<int>(reply.size());
  return 0;
}

extern "C" void PlcSimSave(void) {
  std::lock_guard<std::mutex> lock(g_mutex);
  SaveLocked();
}

extern "C" void PlcSimShutdown(void) {
  std::lock_guard<std::mutex> lock(g_mutex);
  SaveLocked();
  g_plc.reset();
  g_clock.reset();
}
