// Client side of the library: settings of the application's section,
// opening and closing a connection, error texts, PLC commands and the unit
// memory reads and writes.
#include <chrono>
#include <thread>

#include "client_handles.h"
#include "client_request.h"
#include "library_settings.h"
#include "platform/folders.h"
#include "request_transport.h"
#include "result_texts.h"
#include "server_launcher.h"
#include "tavinter/connection_record.h"
#include "tavinter/tavinter.h"
#include "unit_frames.h"

using namespace tavinter;

namespace {

constexpr int kStartPollMs = 50;

CConnectionRecord Rec(unsigned char* record) { return CConnectionRecord(record); }

// Sends the open request, starting the port's server once when none answers.
int ExchangeOpen(int port, int language, const CRequestRecord& request, int replyLimitMs, CReply& reply) {
  int rc = ExchangeRequest(port, kRequestOpen, request, replyLimitMs, reply);
  if (rc != TAV_E_SERVER_ABSENT) return rc;
  rc = StartServer(port, language);
  if (rc != 0) return rc;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ServerStartWaitMs());
  while (std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(kStartPollMs));
    rc = ExchangeRequest(port, kRequestOpen, request, replyLimitMs, reply);
    if (rc != TAV_E_SERVER_ABSENT) return rc;
  }
  return TAV_E_SERVER_ABSENT;
}

int Transfer(unsigned char* record, int station, int memoryKind, int slot, long address, long count,
             uint16_t* readWords, const uint16_t* writeWords) {
  if (!record) return TAV_E_BAD_RECORD;
  if (memoryKind != TAV_MEMORY_UNIT || (!readWords && !writeWords)) return TAV_E_BAD_ARGUMENT;
  int rc = CheckTransfer(station, slot, address, count);
  if (rc != 0) return rc;
  int port = OpenPortOf(record);
  if (port < 0) return port;
  for (const CFramePiece& piece : SplitTransfer(address, count)) {
    long offset = piece.address - address;
    CRequestRecord request;
    request.SetStation(static_cast<int16_t>(station));
    std::string frame = readWords ? BuildReadFrame(station, slot, piece.address, piece.count)
                                  : BuildWriteFrame(station, slot, piece.address, piece.count, writeWords + offset);
    request.SetCommandText(frame);
    std::vector<uint8_t> answer;
    rc = ClientRequest(record, kRequestCommand, request, answer);
    if (rc != 0) return rc;
    rc = readWords ? ParseReadAnswer(answer, piece.count, readWords + offset) : ParseWriteAnswer(answer);
    if (rc != 0) return rc;
  }
  return 0;
}

}  // namespace

