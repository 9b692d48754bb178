#pragma once
// One PLC command over an Ethernet link: the text frame (with the route
// header on a header link), sent after whatever waits unread on the socket
// has been drained, and its answer read and checked. Up to three attempts
// (one when Ethernet retries are off or the request is a single unchecked
// one); a socket the peer dropped is restored between attempts.
#include <cstdint>
#include <string>

#include "connsrv/byte_link.h"
#include "connsrv/command_exchange.h"
#include "connsrv/ethernet_frame.h"
#include "connsrv/server_settings.h"

namespace connsrv {

// What the exchange needs of a link's socket.
class IEthernetSocket {
 public:
  virtual ~IEthernetSocket() = default;
  virtual IByteLink& Bytes() = 0;
  virtual bool Connected() const = 0;
  // Every byte already waiting, read without waiting.
  virtual std::string Drain() = 0;
  // Closes the socket after a failure.
  virtual void Drop() = 0;
  // Brings a dropped socket back: 0 once connected again, else the code the
  // request ends with (a link the PLC opens answers -10047 until it returns).
  virtual int Restore() = 0;
};

struct EthernetFraming {
  bool header = false;
  uint8_t sourceStation = 0;
  EthernetRoute route;
};

class CEthernetExchange {
 public:
  CEthernetExchange(IClock& clock, ILogSink* log, const CServerSettings& settings)
      : clock_(clock), log_(log), settings_(settings) {}

  // 0 with the answer from its fourth character (at most 2,047 bytes), or
  // -10033, -10035, -10038, -10039, -10080, -10011, or Restore's code.
  int Run(IEthernetSocket& socket, const std::string& commandText, const ExchangeOptions& options,
          const EthernetFraming& framing, std::string& delivered);

  // The frame as it goes on the wire (header and text).
  static std::string WireFrame(const std::string& commandText, uint16_t flags, const EthernetFraming& framing);

 private:
  int Attempt(IEthernetSocket& socket, const std::string& wire, const std::string& text,
              const ExchangeOptions& options, bool header, bool expectAnswer, std::string& delivered);
  void Log(uint8_t direction, const std::string& bytes) {
    if (log_ && !bytes.empty()) log_->Record(direction, bytes.data(), bytes.size());
  }

  IClock& clock_;
  ILogSink* log_;
  const CServerSettings& settings_;
};

}  // namespace connsrv
