// The PLC simulation call. The simulated PLC is a library of its own that
// only the server of the simulation port needs, so it is loaded at run time
// and client programs never carry it.
#include <dlfcn.h>

#include <mutex>

#include "library_settings.h"
#include "plcsim_bridge.h"
#include "tavinter/tavinter.h"

namespace {

using ExchangeFn = int (*)(int, const char*, int, char*, int, int*);
using SaveFn = void (*)();

std::mutex gMutex;
ExchangeFn gExchange = nullptr;
SaveFn gSave = nullptr;
bool gTried = false;

ExchangeFn Resolve() {
  std::lock_guard<std::mutex> guard(gMutex);
  if (!gTried) {
    gTried = true;
    void* lib = ::dlopen(tavinter::SimulationLibrary().c_str(), RTLD_NOW | RTLD_LOCAL);
    if (lib) {
      gExchange = reinterpret_cast<ExchangeFn>(::dlsym(lib, "PlcSimExchange"));
      gSave = reinterpret_cast<SaveFn>(::dlsym(lib, "PlcSimSave"));
    }
  }
  return gExchange;
}

}  // namespace

void tavinter::SaveSimulation() {
  std::lock_guard<std::mutex> guard(gMutex);
  if (gSave) gSave();
}

extern "C" int TavPlcSimExchange(int station, const char* frame, int frameLength, char* answer, int answerCapacity,
                                 int* answerLength) {
  if (answerLength) *answerLength = 0;
  if (!frame || frameLength <= 0 || !answer || answerCapacity <= 0 || !answerLength) return TAV_E_BAD_ARGUMENT;
  ExchangeFn fn = Resolve();
  if (!fn) return TAV_E_NO_SIMULATION;
  int length = 0;
  int rc = fn(station, frame, frameLength, answer, answerCapacity, &length);
  if (rc != 0) return rc;
  // Never hand on a length the buffer cannot hold.
  if (length < 0 || length > answerCapacity) return TAV_E_BAD_ANSWER;
  *answerLength = length;
  return 0;
}
