#pragma once
// The server's library calls, made on the interface library.
#include "connsrv/server_library.h"

namespace connsrv {

class CTavServerLibrary : public IServerLibrary {
 public:
  void AddClient(int port, int16_t handle, const std::string& name) override;
  void AttachClientRecords(int16_t handle) override;
  void RemoveClient(int port, int16_t handle) override;
  void ReleaseClient(int16_t handle) override;
  void OpenFailed(int port, int16_t handle) override;
  void OpenDone(int port, int16_t handle) override;
  void TouchPortStatus(int port) override;
  bool ClientAlive(int16_t handle) override;
  void NoteCommand(int16_t handle, int port, const std::string& command) override;
  void DeliverAnswer(int16_t handle, const std::string& bytes) override;
  void LogRecord(int port, int16_t handle, int16_t subNumber, uint8_t direction, const char* bytes, size_t length,
                 const std::string& folder, const std::string& fileName) override;
  bool PreCommand(int16_t handle, std::string& command) override;
  bool GetMonitorRegistration(int port, int station, RegistrationSet& frames) override;
  void SetMonitorRegistration(int port, int station, const RegistrationSet& frames) override;
  void SetChannelConfig(int port, const uint8_t* config, int value) override;
  bool GetChannelConfig(int port, uint8_t* config) override;
  void ChannelTearDown(int port) override;
  int PlcSimExchange(int station, const std::string& frame, std::string& answer) override;
  std::string ComDevicePath(int comNumber) override;
  std::string UsbDevicePath(int index) override;
  void ModemConnected(int port, int16_t handle, const std::string& dialText) override;
  void ModemDisconnected(int port) override;
  bool DialCancelled(int port, int16_t handle) override;
  void ConnectWaiting(int port, int16_t handle, const std::string& address, int elapsedMs, int dispTimeSec) override;
  bool ConnectCancelled(int port, int16_t handle) override;
  void ConnectEnded(int port, int16_t handle) override;
  int RegisterLink(int port, const tavinter::EthernetLinkRecord& record) override;
  void SetLinkState(int port, int16_t handle, int state, int status, const std::string& peerAddress,
                    uint16_t peerPort) override;
  void RemoveLink(int port, int16_t handle) override;
  bool Route(int index, std::string& text) override;
};

}  // namespace connsrv
