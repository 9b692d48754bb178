#pragma once
// Reads one PLC answer from a byte link: hunts for the start character,
// collects up to the carriage return, and (when checking) verifies the block
// check code and that the answer belongs to the command that was sent.
// Raw transfers read without hunting, up to the line end or a fixed length.
#include <string>

#include "connsrv/byte_link.h"

namespace connsrv {

struct AnswerReadOptions {
  int timeoutMs = 1000;        // counted from the last byte received
  bool check = true;           // code, station and command
  bool checkOwner = true;      // station and command (off: any well-formed answer)
  size_t capacity = 2050;      // more than this without a carriage return: too long
  int pollMs = 100;            // one read waits at most this long
  bool hunt = true;            // skip bytes before "%" or "<"; off: the answer starts with the first byte
  size_t exactLength = 0;      // > 0: the answer is this many bytes, taken as they come (no line end)
};

class CAnswerReader {
 public:
  CAnswerReader(IByteLink& link, IClock& clock, ILogSink* log) : link_(link), clock_(clock), log_(log) {}

  // Reads the answer to sentFrame (the complete frame as sent). 0 with the
  // answer (ending in CR) or kErrRead, kErrTooLong, kErrNoAnswer,
  // kErrIncomplete, kErrBlockCheck.
  int Read(const std::string& sentFrame, const AnswerReadOptions& options, std::string& answer);

  // True when answer belongs to sentFrame: "$" or "!" as the fourth character,
  // the same station, and for "$" the same command ("EX": six characters).
  static bool Belongs(const std::string& sentFrame, const std::string& answer);

 private:
  void Log(uint8_t direction, const std::string& bytes) {
    if (log_ && !bytes.empty()) log_->Record(direction, bytes.data(), bytes.size());
  }
  IByteLink& link_;
  IClock& clock_;
  ILogSink* log_;
};

}  // namespace connsrv
