#include "connsrv/connection_core.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "connsrv/answer_reader.h"
#include "connsrv/result_codes.h"
#include "plcframe/frame_codec.h"

namespace connsrv {

using tavinter::CChannelConfig;
using tavinter::CRequestRecord;

namespace {

constexpr size_t kCommandArea = tavinter::kMaxCommandText + 1;  // text and its NUL
constexpr int kDefaultTimeoutSec = 3;
constexpr int kResultSuccessAlike = -9999;  // monitor exchanges that count as success
constexpr int kReadByteWaitMs = 100;

// What a modem channel refuses while no call is connected.
bool NeedsModemCall(int code) {
  switch (code) {
    case tavinter::kRequestCommand: case tavinter::kRequestMonitor: case tavinter::kRequestCommandNoted:
    case tavinter::kRequestCommand60:
      return true;
    default: return tavinter::IsRequestIn(tavinter::kBoardRequestsToPlc, code);
  }
}

bool IsModemKind(int kind) { return kind == tavinter::kKindModem || kind == tavinter::kKindModemAlarm; }

// A NUL within width bytes from offset.
bool HasNul(const CRequestRecord& rec, size_t offset, size_t width) {
  const auto& b = rec.Bytes();
  if (offset >= b.size()) return false;
  size_t end = std::min(b.size(), offset + width);
  return std::memchr(b.data() + offset, 0, end - offset) != nullptr;
}

std::string StationCommand(int station, const char* command) {
  // "%EE#MG" for the PLC on the link, "%01#MG" for station 1.
  return "%" + plcframe::StationText(station) + "#" + command;
}

}  // namespace

CConnectionCore::CConnectionCore(int port, IServerLibrary& library, IClock& clock, const CServerSettings& settings)
    : port_(port), library_(library), clock_(clock), settings_(settings), log_(port) {}

CConnectionCore::~CConnectionCore() = default;

int CConnectionCore::ClientResult(int code, int result) {
  if (result == kOk) return kClientResult;
  if (code == tavinter::kRequestClose && result == kCloseLast) return kClientResult;
  return result;
}

void CConnectionCore::Record(uint8_t direction, const char* bytes, size_t length) {
  library_.LogRecord(port_, currentHandle_, currentSub_, direction, bytes, length, log_.Folder(), log_.FileName());
}

bool CConnectionCore::RecordIsSound(int code, const CRequestRecord& rec) {
  switch (code) {
    case tavinter::kRequestOpen:
      return HasNul(rec, CRequestRecord::kClientName, CRequestRecord::kClientNameWidth);
    case tavinter::kRequestCommand: case tavinter::kRequestCommandNoted: case tavinter::kRequestCommand60: case tavinter::kRequestRawText: case tavinter::kRequestRawText55:
      return HasNul(rec, CRequestRecord::kCommandText, kCommandArea);
    case tavinter::kRequestMonitor:
      for (int i = 0; i < tavinter::kRegistrationFrames; ++i) {
        if (!HasNul(rec, CRequestRecord::kCommandText + i * tavinter::kRegistrationFrameSize,
                    tavinter::kRegistrationFrameSize) ||
            !HasNul(rec, CRequestRecord::kContactFrames + i * tavinter::kRegistrationFrameSize,
                    tavinter::kRegistrationFrameSize))
          return false;
      }
      return true;
    case tavinter::kRequestRawBytes: case tavinter::kRequestRawBytes53: case tavinter::kRequestRawBytes54:
      // Only the kept copy for repeats is limited; the send itself may use the whole area.
      return CRequestRecord::kCommandText + rec.DataLength() <= tavinter::kRequestRecordSize;
    default:
      return true;
  }
}

int CConnectionCore::Handle(int code, const uint8_t* record, size_t size) {
  CRequestRecord rec;
  if (!record || !rec.Parse(record, size) || !RecordIsSound(code, rec)) return kErrBadRecord;
  if (code == tavinter::kRequestOpen) return Open(rec);
  currentHandle_ = rec.ClientHandle();
  currentSub_ = rec.SubNumber();
  currentMode_ = rec.Mode();
  if (!clients_.Contains(currentHandle_)) return kErrClient;
  requestTimeoutMs_ = rec.Timeout() > 0 ? rec.Timeout() * 1000 : channelTimeoutMs_;
  if (channel_) channel_->BeginRequest();
  // A channel with a link per client runs the request over the client's own
  // link; the accept check, the link replacement and the close need none.
  if (channel_ && channel_->KeepsClientLinks() && code != tavinter::kRequestAcceptCheck &&
      code != tavinter::kRequestOpenLink && code != tavinter::kRequestClose) {
    if (int rc = channel_->EnsureClient(currentHandle_); rc != kOk) return rc;
  }
  int result = Dispatch(code, rec);
  requestTimeoutMs_ = channelTimeoutMs_;
  return result;
}

int CConnectionCore::Dispatch(int code, const CRequestRecord& rec) {
  // PLC commands on a modem channel need a connected call (of any client).
  if (IsModemKind(config_.Kind()) && NeedsModemCall(code)) {
    if (!callUp_) return kErrModemNoCall;
    return OverTheCall(Route(code, rec));
  }
  return Route(code, rec);
}

int CConnectionCore::Route(int code, const CRequestRecord& rec) {
  if (tavinter::IsRequestIn(tavinter::kBoardRequests, code)) return kErrNoBoard;
  switch (code) {
    case tavinter::kRequestClose: return Close(rec.ClientHandle());
    case tavinter::kRequestCommand:
    case tavinter::kRequestCommand60: return PlcCommand(code, rec);
    case tavinter::kRequestMonitor: return Monitor(rec);
    case tavinter::kRequestCommandNoted: return NotedCommand(rec);
    case tavinter::kRequestReadByte: return ReadByte();
    case tavinter::kRequestRawText: case tavinter::kRequestRawText55: case tavinter::kRequestRawBytes: case tavinter::kRequestRawBytes53: case tavinter::kRequestRawBytes54:
      return RawSend(code, rec);
    case tavinter::kRequestAcceptCheck:
      return channel_ ? channel_->AcceptCheck(rec.ClientHandle()) : kErrChannelKind;
    case tavinter::kRequestOpenLink:
      return channel_ ? channel_->OpenLink(rec.ClientHandle(), rec.ChannelConfig()) : kErrChannelKind;
    case tavinter::kRequestDial: case tavinter::kRequestHangUp: case tavinter::kRequestModemResult:
      return ModemRequest(code, rec);
    default:
      return kOk;  // 13, 14, 28, 29, 42..49 and unknown codes of a registered client
  }
}

// ---- open and close ---------------------------------------------------------

int CConnectionCore::Open(const CRequestRecord& rec) {
  const int16_t handle = rec.ClientHandle();
  currentHandle_ = handle;
  currentSub_ = 0;
  const CChannelConfig requested = rec.ChannelConfig();
  int result = kOk;
  bool opened = false;
  if (!clients_.Add(handle, rec.ClientName())) {
    result = kErrClient;
  } else {
    library_.AddClient(port_, handle, rec.ClientName());
    library_.AttachClientRecords(handle);
    const bool first = clients_.Count() == 1;
    if (first) {
      log_.Refresh(std::time(nullptr));
      result = OpenChannel(requested);
      opened = result == kOk;
    } else if (IsModemKind(requested.Kind()) && config_.Kind() == tavinter::kKindSerial) {
      result = kErrModemOnSerial;
    }
    // Every client of an Ethernet channel gets a link of its own; the
    // channel itself is opened once, by the first client.
    if (result == kOk && channel_ && channel_->KeepsClientLinks()) {
      result = channel_->OpenClient(handle, requested);
      if (result != kOk && first) {
        CloseChannel();
        opened = false;
      }
    }
  }
  if (result < 0) {
    // A refused or failed open leaves no trace of the handle, also when it was present before.
    clients_.Remove(handle);
    library_.OpenFailed(port_, handle);
    return result;
  }
  if (opened) library_.SetChannelConfig(port_, config_.Bytes().data(), rec.OpenValue());
  library_.OpenDone(port_, handle);
  library_.TouchPortStatus(port_);
  return kOk;
}

int CConnectionCore::OpenChannel(const CChannelConfig& config) {
  // The new channel replaces the running one only once it is open: a failed
  // open of a further client leaves the others' channel as it was.
  int error = kOk;
  std::unique_ptr<IChannel> channel = MakeChannel(config, port_, library_, clock_, *this, settings_, error);
  if (!channel) return error;
  if (int rc = channel->Open(); rc != kOk) return rc;
  if (channel_) channel_->Close();
  channel_ = std::move(channel);
  config_ = config;
  channelTimeoutMs_ = (config.Timeout() > 0 ? config.Timeout() : kDefaultTimeoutSec) * 1000;
  requestTimeoutMs_ = channelTimeoutMs_;
  return kOk;
}

void CConnectionCore::CloseChannel() {
  HangUpAtClose();
  if (channel_) {
    channel_->Close();
    channel_.reset();
  }
  library_.ChannelTearDown(port_);
  lastStation_ = 0xFFFF;
}

void CConnectionCore::RemoveClient(int16_t handle) {
  clients_.Remove(handle);
  library_.RemoveClient(port_, handle);
  library_.TouchPortStatus(port_);
}

int CConnectionCore::Close(int16_t handle) {
  if (!clients_.Contains(handle)) return kErrClient;
  if (channel_) channel_->CloseClient(handle);
  RemoveClient(handle);
  if (!clients_.Empty()) return kOk;
  CloseChannel();
  return kCloseLast;
}

// ---- PLC commands -------------------------------------------------------------

ExchangeOptions CConnectionCore::OptionsFor(const CRequestRecord& rec) const {
  ExchangeOptions o;
  o.flags = rec.Flags();
  o.timeoutMs = requestTimeoutMs_;
  o.channelKind = config_.Kind();
  o.route = rec.Route();
  return o;
}

int CConnectionCore::Exchange(const std::string& text, const CRequestRecord& rec, std::string& delivered) {
  if (!channel_) return kErrChannelKind;
  return channel_->Command(text, rec.Station(), OptionsFor(rec), delivered);
}

void CConnectionCore::StationPause(int station) {
  if (settings_.unitChk != 0 && station == lastStation_) return;
  lastStation_ = station;
  if (config_.StationPause() > 0) clock_.SleepMs(config_.StationPause());
}

int CConnectionCore::PlcCommand(int /*code*/, const CRequestRecord& rec) {
  const uint16_t flags = rec.Flags();
  const bool reopen = (flags & (tavinter::kFlagReopen | tavinter::kFlagReopenShort)) != 0;
  if (reopen && config_.Kind() == tavinter::kKindSerial && channel_) {
    CChannelConfig fresh = config_;
    uint8_t bytes[tavinter::kChannelConfigSize];
    if (library_.GetChannelConfig(port_, bytes)) fresh.Parse(bytes, sizeof bytes);
    int rc = channel_->Reopen(fresh);
    // With 0x0010 the request only re-opens the port.
    if (rc != kOk || (flags & tavinter::kFlagMarked)) return rc;
  }
  if (!reopen) {
    if (int rc = PreCommand(rec); rc != kOk) return rc;
  }
  StationPause(rec.Station());
  std::string delivered;
  int rc = Exchange(rec.CommandText(), rec, delivered);
  if (rc == kOk) library_.DeliverAnswer(currentHandle_, delivered);
  return rc;
}

int CConnectionCore::PreCommand(const CRequestRecord& rec) {
  std::string pre;
  if (channel_ && channel_->OpenedByPlc(currentHandle_)) return kOk;  // the PLC set its link up itself
  if (!library_.PreCommand(currentHandle_, pre) || pre.empty()) return kOk;
  std::string ignored;
  return Exchange(pre, rec, ignored);
}

int CConnectionCore::NotedCommand(const CRequestRecord& rec) {
  library_.NoteCommand(currentHandle_, port_, rec.CommandText());
  if (channel_ && channel_->OpenedByPlc(currentHandle_)) {
    // A link the PLC opened carries no noted command: it counts as answered.
    library_.DeliverAnswer(currentHandle_, std::string("$\0", 2));
    return kOk;
  }
  std::string delivered;
  int rc = Exchange(rec.CommandText(), rec, delivered);
  if (rc == kOk) {
    library_.DeliverAnswer(currentHandle_, delivered);
  } else {
    library_.TouchPortStatus(port_);
    library_.NoteCommand(currentHandle_, port_, std::string());
  }
  return rc;
}

// ---- monitor ------------------------------------------------------------------

int CConnectionCore::SendRegistrations(const CRequestRecord& rec, int station, bool contacts,
                                       const RegistrationSet& held, bool hasHeld, bool& stop) {
  const size_t half = kRegistrationBytes / 2;
  const size_t base = contacts ? CRequestRecord::kContactFrames : CRequestRecord::kCommandText;
  const uint8_t* wanted = rec.Bytes().data() + base;
  const uint8_t* before = held.data() + (contacts ? half : 0);
  const bool wantsAny = std::any_of(wanted, wanted + half, [](uint8_t b) { return b != 0; });
  const bool heldAny = hasHeld && std::any_of(before, before + half, [](uint8_t b) { return b != 0; });
  const bool differs = !hasHeld || std::memcmp(wanted, before, half) != 0;
  const std::string clear = StationCommand(station, contacts ? "MCFFFFF" : "MDFFFFFF");
  std::string answer;
  auto ok = [](int rc) { return rc == kOk || rc == kResultSuccessAlike; };
  if (!wantsAny) {
    if (!heldAny) return kOk;
    int rc = Exchange(clear, rec, answer);
    return ok(rc) ? kOk : rc;
  }
  if (!differs) return kOk;
  int rc = Exchange(clear, rec, answer);
  if (!ok(rc)) return rc;
  for (int i = 0; i < tavinter::kRegistrationFrames; ++i) {
    std::string frame = contacts ? rec.ContactRegistration(i) : rec.DataRegistration(i);
    if (frame.empty()) continue;
    rc = Exchange(frame, rec, answer);
    if (!ok(rc)) return rc;
    if (answer.empty() || answer[0] != '$') {
      stop = true;  // the PLC refused a registration: end quietly
      return kOk;
    }
  }
  return kOk;
}

int CConnectionCore::Monitor(const CRequestRecord& rec) {
  // A request along a route registers with the PLC at the route's end.
  int station = rec.Station();
  if (channel_) {
    if (int rc = channel_->RouteStation(rec.Route(), station); rc != kOk) return rc;
  }
  if ((rec.Flags() & (tavinter::kFlagReopen | tavinter::kFlagReopenShort)) == 0) {
    if (int rc = PreCommand(rec); rc != kOk) return rc;
  }
  StationPause(station);
  RegistrationSet held{};
  const bool hasHeld = library_.GetMonitorRegistration(port_, station, held);
  RegistrationSet wanted{};
  const size_t half = kRegistrationBytes / 2;
  std::memcpy(wanted.data(), rec.Bytes().data() + CRequestRecord::kCommandText, half);
  std::memcpy(wanted.data() + half, rec.Bytes().data() + CRequestRecord::kContactFrames, half);
  bool stop = false;
  int rc = SendRegistrations(rec, station, false, held, hasHeld, stop);
  if (rc == kOk && !stop) rc = SendRegistrations(rec, station, true, held, hasHeld, stop);
  if (rc != kOk || stop) return rc;  // a refused registration is not kept
  library_.SetMonitorRegistration(port_, station, wanted);
  bool anyReg = false;
  for (int i = 0; i < tavinter::kRegistrationFrames; ++i)
    anyReg = anyReg || !rec.DataRegistration(i).empty() || !rec.ContactRegistration(i).empty();
  if (!anyReg) return kOk;
  // The long-frame header when a second data frame or a sixth contact frame exists.
  const bool longFrame = !rec.DataRegistration(1).empty() || !rec.ContactRegistration(5).empty();
  std::string run = StationCommand(station, "MG");
  if (longFrame) run[0] = '<';
  std::string delivered;
  rc = Exchange(run, rec, delivered);
  if (rc == kResultSuccessAlike) rc = kOk;
  if (rc == kOk) library_.DeliverAnswer(currentHandle_, delivered);
  return rc;
}

// ---- raw transfers ------------------------------------------------------------

int CConnectionCore::RawSend(int code, const CRequestRecord& rec) {
  IByteLink* link = channel_ ? channel_->Link() : nullptr;
  CCommandExchange* exchange = channel_ ? channel_->Exchange() : nullptr;
  if (!link || !exchange) return kErrChannelKind;
  const uint16_t flags = rec.Flags();
  const bool text = code == tavinter::kRequestRawText || code == tavinter::kRequestRawText55;
  const bool unchanged = !text || (flags & tavinter::kFlagRawUnchanged);
  std::string frame;
  if (text) {
    frame = rec.CommandText();
    if (!unchanged) frame = plcframe::CompleteFrame(frame);
  } else {
    auto bytes = rec.CommandBytes();
    frame.assign(bytes.begin(), bytes.end());
  }
  int rc = exchange->Send(frame, false);
  if (rc != kOk || (flags & tavinter::kFlagNoAnswer)) return rc;
  // A checked text answer is a PLC answer; anything else is taken from its
  // first byte, up to the line end or the length the record asks for.
  CAnswerReader reader(*link, clock_, this);
  AnswerReadOptions o;
  o.timeoutMs = requestTimeoutMs_;
  o.check = !unchanged;
  o.checkOwner = false;
  o.hunt = !unchanged;
  o.capacity = kAnswerBuffer;
  if (rec.AnswerLength() > 0) o.exactLength = std::min<size_t>(static_cast<size_t>(rec.AnswerLength()), kAnswerBuffer);
  std::string answer;
  rc = reader.Read(frame, o, answer);
  if (rc != kOk) return rc;
  answer.resize(kAnswerBuffer, '\0');
  library_.DeliverAnswer(currentHandle_, answer);
  return kOk;
}

int CConnectionCore::ReadByte() {
  IByteLink* link = channel_ ? channel_->Link() : nullptr;
  if (!link) return kErrChannelKind;
  // One read of at most 100 ms: the server serves every client on one
  // thread, so it never waits the request time-out for a single byte.
  char byte = 0;
  const int n = link->Read(&byte, 1, kReadByteWaitMs);
  if (n < 0) return kErrRead;
  if (n == 0) return kErrNoAnswer;
  Record(kLogReceived, &byte, 1);
  library_.DeliverAnswer(currentHandle_, std::string(1, byte));
  return kOk;
}

// ---- housekeeping -------------------------------------------------------------

bool CConnectionCore::Tick(std::time_t now) {
  if (clients_.Empty()) {
    if (!idle_) {
      idle_ = true;
      idleSince_ = now;
      return false;
    }
    return now - idleSince_ > 3;
  }
  idle_ = false;
  log_.Refresh(now);
  WatchCall();
  std::vector<int16_t> gone;
  for (const auto& c : clients_.Clients())
    if (!library_.ClientAlive(c.handle)) gone.push_back(c.handle);
  for (int16_t h : gone) {
    if (channel_) channel_->CloseClient(h);
    RemoveClient(h);
    library_.ReleaseClient(h);
  }
  if (!gone.empty() && clients_.Empty()) CloseChannel();
  if (channel_) channel_->AfterTick();
  return false;
}

void CConnectionCore::Shutdown() {
  if (!clients_.Empty() || channel_) CloseChannel();
  else library_.ChannelTearDown(port_);
}

}  // namespace connsrv
