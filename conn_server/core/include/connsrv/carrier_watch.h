#pragma once
// Watching a call on a modem line for the modem's own "NO CARRIER" (the far
// end hung up and the modem went back to command mode), in whatever bytes are
// read from the line: between requests, while hunting for a PLC answer, and
// in what a purge would throw away. Bytes are judged as lines; a PLC answer
// never makes such a line.
#include <string>

#include "connsrv/byte_link.h"

namespace connsrv {

class CCarrierWatch {
 public:
  // A fresh call; in numeric result mode a line "3" also reports the loss.
  void Start(bool numeric);
  // Judges bytes read from the line; true once the loss was reported.
  bool Feed(const char* bytes, size_t length);
  bool Feed(const std::string& bytes) { return Feed(bytes.data(), bytes.size()); }
  bool Lost() const { return lost_; }

 private:
  std::string line_;      // the unfinished line, kept only while it could be a result
  bool tooLong_ = false;  // the unfinished line is longer than any result
  bool numeric_ = false;
  bool lost_ = false;
};

// The link the PLC exchange uses during a call: everything passes through
// and what is read is watched. Once the carrier is lost, reads fail and
// writes are refused, so a request ends at once instead of waiting out its
// time-out and repeating its frame into a dead line.
class CCarrierWatchLink : public IByteLink {
 public:
  CCarrierWatchLink(IByteLink& line, ILogSink* log) : line_(line), log_(log) {}

  CCarrierWatch& Watch() { return watch_; }
  // Reads what waits without blocking (it is discarded); true when the
  // carrier was lost.
  bool Look();

  void Purge() override;
  bool Write(const char* bytes, size_t length) override;
  int Read(char* buffer, size_t capacity, int waitMs) override;

 private:
  IByteLink& line_;
  ILogSink* log_;
  CCarrierWatch watch_;
};

}  // namespace connsrv
