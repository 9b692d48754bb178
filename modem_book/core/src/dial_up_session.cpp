#include "modem_book/dial_up_session.h"

#include <cstdio>

#include "modem_book/modem_strings.h"
#include "tavinter/connection_record.h"

namespace modembook {

namespace {

constexpr int kChannelIdBase = 500;  // the port's stored record: 501..515
constexpr int kDialCancelled = -10054;
constexpr int kNotCallOwner = -10064;  // the hang-up found no call of ours: the line is already down

}  // namespace

void CDialUpSession::AddStatus(const std::string& line) {
  if (status_.size() >= kStatusLines) status_.pop_front();
  status_.push_back(line);
  if (onStatus) onStatus(line);
}

std::string CDialUpSession::Refusal(const CPhoneBookEntry& entry, const CPortModemSettings& settings) {
  if (entry.Phone().empty()) return ModemText(kIdsNoPhoneNumber);
  // The number goes to the modem as it stands: no control or non-ASCII bytes.
  if (!ValidPhone(entry.Phone())) return ModemText(kIdsPhoneUnusable);
  if (entry.BaudIndex() < 0 || entry.BaudIndex() >= CPhoneBookEntry::kBaudCount || entry.Parity() < 0 ||
      entry.Parity() > 2 || entry.DataLength() < 0 || entry.DataLength() > 1 || entry.StopBits() < 0 ||
      entry.StopBits() > 1)
    return ModemText(kIdsLineSettingsUnusable);
  if (!ValidInitCommand(settings.initCommand) ||
      (settings.dialMode == kDialOther && !ValidDialCommand(settings.dialCommand)))
    return ModemText(kIdsCommandUnusable);
  return {};
}

std::string CDialUpSession::DialText(const CPhoneBookEntry& entry, const CPortModemSettings& settings) {
  return settings.DialPrefix() + entry.Phone();
}

DialOutcome CDialUpSession::Fail(int code) {
  AddStatus(ModemText(code == kDialCancelled ? kIdsStatusCancel : kIdsStatusError));
  DialOutcome o;
  o.kind = DialOutcome::kFailed;
  o.code = code;
  o.message = library_.ErrorText(code);
  return o;
}

DialOutcome CDialUpSession::Connect(const CPhoneBookEntry& entry, int port, const CPortModemSettings& settings,
                                    bool english, int productNumber, const std::function<void()>& writeBack) {
  if (connected_) return {DialOutcome::kRefused, 0, std::string()};
  if (std::string refusal = Refusal(entry, settings); !refusal.empty())
    return {DialOutcome::kRefused, 0, refusal};

  record_.fill(0);
  if (int rc = library_.ReadPortRecord(record_.data(), kChannelIdBase + port); rc != 0) return Fail(rc);
  tavinter::CConnectionRecord r(record_.data());
  char name[96];
  std::snprintf(name, sizeof name, "%s %d", ModemText(kIdsProgramName).c_str(), port);
  channelName_ = name;
  r.SetName(channelName_);
  r.SetKind(tavinter::kKindModem);
  r.SetPort(static_cast<int16_t>(port));
  library_.SetLanguage(record_.data(), english);
  r.SetTimeout(settings.plcTimeout);
  r.SetBaudIndex(entry.BaudIndex());
  r.SetDataBits(static_cast<int16_t>(8 - entry.DataLength()));
  r.SetParity(entry.Parity());
  r.SetStopBits(static_cast<int16_t>(entry.StopBits() + 1));
  r.SetInitCommand(settings.initCommand);
  r.SetLineTimeout(settings.lineTimeout);
  secondCommand_ = r.SecondCommand();
  port_ = port;

  ClearStatus();
  if (writeBack) writeBack();

  AddStatus(ModemText(kIdsStatusInitialise));
  if (!settings.initCommand.empty()) AddStatus(settings.initCommand);
  library_.SetProductNumber(record_.data(), productNumber);
  if (int rc = library_.Initialise(record_.data()); rc != 0) return Fail(rc);
  handle_ = r.ClientHandle();

  AddStatus(ModemText(kIdsStatusRingUp));
  const std::string dialText = DialText(entry, settings);
  AddStatus(dialText);
  if (int rc = library_.Dial(record_.data(), dialText); rc != 0) {
    library_.Close(record_.data());
    handle_ = 0;
    return Fail(rc);
  }
  connected_ = true;
  return {};
}

void CDialUpSession::CancelDial() {
  if (const int handle = handle_; handle > 0) library_.CancelDial(port_, handle);
}

bool CDialUpSession::LineLost() { return connected_ && library_.LineInUse(channelName_) == 0; }

void CDialUpSession::BeginHangUp() {
  AddStatus(ModemText(kIdsStatusRingOff));
  if (!secondCommand_.empty()) AddStatus(secondCommand_);
  hangingUp_ = true;
  hangUpOutcome_ = {};
  ready_ = library_.OthersReleased(channelName_) != 0;
  waitStart_ = clock_.NowMs();
}

void CDialUpSession::Force() {
  if (!WaitingForOthers()) return;
  ready_ = true;
  library_.ForceOthersOff(channelName_);
}

bool CDialUpSession::PollOthersReleased() {
  if (hangingUp_ && !ready_ && library_.PollOthersReleased(channelName_) != 0) ready_ = true;
  return !hangingUp_ || ready_;
}

bool CDialUpSession::HangUpStep() {
  if (!hangingUp_) return true;
  if (!PollOthersReleased()) return false;
  const int rc = library_.HangUp(channelName_, record_.data());
  library_.HangUpDone(channelName_);
  FinishHangUp(rc);
  return true;
}

void CDialUpSession::FinishHangUp(int result) {
  if (result != 0 && result != kNotCallOwner) hangUpOutcome_ = Fail(result);
  library_.Close(record_.data());
  handle_ = 0;
  hangingUp_ = false;
  ready_ = false;
  connected_ = false;
}

}  // namespace modembook
