// The entry points of tavtools: the dialogs run modally over the caller's
// window; the destination is read from and stored in the application's
// section of the communication library's settings.
#include <QWidget>

#include <array>
#include <cstring>

#include "destination.h"
#include "platform/message_box.h"
#include "settings_dialogs.h"
#include "tavinter/connection_record.h"
#include "tavinter/tavinter.h"
#include "tavtools/tavtools.h"
#include "tool_texts.h"

using namespace tavtools;
using tavinter::CConnectionRecord;

namespace {

using Record = std::array<unsigned char, TAV_CONNECTION_RECORD_SIZE>;

int LanguageOf(const unsigned char* record) {
  return record ? CConnectionRecord(const_cast<unsigned char*>(record)).Language() : 1;
}

// Copies into a caller's buffer of `size` bytes, cut on a UTF-8 character boundary.
void CopyOut(const std::string& text, char* out, size_t size) {
  if (!out || size == 0) return;
  size_t n = std::min(text.size(), size - 1);
  if (n < text.size())
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  std::memcpy(out, text.data(), n);
  out[n] = 0;
}

bool ReadSection(const char* section, Record& tmp) {
  tmp.fill(0);
  return TavReadSection(tmp.data(), section) == 0;
}

}  // namespace

extern "C" {

int TavCommunicationSettings(unsigned char* record, const char* applicationName, void* owner, int, const char*, int,
                             int, const int16_t*, int, uint16_t* destinationNo, int32_t*, char* destinationName, int,
                             int) {
  Record tmp;
  if (!applicationName || !ReadSection(applicationName, tmp)) return TAV_E_BAD_ARGUMENT;
  int language = LanguageOf(record);
  CCommSettingsDialog dialog(static_cast<QWidget*>(owner), CDestination::FromRecord(CConnectionRecord(tmp.data())),
                             language);
  if (dialog.exec() != QDialog::Accepted) return 2;
  CDestination d = dialog.Destination();
  d.ToRecord(CConnectionRecord(tmp.data()));
  if (TavWriteSection(tmp.data(), applicationName) != 0) {
    platform::ShowMessageBox(ToolText(kTextSaveFailed, language), platform::MB_OK | platform::MB_ICONEXCLAMATION,
                             ToolText(kTextSettingsTitle, language), owner);
    return 2;
  }
  // A record that is not open takes the new destination at once; an open
  // connection keeps its own until it is closed.
  if (record && CConnectionRecord(record).ClientHandle() <= 0) {
    std::string name = CConnectionRecord(record).Name();
    TavReadSection(record, applicationName);
    if (!name.empty()) CConnectionRecord(record).SetName(name);
  }
  if (destinationNo) *destinationNo = static_cast<uint16_t>(d.station);
  CopyOut(DestinationName(d, language), destinationName, TAVTOOLS_NAME_SIZE);
  return 1;
}

int TavSpecifyStation(unsigned char* record, void* owner, const char* applicationName, int, int,
                      uint16_t* destinationNo, char*, int) {
  if (!destinationNo) return TAV_E_BAD_ARGUMENT;
  int language = LanguageOf(record);
  CDestination d;
  if (record) d = CDestination::FromRecord(CConnectionRecord(record));
  CStationDialog dialog(static_cast<QWidget*>(owner), *destinationNo, DestinationName(d, language), language);
  if (dialog.exec() != QDialog::Accepted) return 2;
  *destinationNo = static_cast<uint16_t>(dialog.Station());
  if (record) CConnectionRecord(record).SetStation(static_cast<int16_t>(dialog.Station()));
  Record tmp;
  if (applicationName && ReadSection(applicationName, tmp)) {
    CConnectionRecord(tmp.data()).SetStation(static_cast<int16_t>(dialog.Station()));
    TavWriteSection(tmp.data(), applicationName);
  }
  return 1;
}

int TavDestinationText(const unsigned char* record, uint16_t destinationNo, const char*, char* text) {
  if (!text) return TAV_E_BAD_ARGUMENT;
  text[0] = 0;
  if (!record) return TAV_E_BAD_RECORD;
  CDestination d = CDestination::FromRecord(CConnectionRecord(const_cast<unsigned char*>(record)));
  d.station = destinationNo;
  CopyOut(DestinationText(d, LanguageOf(record)), text, TAVTOOLS_TEXT_SIZE);
  return 0;
}

int TavCheckProgrammingTool(unsigned char* record, uint16_t destinationNo, int32_t* scratch, const char*,
                            const char*) {
  if (scratch) *scratch = 0;
  if (destinationNo > 99) return TAV_E_BAD_ARGUMENT;
  std::string station = destinationNo == 0 ? "EE" : (destinationNo < 10 ? "0" : "") + std::to_string(destinationNo);
  std::string command = "%" + station + "#RT";
  char answer[512];
  int length = 0;
  int rc = TavSendCommand(record, destinationNo, command.c_str(), answer, sizeof answer, &length);
  if (rc != 0) return rc;
  // Any well-formed answer, normal or error, shows that the destination is there.
  return length > 0 && (answer[0] == '$' || answer[0] == '!') ? 0 : TAV_E_BAD_ANSWER;
}

}  // extern "C"