extern "C" {

int TavSetProductNo(unsigned char* record, int productNo) {
  if (!record) return TAV_E_BAD_RECORD;
  Rec(record).SetProductNo(static_cast<int16_t>(productNo));
  return 0;
}

int TavReadSection(unsigned char* record, const char* section) {
  if (!record || !section) return TAV_E_BAD_RECORD;
  CConnectionRecord r = Rec(record);
  if (r.ClientHandle() > 0) {
    if (OwnsClientHandle(r.ClientHandle())) return 0;  // an open connection keeps its destination
    r.SetClientHandle(0);                               // a stale handle of a copied record
  }
  if (!ReadDestination(section, r)) return TAV_E_SETTINGS;
  r.SetName(section);
  return 0;
}

int TavWriteSection(const unsigned char* record, const char* section) {
  if (!record || !section) return TAV_E_BAD_RECORD;
  return WriteDestination(section, CConnectionRecord(const_cast<unsigned char*>(record))) ? 0 : TAV_E_SETTINGS;
}

int TavSetLanguage(unsigned char* record, int english) {
  int language = english == 0 ? 0 : 1;
  SetDefaultLanguage(language);
  if (record) Rec(record).SetLanguage(static_cast<int16_t>(language));
  return 0;
}

int TavOpen(void* /*owner*/, unsigned char* record) {
  if (!record) return TAV_E_BAD_RECORD;
  CConnectionRecord r = Rec(record);
  int port = PortNumberOf(r.Kind(), r.Port());
  if (port <= 0) return TAV_E_BAD_RECORD;
  std::string folderError;
  if (!platform::CheckRuntimeDir(folderError)) return TAV_E_RUNTIME_DIR;
  if (r.ClientHandle() > 0) {
    if (OwnsClientHandle(r.ClientHandle())) return 0;  // already open through this record
    r.SetClientHandle(0);  // a copied or stale record
  }
  int handle = AllocateClientHandle(r.Name());
  if (handle < 0) return handle;

  CRequestRecord request;
  request.SetClientHandle(static_cast<int16_t>(handle));
  request.SetClientName(r.Name());
  request.SetOpenValue(r.OpenValue());
  request.SetChannelConfig(r.Config());
  CReply reply;
  // Opening a modem channel may include the modem's initialisation.
  bool modem = r.Kind() == kKindModem || r.Kind() == kKindModemAlarm;
  int limit = ReplyLimitMs(0, r.Timeout(), modem ? r.LineTimeout() : ConnectSlackSeconds(r));
  int rc = ExchangeOpen(port, r.Language(), request, limit, reply);
  if (rc == 0 && reply.result != TAV_SERVER_SUCCESS) rc = reply.result == 0 ? TAV_E_BAD_REPLY : reply.result;
  if (rc != 0) {
    FreeClientHandle(handle);
    return rc;
  }
  SetClientPort(handle, port, true);
  r.SetClientHandle(static_cast<int16_t>(handle));
  return 0;
}

int TavSetApplicationName(unsigned char* record, const char* name) {
  if (!record || !name) return TAV_E_BAD_RECORD;
  CConnectionRecord r = Rec(record);
  r.SetName(name);
  if (r.ClientHandle() > 0 && OwnsClientHandle(r.ClientHandle())) SetClientName(r.ClientHandle(), r.Name());
  return 0;
}

int TavClose(unsigned char* record) {
  int port = OpenPortOf(record);
  if (port < 0) return port;
  CConnectionRecord r = Rec(record);
  int handle = r.ClientHandle();
  CRequestRecord request;
  std::vector<uint8_t> answer;
  int rc = ClientRequest(record, kRequestClose, request, answer);
  // The handle goes whatever the server said: the connection is over.
  FreeClientHandle(handle);
  r.SetClientHandle(0);
  return rc;
}

int TavGetErrorTextOfRecord(const unsigned char* record, int code, char* text, int size) {
  int language = record ? CConnectionRecord(const_cast<unsigned char*>(record)).Language() : DefaultLanguage();
  return CopyText(ResultText(code, language), text, size) ? 0 : TAV_E_BAD_ARGUMENT;
}

int TavGetErrorText(int code, char* text, int size) {
  return CopyText(ResultText(code, DefaultLanguage()), text, size) ? 0 : TAV_E_BAD_ARGUMENT;
}

int TavReadUnitWords(unsigned char* record, int station, int memoryKind, int slot, long wordAddress, long wordCount,
                     uint16_t* words) {
  if (!words) return TAV_E_BAD_ARGUMENT;
  return Transfer(record, station, memoryKind, slot, wordAddress, wordCount, words, nullptr);
}

int TavWriteUnitWords(unsigned char* record, int station, int memoryKind, int slot, long wordAddress,
                      long wordCount, const uint16_t* words) {
  if (!words) return TAV_E_BAD_ARGUMENT;
  return Transfer(record, station, memoryKind, slot, wordAddress, wordCount, nullptr, words);
}

int TavSendCommand(unsigned char* record, int station, const char* command, char* answer, int answerSize,
                   int* answerLength) {
  if (answerLength) *answerLength = 0;
  if (!command || station < 0 || station > 99 || (answerSize > 0 && !answer) || answerSize < 0)
    return TAV_E_BAD_ARGUMENT;
  CRequestRecord request;
  request.SetStation(static_cast<int16_t>(station));
  if (!request.SetCommandText(command)) return TAV_E_BAD_ARGUMENT;
  return ClientRequestInto(record, kRequestCommand, request, answer, answerSize, answerLength);
}

int TavRequest(unsigned char* record, int code, const unsigned char* requestRecord, unsigned char* answer,
               int answerSize, int* answerLength) {
  if (answerLength) *answerLength = 0;
  if (answerSize < 0 || (answerSize > 0 && !answer)) return TAV_E_BAD_ARGUMENT;
  CRequestRecord request;
  if (requestRecord && !request.Parse(requestRecord, kRequestRecordSize)) return TAV_E_BAD_ARGUMENT;
  if (code != kRequestDial) return ClientRequestInto(record, code, request, answer, answerSize, answerLength);
  // A dial waits for the call like TavDial.
  std::vector<uint8_t> reply;
  const int rc = DialRequest(record, request, reply);
  return rc != 0 ? rc : CopyAnswer(reply, answer, answerSize, answerLength);
}

int TavPortNumberOfRecord(const unsigned char* record) {
  if (!record) return TAV_E_BAD_RECORD;
  CConnectionRecord r(const_cast<unsigned char*>(record));
  int port = PortNumberOf(r.Kind(), r.Port());
  return port > 0 ? port : TAV_E_BAD_RECORD;
}

}  // extern "C"
