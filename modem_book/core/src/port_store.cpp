// The port settings of the document, read from and written to the interface
// library: the port list ([TAVMODEM] PORTS), the last-used port (the PORT of
// the "TAVMODEM" section) and the channel records 501..515 of COM 1..15.
#include <algorithm>

#include "modem_book/tel_connect_doc.h"
#include "tavinter/connection_record.h"
#include "tavinter/tavinter.h"

namespace modembook {

namespace {
constexpr const char* kModemSection = "TAVMODEM";
constexpr int kFirstChannelId = 500;  // channel id = COM number + 500
constexpr int16_t kKindModem = 6;

void FromRecord(CPortModemSettings& s) {
  tavinter::CConnectionRecord r(s.record.data());
  s.dialMode = r.DialMode();
  s.dialCommand = r.DialCommand();
  s.initCommand = r.InitCommand();
  s.plcTimeout = r.Timeout();
  s.lineTimeout = r.LineTimeout();
}

void ToRecord(CPortModemSettings& s, int com) {
  tavinter::CConnectionRecord r(s.record.data());
  r.SetKind(kKindModem);
  r.SetPort(static_cast<int16_t>(com));
  r.SetDialMode(s.dialMode);
  r.SetDialCommand(s.dialCommand);
  r.SetInitCommand(s.initCommand);
  r.SetTimeout(s.plcTimeout);
  r.SetLineTimeout(s.lineTimeout);
}
}  // namespace

void CTelConnectDoc::ReadPortSettings() {
  std::array<uint8_t, CPortModemSettings::kRecordSize> section{};
  int last = TavReadSection(section.data(), kModemSection) == 0 ? tavinter::CConnectionRecord(section.data()).Port() : 1;
  SetCurrentPort(last);

  int listed[256] = {};
  const int n = TavGetModemPorts(listed, 256);
  portList_.clear();
  for (int i = 0; i < n && i < 256; ++i)
    if (listed[i] >= 1 && listed[i] <= kPortCount) portList_.push_back(listed[i]);
  if (portList_.empty()) portList_.push_back(currentPort_);
  // The current port is always one the list offers.
  if (std::find(portList_.begin(), portList_.end(), currentPort_) == portList_.end()) currentPort_ = portList_.front();

  for (int com = 1; com <= kPortCount; ++com) {
    CPortModemSettings& s = ports_[com - 1];
    s.record.fill(0);
    if (TavReadPortRecord(s.record.data(), kFirstChannelId + com) == 0) {
      FromRecord(s);
    } else {
      s.ResetToDefaults();
      ToRecord(s, com);
    }
    portModified_[com - 1] = false;
  }
}

int CTelConnectDoc::WritePortSettings(int com) {
  CPortModemSettings& s = ports_.at(static_cast<size_t>(com - 1));
  ToRecord(s, com);
  if (TavWritePortRecord(s.record.data(), kFirstChannelId + com) != 0) return kErrWrite;
  if (com == currentPort_ && TavWriteSection(s.record.data(), kModemSection) != 0) return kErrWrite;
  portModified_[com - 1] = false;
  return kBookOk;
}

}  // namespace modembook
