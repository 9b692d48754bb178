#include "ethernet_channel.h"

#include <cstdio>

#include "client_connect_watch.h"
#include "connsrv/result_codes.h"

namespace connsrv {

void CEthernetChannel::Close() {
  current_ = nullptr;
  for (const auto& [handle, link] : links_) library_.RemoveLink(port_, handle);
  links_.clear();
  published_.clear();
}

int CEthernetChannel::SetUp(int16_t handle, const tavinter::CChannelConfig& config) {
  CloseClient(handle);
  const EthernetLinkConfig c = EthernetLinkConfig::From(config);
  if (!tavinter::IsEthernetKind(c.kind)) return kErrEthernetSetup;
  const int refused = c.PlcConnects() ? kErrListenRegister : kErrEthernetSetup;
  if (links_.size() >= kMaxLinks) return refused;
  auto link = std::make_unique<CEthernetLink>(
      handle, c, clock_, settings_, std::make_unique<CClientConnectWatch>(library_, port_, handle, settings_.dispTime));
  // The library keeps the port's table and says whether it has room.
  const auto record = tavinter::EthernetLinkRecord::Of(c, handle, link->SourceAddress());
  if (library_.RegisterLink(port_, record) < 0) return refused;
  const int rc = link->Setup();
  if (rc != kOk) {
    library_.RemoveLink(port_, handle);
    return c.PlcConnects() ? rc : kErrEthernetSetup;
  }
  Publish(*link);
  links_[handle] = std::move(link);
  return kOk;
}

void CEthernetChannel::Publish(const CEthernetLink& link) {
  auto now = std::make_tuple(static_cast<int>(link.LinkState()), link.Status(), link.PeerAddress(), link.PeerPort());
  auto it = published_.find(link.Handle());
  if (it != published_.end() && it->second == now) return;
  library_.SetLinkState(port_, link.Handle(), std::get<0>(now), std::get<1>(now), std::get<2>(now), std::get<3>(now));
  published_[link.Handle()] = std::move(now);
}

int CEthernetChannel::OpenClient(int16_t handle, const tavinter::CChannelConfig& config) {
  return SetUp(handle, config);
}

int CEthernetChannel::OpenLink(int16_t handle, const tavinter::CChannelConfig& config) {
  return SetUp(handle, config);
}

void CEthernetChannel::CloseClient(int16_t handle) {
  auto it = links_.find(handle);
  if (it == links_.end()) return;
  if (current_ == it->second.get()) current_ = nullptr;
  links_.erase(it);
  published_.erase(handle);
  library_.RemoveLink(port_, handle);
}

int CEthernetChannel::EnsureClient(int16_t handle) {
  current_ = nullptr;
  auto it = links_.find(handle);
  if (it == links_.end()) return kErrClient;
  CEthernetLink& link = *it->second;
  if (link.PlcConnects() && !link.OpenedByPlc()) {
    link.AcceptPending();
    Publish(link);
    if (!link.OpenedByPlc()) return kErrEthernetMissing;
  }
  current_ = &link;
  return kOk;
}

int CEthernetChannel::AcceptCheck(int16_t handle) {
  auto it = links_.find(handle);
  if (it == links_.end() || !it->second->PlcConnects()) return kErrClient;
  CEthernetLink& link = *it->second;
  const bool before = link.LinkState() == CEthernetLink::kConnected;
  const int rc = link.AcceptCheck();
  if (rc == CEthernetLink::kAccepted && !before) {
    char text[96];
    const int n = std::snprintf(text, sizeof text, "Connected from %s:%u", link.PeerAddress().c_str(),
                                static_cast<unsigned>(link.PeerPort()));
    log_.Record(kLogReceived, text, static_cast<size_t>(n > 0 ? n : 0));
  }
  Publish(link);
  return rc;
}

void CEthernetChannel::AfterTick() {
  for (auto& [handle, link] : links_) {
    if (link->LinkState() != CEthernetLink::kListening) continue;
    link->AcceptPending();
    Publish(*link);
  }
}

bool CEthernetChannel::OpenedByPlc(int16_t handle) const {
  const CEthernetLink* link = LinkOf(handle);
  return link && link->OpenedByPlc();
}

const CEthernetLink* CEthernetChannel::LinkOf(int16_t handle) const {
  auto it = links_.find(handle);
  return it == links_.end() ? nullptr : it->second.get();
}

bool CEthernetChannel::LookUpRoute(uint16_t index, EthernetRoute& route) {
  std::string text;
  return library_.Route(index, text) && CEthernetFrame::ParseRoute(text, route);
}

int CEthernetChannel::RouteStation(uint16_t route, int& station) {
  if (route == 0) return kOk;
  EthernetRoute r;
  if (!LookUpRoute(route, r)) return kErrEthernetSetup;
  station = r.station;
  return kOk;
}

int CEthernetChannel::Command(const std::string& text, int /*station*/, const ExchangeOptions& options,
                              std::string& delivered) {
  if (!current_) return kErrClient;
  ExchangeOptions o = options;
  if (current_->Config().timeoutSec > 0 && o.timeoutMs <= 0) o.timeoutMs = current_->Config().timeoutSec * 1000;
  EthernetFraming framing = current_->Framing();
  if (options.route != 0) {
    // A route that is not there, or one through other networks on a link
    // without the header, would put the command in front of another PLC.
    if (!LookUpRoute(options.route, framing.route)) return kErrEthernetSetup;
    if (!framing.header && !framing.route.hops.empty()) return kErrEthernetSetup;
  }
  const int rc = exchange_.Run(*current_, text, o, framing, delivered);
  Publish(*current_);
  return rc;
}

}  // namespace connsrv
