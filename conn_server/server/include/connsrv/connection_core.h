#pragma once
// Everything of one served port: the clients, the channel and its
// configuration, the request in progress, the log file in use, and the
// handling of each request code.
#include <cstdint>
#include <ctime>
#include <memory>
#include <string>

#include "connsrv/channel.h"
#include "connsrv/client_list.h"
#include "connsrv/log_settings.h"
#include "connsrv/server_library.h"
#include "connsrv/server_settings.h"
#include "tavinter/request_record.h"

namespace connsrv {

class CConnectionCore : public ILogSink {
 public:
  CConnectionCore(int port, IServerLibrary& library, IClock& clock, const CServerSettings& settings);
  ~CConnectionCore() override;

  // Handles one request record; the handler's result (0 success, 999 for the
  // last close, negative errors). ClientResult gives what the client sees.
  int Handle(int code, const uint8_t* record, size_t size);
  static int ClientResult(int code, int result);

  // One housekeeping tick; true when the server should end (idle for more
  // than 3 seconds of the seconds clock).
  bool Tick(std::time_t now);
  // Ends everything at exit: channel closed, library told.
  void Shutdown();

  const CClientList& Clients() const { return clients_; }
  bool ChannelOpen() const { return channel_ != nullptr; }
  const CLogState& Log() const { return log_; }
  // The modem call: the client that owns it, 0 while there is none.
  int16_t CallHandle() const { return callUp_ ? callHandle_ : 0; }
  int Port() const { return port_; }

  // ILogSink: a record of the current request, to the library.
  void Record(uint8_t direction, const char* bytes, size_t length) override;

 private:
  int Open(const tavinter::CRequestRecord& rec);
  int Close(int16_t handle);
  int Dispatch(int code, const tavinter::CRequestRecord& rec);
  int Route(int code, const tavinter::CRequestRecord& rec);
  int PlcCommand(int code, const tavinter::CRequestRecord& rec);
  int NotedCommand(const tavinter::CRequestRecord& rec);
  // Sends the pre-command the library holds for the current client, if any.
  int PreCommand(const tavinter::CRequestRecord& rec);
  int Monitor(const tavinter::CRequestRecord& rec);
  int RawSend(int code, const tavinter::CRequestRecord& rec);
  int ReadByte();
  int Exchange(const std::string& text, const tavinter::CRequestRecord& rec, std::string& delivered);
  int SendRegistrations(const tavinter::CRequestRecord& rec, int station, bool contacts,
                        const RegistrationSet& held, bool hasHeld, bool& stop);
  // Modem requests: dial (30), hang up (31), one modem result (35).
  int ModemRequest(int code, const tavinter::CRequestRecord& rec);
  int Dial(const tavinter::CRequestRecord& rec);
  int HangUp(const tavinter::CRequestRecord& rec);
  int ModemResult(const tavinter::CRequestRecord& rec);
  void CallUp(int16_t handle, const std::string& dialText);
  void CallDown();
  // During a call: a remote hang-up reported by the modem ends the call.
  void WatchCall();
  // The result of a PLC request carried by the call: when it failed because
  // the far end hung up, the call ends and the request gets kErrModemNoCall.
  int OverTheCall(int result);
  // Before the channel closes: a call still up is hung up.
  void HangUpAtClose();
  int OpenChannel(const tavinter::CChannelConfig& config);
  void CloseChannel();
  void RemoveClient(int16_t handle);
  void StationPause(int station);
  ExchangeOptions OptionsFor(const tavinter::CRequestRecord& rec) const;
  static bool RecordIsSound(int code, const tavinter::CRequestRecord& rec);

  int port_;
  IServerLibrary& library_;
  IClock& clock_;
  CServerSettings settings_;
  CClientList clients_;
  tavinter::CChannelConfig config_;
  std::unique_ptr<IChannel> channel_;
  int channelTimeoutMs_ = 3000;
  int requestTimeoutMs_ = 3000;
  int16_t currentHandle_ = 0;
  int16_t currentSub_ = 0;
  int16_t currentMode_ = 0;
  bool idle_ = false;
  std::time_t idleSince_ = 0;
  int lastStation_ = 0xFFFF;
  CLogState log_;
  int16_t callHandle_ = 0;
  bool callUp_ = false;
};

}  // namespace connsrv
