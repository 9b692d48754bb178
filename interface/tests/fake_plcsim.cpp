// A stand-in for the simulated PLC's in-process entry point: it answers every
// frame with the frame's station and "$" plus the command, and can be asked
// for an answer longer than the buffer it is given.
#include <cstring>
#include <string>

extern "C" int PlcSimExchange(int station, const char* frame, int frameLength, char* answer, int answerCapacity,
                              int* answerLength) {
  std::string f(frame, frame + frameLength);
  if (f.find("NOANSWER") != std::string::npos) return -10012;
  std::string a = f.substr(0, 3) + "$" + f.substr(4, 2) + (station == 7 ? "07" : "") + "**\r";
  if (f.find("OVERLONG") != std::string::npos) {
    *answerLength = answerCapacity + 10;  // a faulty peer: claims more than fits
    return 0;
  }
  if (static_cast<int>(a.size()) > answerCapacity) return -1;
  std::memcpy(answer, a.data(), a.size());
  *answerLength = static_cast<int>(a.size());
  return 0;
}

extern "C" void PlcSimShutdown(void) {}
extern "C" void PlcSimSave(void) {}
