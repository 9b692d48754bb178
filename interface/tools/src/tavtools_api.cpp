// The widget-free entry points of tavtools: the destination text and the
// programming-tool check.
#include <string>

#include "caller_text.h"
#include "destination.h"
#include "tavinter/connection_record.h"
#include "tavinter/tavinter.h"
#include "tavtools/tavtools.h"

using namespace tavtools;
using tavinter::CConnectionRecord;

extern "C" {

int TavDestinationText(const unsigned char* record, uint16_t destinationNo, const char*, char* text) {
  if (!text) return TAV_E_BAD_ARGUMENT;
  text[0] = 0;
  if (!record) return TAV_E_BAD_RECORD;
  CDestination d = CDestination::FromRecord(CConnectionRecord(const_cast<unsigned char*>(record)));
  d.station = destinationNo;
  CopyToCaller(DestinationText(d, LanguageOfRecord(record)), text, TAVTOOLS_TEXT_SIZE);
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
