// The dialog entry points of tavtools: the dialogs run modally over the
// caller's window; the destination is read from and stored in the
// application's section of the communication library's settings.
#include <QWidget>

#include <array>

#include "caller_text.h"
#include "destination.h"
#include "platform/message_box.h"
#include "settings_dialogs.h"
#include "tavinter/connection_record.h"
#include "tavinter/tavinter.h"
#include "tavtools/tavtools_dialogs.h"
#include "tool_texts.h"

using namespace tavtools;
using tavinter::CConnectionRecord;

namespace {

using Record = std::array<unsigned char, TAV_CONNECTION_RECORD_SIZE>;

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
  int language = LanguageOfRecord(record);
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
  CopyToCaller(DestinationName(d, language), destinationName, TAVTOOLS_NAME_SIZE);
  return 1;
}

int TavSpecifyStation(unsigned char* record, void* owner, const char* applicationName, int, int,
                      uint16_t* destinationNo, char*, int) {
  if (!destinationNo) return TAV_E_BAD_ARGUMENT;
  int language = LanguageOfRecord(record);
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

}  // extern "C"
