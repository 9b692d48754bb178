#include "ethernet_channel.h"

#include <cstdio>

#include "client_connect_watch.h"
#include "connsrv/result_codes.h"

namespace connsrv {

void CEthernetChannel::Close() {
  current_ = nullptr;
  links_.clear();
}

int CEthernetChannel::SetUp(int16_t handle, const tavinter::CChannelConfig& config) {
  CloseClient(handle);
  const EthernetLinkConfig c = EthernetLinkConfig::From(config);
  if (!tavinter::IsEthernetKind(c.kind)) return kErrEthernetSetup;
  if (links_.size() >= kMaxLinks) return c.PlcConnects() ? kErrListenRegister : kErrEthernetSetup;
  auto link = std::make_unique<CEthernetLink>(
      handle, c, clock_, settings_, std::make_unique<CClientConnectWatch>(library_, port_, handle, settings_.dispTime));
  const int rc = link->Setup();
  if (rc != kOk) return c.PlcConnects() ? rc : kErrEthernetSetup;
  links_[handle] = std::move(link);
  return kOk;
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
}

int CEthernetChannel::EnsureClient(int16_t handle) {
  current_ = nullptr;
  auto it = links_.find(handle);
  if (it == links_.end()) return kErrClient;
  CEthernetLink& link = *it->second;
  if (link.PlcConnects() && !link.OpenedByPlc()) {
    link.AcceptPending();
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
  if (rc == CEthernetLink::kAccepted && !before)
    std::fprintf(stderr, "KELD_TAVMGR: Connected from %s:%u\n", link.PeerAddress().c_str(), link.PeerPort());
  return rc;
}

void CEthernetChannel::AfterTick() {
  for (auto& [handle, link] : links_)
    if (link->LinkState() == CEthernetLink::kListening) link->AcceptPending();
}

bool CEthernetChannel::OpenedByPlc(int16_t handle) const {
  const CEthernetLink* link = LinkOf(handle);
  return link && link->OpenedByPlc();
}

const CEthernetLink* CEthernetChannel::LinkOf(int16_t handle) const {
  auto it = links_.find(handle);
  return it == links_.end() ? nullptr : it->second.get();
}

int CEthernetChannel::Command(const std::string& text, int /*station*/, const ExchangeOptions& options,
                              std::string& delivered) {
  if (!current_) return kErrClient;
  ExchangeOptions o = options;
  if (current_->Config().timeoutSec > 0 && o.timeoutMs <= 0) o.timeoutMs = current_->Config().timeoutSec * 1000;
  return exchange_.Run(*current_, text, o, current_->Framing(), delivered);
}

}  // namespace connsrv
