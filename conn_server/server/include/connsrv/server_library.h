#pragma once
// What the connection server asks of the interface library while it serves a
// port: client bookkeeping, answer delivery, log records, per-station monitor
// registrations, the channel configuration and the PLC simulation. The real
// server calls the library; tests put a recording fake in its place.
#include <array>
#include <cstdint>
#include <string>

#include "tavinter/ethernet_link_record.h"

namespace connsrv {

constexpr size_t kRegistrationBytes = 1440;  // 6 data + 6 contact frames of 120 bytes
using RegistrationSet = std::array<uint8_t, kRegistrationBytes>;

class IServerLibrary {
 public:
  virtual ~IServerLibrary() = default;

  virtual void AddClient(int port, int16_t handle, const std::string& name) = 0;
  virtual void AttachClientRecords(int16_t handle) = 0;
  virtual void RemoveClient(int port, int16_t handle) = 0;
  virtual void ReleaseClient(int16_t handle) = 0;
  virtual void OpenFailed(int port, int16_t handle) = 0;
  virtual void OpenDone(int port, int16_t handle) = 0;
  virtual void TouchPortStatus(int port) = 0;
  // False when the client's process is gone.
  virtual bool ClientAlive(int16_t handle) = 0;
  virtual void NoteCommand(int16_t handle, int port, const std::string& command) = 0;

  virtual void DeliverAnswer(int16_t handle, const std::string& bytes) = 0;
  virtual void LogRecord(int port, int16_t handle, int16_t subNumber, uint8_t direction, const char* bytes,
                         size_t length, const std::string& folder, const std::string& fileName) = 0;

  // True with the command text when one must precede the client's requests.
  virtual bool PreCommand(int16_t handle, std::string& command) = 0;
  virtual bool GetMonitorRegistration(int port, int station, RegistrationSet& frames) = 0;
  virtual void SetMonitorRegistration(int port, int station, const RegistrationSet& frames) = 0;

  virtual void SetChannelConfig(int port, const uint8_t* config, int value) = 0;
  // The configuration in force for the port (200 bytes); false when none.
  virtual bool GetChannelConfig(int port, uint8_t* config) = 0;
  virtual void ChannelTearDown(int port) = 0;

  // One complete frame to the simulated PLC; 0 with the answer, else its code.
  virtual int PlcSimExchange(int station, const std::string& frame, std::string& answer) = 0;
  // Device path of a COM port number.
  virtual std::string ComDevicePath(int comNumber) = 0;
  // Device path of the index-th USB link device; empty when none is configured.
  virtual std::string UsbDevicePath(int index) = 0;

  // A modem call is up for the client (with its dial text, empty for an
  // answered call); the call has ended.
  virtual void ModemConnected(int port, int16_t handle, const std::string& dialText) = 0;
  virtual void ModemDisconnected(int port) = 0;
  // True once the dialling client asked to cancel (the request is taken back).
  virtual bool DialCancelled(int port, int16_t handle) = 0;

  // An Ethernet connect for the client waits (elapsedMs so far; the client
  // shows it after dispTimeSec); true once the client cancelled it (the flag
  // is taken down); the connect ended, or begins anew (no wait, no cancel).
  virtual void ConnectWaiting(int port, int16_t handle, const std::string& address, int elapsedMs,
                              int dispTimeSec) = 0;
  virtual bool ConnectCancelled(int port, int16_t handle) = 0;
  virtual void ConnectEnded(int port, int16_t handle) = 0;

  // The library's table of Ethernet links: a client's link registered (1
  // new, 0 updated, negative when the table is full or unavailable), its
  // state and peer, its removal.
  virtual int RegisterLink(int port, const tavinter::EthernetLinkRecord& record) = 0;
  virtual void SetLinkState(int port, int16_t handle, int state, int status, const std::string& peerAddress,
                            uint16_t peerPort) = 0;
  virtual void RemoveLink(int port, int16_t handle) = 0;
  // The route text of a route index 1..255; false when the index has none.
  virtual bool Route(int index, std::string& text) = 0;
};

}  // namespace connsrv
