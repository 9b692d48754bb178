#pragma once
// What the frame exchange needs of a transport that moves bytes (serial,
// modem, USB): purge, write, and a polling read that returns at once when
// bytes wait and otherwise after at most the given wait.
#include <cstddef>
#include <cstdint>
#include <string>

namespace connsrv {

class IByteLink {
 public:
  virtual ~IByteLink() = default;
  virtual void Purge() = 0;
  // False when the write failed.
  virtual bool Write(const char* bytes, size_t length) = 0;
  // Bytes read (> 0), 0 when none came within waitMs, -1 when the read failed.
  virtual int Read(char* buffer, size_t capacity, int waitMs) = 0;
};

// Time for the exchange: real in the server, scripted in tests.
class IClock {
 public:
  virtual ~IClock() = default;
  virtual int64_t NowMs() = 0;
  virtual void SleepMs(int ms) = 0;
};

// The steady clock and a real sleep.
IClock& SystemClock();

// Log records of one request (direction codes of the communication log).
enum LogDirection : uint8_t {
  kLogReceived = 0,
  kLogSent = 1,
  kLogDiscarded = 2,
  kLogBoard = 3,
  kLogReceivedCounted = 16,
  kLogSentMarked = 17,
  kLogSentEthernet4 = 33,
};

class ILogSink {
 public:
  virtual ~ILogSink() = default;
  virtual void Record(uint8_t direction, const char* bytes, size_t length) = 0;
};

}  // namespace connsrv
