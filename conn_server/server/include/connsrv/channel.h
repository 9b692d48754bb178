#pragma once
// One open channel of the server: the transport with its frame exchange.
#include <memory>
#include <string>

#include "connsrv/byte_link.h"
#include "connsrv/command_exchange.h"
#include "connsrv/server_library.h"
#include "connsrv/server_settings.h"
#include "tavinter/request_record.h"

namespace connsrv {

class IModemLine;

class IChannel {
 public:
  virtual ~IChannel() = default;
  virtual int Open() = 0;
  virtual void Close() = 0;
  // Starts a request (the repeat count of the exchange is per request).
  virtual void BeginRequest() {}
  // One PLC command: 0 with the bytes to deliver, or an error code.
  virtual int Command(const std::string& text, int station, const ExchangeOptions& options,
                      std::string& delivered) = 0;
  // The station of a request that goes along route index route (1..255) of
  // the library; 0 leaves station as it is. Channels without routes keep it.
  virtual int RouteStation(uint16_t /*route*/, int& /*station*/) { return 0; }
  // The byte link for raw sends and single-byte reads; null where there is none.
  virtual IByteLink* Link() { return nullptr; }
  virtual CCommandExchange* Exchange() { return nullptr; }
  // Serial kinds: close and open again with a fresh configuration.
  virtual int Reopen(const tavinter::CChannelConfig& /*config*/) { return 0; }

  // Channels that keep a link per client (Ethernet) hear of each client's
  // open and close, select the client's link before its request, answer the
  // accept check (request 40) and the link replacement (request 41), and
  // accept waiting connections after each housekeeping tick.
  virtual bool KeepsClientLinks() const { return false; }
  virtual int OpenClient(int16_t /*handle*/, const tavinter::CChannelConfig& /*config*/) { return 0; }
  virtual void CloseClient(int16_t /*handle*/) {}
  virtual int EnsureClient(int16_t /*handle*/) { return 0; }
  virtual int AcceptCheck(int16_t /*handle*/);
  virtual int OpenLink(int16_t /*handle*/, const tavinter::CChannelConfig& /*config*/);
  virtual void AfterTick() {}
  // The client's link was opened by the PLC: no pre-command, and request 16 sends nothing.
  virtual bool OpenedByPlc(int16_t /*handle*/) const { return false; }
  // The modem kinds: dialling, hang-up and modem results; null for others.
  virtual IModemLine* Modem() { return nullptr; }
};

// Makes the channel for a configuration's kind; null for kinds this build
// does not carry (boards, Ethernet, USB), with the open's error code.
std::unique_ptr<IChannel> MakeChannel(const tavinter::CChannelConfig& config, int port, IServerLibrary& library,
                                      IClock& clock, ILogSink& log, const CServerSettings& settings,
                                      int& errorCode);

}  // namespace connsrv
