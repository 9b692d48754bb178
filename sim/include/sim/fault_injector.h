#pragma once
// Switchable faults of the simulated PLC, for testing the communication
// stack. Each "every N" switch counts on its own; 0 switches it off.
#include <string>
#include <string_view>
#include <vector>

namespace sim {

struct FaultConfig {
  int corruptBccEvery = 0;     // every Nth answer carries a wrong block check code
  int nakEvery = 0;            // every Nth frame for this PLC is answered "!40", not carried out
  int dropEvery = 0;           // every Nth answer is not sent (the command was carried out)
  int otherStationEvery = 0;   // every Nth answer is preceded by one for another station
  int splitEvery = 0;          // every Nth answer is sent in two parts ...
  int splitPauseMs = 50;       // ... with this pause between them
  int delayMs = 0;             // every answer waits this long before it is sent
  int hangupEvery = 0;         // the link is closed after every Nth answer (TCP peers)
  // How the unit answers the download request 0x1111: as a unit does
  // (kDownloadAsUnit), never (kDownloadNoAnswer), or always with this word.
  int downloadAnswer = kDownloadAsUnit;
  static constexpr int kDownloadAsUnit = -1;
  static constexpr int kDownloadNoAnswer = -2;

  bool Any() const {
    return corruptBccEvery || nakEvery || dropEvery || otherStationEvery || splitEvery || delayMs || hangupEvery ||
           downloadAnswer != kDownloadAsUnit;
  }
};

// "bcc=3,nak=4,drop=5,other=2,split=1,pause=100,delay=200,download=CCCC"; false
// with a message on an unknown key or a value that is not a number from 0 to
// 1000000. download takes "none" or a word in hexadecimal (0x optional).
bool ParseFaultList(std::string_view list, FaultConfig& config, std::string& error);

// One piece of an answer: the bytes, sent after waiting pauseMs.
struct AnswerPart {
  std::string bytes;
  int pauseMs = 0;
};

class CFaultInjector {
 public:
  explicit CFaultInjector(const FaultConfig& config) : config_(config) {}

  const FaultConfig& Config() const { return config_; }
  // For a frame addressed to this PLC: true when it must be answered "!40".
  bool NakThisFrame();
  // Turns an answer into the parts to send (none when it is dropped).
  std::vector<AnswerPart> Shape(const std::string& answer, int ownStation);
  // After an answer was sent: true when the link must be closed now.
  bool HangUpAfterAnswer() { return Due(config_.hangupEvery, hangupCount_); }

 private:
  static bool Due(int every, long& counter);

  FaultConfig config_;
  long frames_ = 0;
  long corruptCount_ = 0, dropCount_ = 0, otherCount_ = 0, splitCount_ = 0, hangupCount_ = 0;
};

}  // namespace sim
