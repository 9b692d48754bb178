#pragma once
// Records the server's library calls and plays the simulated PLC with a
// script, for request handling tests without the shared segment.
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "connsrv/server_library.h"

namespace connsrv_test {

class FakeLibrary : public connsrv::IServerLibrary {
 public:
  void AddClient(int, int16_t h, const std::string& name) override { calls.push_back("add " + std::to_string(h) + " " + name); }
  void AttachClientRecords(int16_t) override {}
  void RemoveClient(int, int16_t h) override { calls.push_back("remove " + std::to_string(h)); }
  void ReleaseClient(int16_t h) override { calls.push_back("release " + std::to_string(h)); }
  void OpenFailed(int, int16_t h) override { calls.push_back("openfailed " + std::to_string(h)); }
  void OpenDone(int, int16_t h) override { calls.push_back("opendone " + std::to_string(h)); }
  void TouchPortStatus(int) override {}
  bool ClientAlive(int16_t h) override { return dead.count(h) == 0; }
  void NoteCommand(int16_t, int, const std::string& c) override { calls.push_back("note " + c); }
  void DeliverAnswer(int16_t h, const std::string& bytes) override { delivered[h] = bytes; }
  void LogRecord(int, int16_t h, int16_t sub, uint8_t dir, const char* bytes, size_t n, const std::string&,
                 const std::string& file) override {
    logs.push_back({h, sub, dir, std::string(bytes, n), file});
  }
  bool PreCommand(int16_t, std::string& c) override {
    c = preCommand;
    return !preCommand.empty();
  }
  bool GetMonitorRegistration(int, int station, connsrv::RegistrationSet& f) override {
    auto it = registrations.find(station);
    if (it == registrations.end()) return false;
    f = it->second;
    return true;
  }
  void SetMonitorRegistration(int, int station, const connsrv::RegistrationSet& f) override { registrations[station] = f; }
  void SetChannelConfig(int, const uint8_t*, int value) override { configValue = value; }
  bool GetChannelConfig(int, uint8_t*) override { return false; }
  void ChannelTearDown(int) override { ++tearDowns; }
  int PlcSimExchange(int station, const std::string& frame, std::string& answer) override {
    frames.push_back(frame);
    stations.push_back(station);
    if (simAnswers.empty()) return 1;
    answer = simAnswers.front();
    simAnswers.pop_front();
    return answer.empty() ? 1 : 0;
  }
  std::string ComDevicePath(int n) override { return comPaths.count(n) ? comPaths[n] : std::string(); }
  std::string UsbDevicePath(int index) override { return index == 0 ? usbPath : std::string(); }
  void ModemConnected(int, int16_t h, const std::string& text) override {
    calls.push_back("modem connected " + std::to_string(h) + " " + text);
  }
  void ModemDisconnected(int) override { calls.push_back("modem disconnected"); }
  bool DialCancelled(int, int16_t) override { return cancelDial; }
  void ConnectWaiting(int, int16_t h, const std::string& address, int, int dispTime) override {
    calls.push_back("connect waiting " + std::to_string(h) + " " + address + " " + std::to_string(dispTime));
  }
  bool ConnectCancelled(int, int16_t) override { return cancelConnect; }
  void ConnectEnded(int, int16_t h) override { calls.push_back("connect ended " + std::to_string(h)); }
  int RegisterLink(int, const tavinter::EthernetLinkRecord& r) override {
    if (linkTableFull) return -10520;
    const bool fresh = links.count(static_cast<int16_t>(r.handle)) == 0;
    links[static_cast<int16_t>(r.handle)] = {r, 0, 0, {}, 0};
    return fresh ? 1 : 0;
  }
  void SetLinkState(int, int16_t h, int state, int status, const std::string& peer, uint16_t peerPort) override {
    auto& l = links[h];
    l.state = state, l.status = status, l.peer = peer, l.peerPort = peerPort;
  }
  void RemoveLink(int, int16_t h) override { links.erase(h); }
  bool Route(int index, std::string& text) override {
    auto it = routes.find(index);
    if (it == routes.end()) return false;
    text = it->second;
    return true;
  }

  struct Link {
    tavinter::EthernetLinkRecord record;
    int state, status;
    std::string peer;
    uint16_t peerPort;
  };
  struct Log {
    int16_t handle, sub;
    uint8_t direction;
    std::string bytes, file;
  };
  std::vector<std::string> calls;
  std::map<int16_t, std::string> delivered;
  std::vector<Log> logs;
  std::set<int16_t> dead;
  std::string preCommand;
  std::map<int, connsrv::RegistrationSet> registrations;
  std::deque<std::string> simAnswers;  // "" = no answer
  std::vector<std::string> frames;
  std::vector<int> stations;
  std::map<int, std::string> comPaths;
  std::string usbPath;
  int configValue = -1;
  int tearDowns = 0;
  bool cancelDial = false;
  bool cancelConnect = false;
  std::map<int16_t, Link> links;
  std::map<int, std::string> routes;
  bool linkTableFull = false;
};

}  // namespace connsrv_test
