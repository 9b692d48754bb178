#include "tav_server_library.h"

#include <vector>

#include "connsrv/command_exchange.h"
#include "tavinter/request_record.h"
#include "tavinter/connect_cancel.h"
#include "tavinter/dial_cancel.h"
#include "tavinter/ethernet_links.h"
#include "tavinter/tavinter.h"

namespace connsrv {

void CTavServerLibrary::AddClient(int port, int16_t handle, const std::string& name) {
  TavAddClient(port, handle, name.c_str());
}
void CTavServerLibrary::AttachClientRecords(int16_t handle) { TavAttachClientRecords(handle); }
void CTavServerLibrary::RemoveClient(int port, int16_t handle) { TavRemoveClient(port, handle); }
void CTavServerLibrary::ReleaseClient(int16_t handle) { TavReleaseClient(handle); }
void CTavServerLibrary::OpenFailed(int port, int16_t handle) { TavOpenFailed(port, handle); }
void CTavServerLibrary::OpenDone(int port, int16_t handle) { TavOpenDone(port, handle); }
void CTavServerLibrary::TouchPortStatus(int port) { TavTouchPortStatus(port); }
bool CTavServerLibrary::ClientAlive(int16_t handle) { return TavClientAlive(handle, 0) != 0; }
void CTavServerLibrary::NoteCommand(int16_t handle, int port, const std::string& command) {
  TavNoteCommand(handle, port, command.c_str());
}
void CTavServerLibrary::DeliverAnswer(int16_t handle, const std::string& bytes) {
  TavDeliverAnswer(handle, static_cast<int>(bytes.size()), bytes.data());
}
void CTavServerLibrary::LogRecord(int port, int16_t handle, int16_t subNumber, uint8_t direction, const char* bytes,
                                  size_t length, const std::string& folder, const std::string& fileName) {
  TavLogRecord(port, handle, subNumber, direction, static_cast<int>(length), bytes, folder.c_str(), fileName.c_str());
}
bool CTavServerLibrary::PreCommand(int16_t handle, std::string& command) {
  char text[tavinter::kMaxCommandText + 1] = {};
  if (TavGetPreCommand(handle, text, sizeof text) != 1) return false;
  command = text;
  return true;
}
bool CTavServerLibrary::GetMonitorRegistration(int port, int station, RegistrationSet& frames) {
  return TavGetMonitorRegistration(port, station, frames.data()) == 1;
}
void CTavServerLibrary::SetMonitorRegistration(int port, int station, const RegistrationSet& frames) {
  TavSetMonitorRegistration(port, station, frames.data());
}
void CTavServerLibrary::SetChannelConfig(int port, const uint8_t* config, int value) {
  TavSetChannelConfig(port, config, value);
}
bool CTavServerLibrary::GetChannelConfig(int port, uint8_t* config) { return TavGetPortConfig(port, config) == 0; }
void CTavServerLibrary::ChannelTearDown(int port) { TavChannelTearDown(port); }
int CTavServerLibrary::PlcSimExchange(int station, const std::string& frame, std::string& answer) {
  std::vector<char> buf(kAnswerBuffer);
  int length = 0;
  int rc = TavPlcSimExchange(station, frame.data(), static_cast<int>(frame.size()), buf.data(),
                             static_cast<int>(buf.size()), &length);
  if (rc != 0) return rc;
  if (length < 0 || length > static_cast<int>(buf.size())) length = 0;
  answer.assign(buf.data(), static_cast<size_t>(length));
  return 0;
}
std::string CTavServerLibrary::ComDevicePath(int comNumber) {
  char path[512] = {};
  if (TavGetComDevicePath(comNumber, path, sizeof path) != 0) return {};
  return path;
}

std::string CTavServerLibrary::UsbDevicePath(int index) {
  char path[512] = {};
  if (TavGetUsbDevicePath(index, path, sizeof path) != 0) return {};
  return path;
}

void CTavServerLibrary::ModemConnected(int port, int16_t handle, const std::string& dialText) {
  TavModemConnected(port, handle);
  TavModemDialText(port, dialText.c_str());
}

void CTavServerLibrary::ModemDisconnected(int port) {
  TavModemDisconnected(port);
  TavModemReleased(port);
}

bool CTavServerLibrary::DialCancelled(int port, int16_t handle) { return TavDialCancelRequested(port, handle) == 1; }

void CTavServerLibrary::ConnectWaiting(int port, int16_t handle, const std::string& address, int elapsedMs,
                                       int dispTimeSec) {
  TavConnectWaitStarted(port, handle, address.c_str(), elapsedMs, dispTimeSec);
}

bool CTavServerLibrary::ConnectCancelled(int port, int16_t handle) {
  return TavConnectCancelRequested(port, handle) == 1;
}

void CTavServerLibrary::ConnectEnded(int port, int16_t handle) { TavConnectWaitEnded(port, handle); }

}  // namespace connsrv

namespace connsrv {

int CTavServerLibrary::RegisterLink(int port, const tavinter::EthernetLinkRecord& record) {
  return TavRegisterEthernetLink(port, record.Write().data());
}

void CTavServerLibrary::SetLinkState(int port, int16_t handle, int state, int status, const std::string& peerAddress,
                                     uint16_t peerPort) {
  TavSetEthernetLinkState(port, handle, state, status, peerAddress.c_str(), peerPort);
}

void CTavServerLibrary::RemoveLink(int port, int16_t handle) { TavRemoveEthernetLink(port, handle); }

bool CTavServerLibrary::Route(int index, std::string& text) {
  char buffer[TAV_ROUTE_TEXT_SIZE] = {};
  if (TavGetRoute(index, buffer, sizeof buffer) != 1) return false;
  text = buffer;
  return true;
}

}  // namespace connsrv
