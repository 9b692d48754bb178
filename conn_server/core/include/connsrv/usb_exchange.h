#pragma once
// One PLC command over the USB link: up to four attempts (one with request
// flag 0x0002), each on a freshly emptied read pipe, with the answer read up
// to its carriage return, checked, and cut from its fourth character. A failed
// attempt closes the pipes; the next one opens the device again, after a
// second's pause when that fails.
#include <cstdint>
#include <string>

#include "connsrv/byte_link.h"
#include "connsrv/command_exchange.h"
#include "connsrv/server_settings.h"

namespace connsrv {

// What the exchange needs of the USB link besides moving bytes.
class IUsbTransport : public IByteLink {
 public:
  // 0, or 1 no device, 2 not usable, 3 write pipe, 4 read pipe failed.
  virtual int Open() = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
  virtual void SetTimeoutMs(int64_t ms) = 0;
  virtual void SetLog(ILogSink* log, bool marked) = 0;
  // 0, kErrWrite or kErrWriteTimeout; sendFlags 0x0001 adds code and CR.
  virtual int Send(const std::string& frame, uint16_t sendFlags) = 0;
  virtual void ResetReadPipe() = 0;
  virtual void CancelReadAfterTimeout() = 0;
};

class CUsbExchange {
 public:
  CUsbExchange(IUsbTransport& link, IClock& clock, ILogSink* log, const CServerSettings& settings)
      : link_(link), clock_(clock), log_(log), settings_(settings) {}

  // Sends commandText (without code and CR) and reads its answer. On success
  // delivered holds the answer from its fourth character (at most 2,047
  // bytes), after its 2-byte length (low byte first) with flag 0x0010.
  int Run(const std::string& commandText, const ExchangeOptions& options, std::string& delivered);

  static constexpr int kAttempts = 4;
  static constexpr int kReopenPauseMs = 1000;

 private:
  int Attempt(const std::string& commandText, const ExchangeOptions& options, std::string& answer);

  IUsbTransport& link_;
  IClock& clock_;
  ILogSink* log_;
  const CServerSettings& settings_;
};

}  // namespace connsrv
