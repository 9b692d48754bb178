#pragma once
// One request of an open connection to its server: the record's handle is
// filled in, the reply time limit follows the request's PLC time-outs, and
// the server's 10000 becomes 0.
#include <cstdint>
#include <vector>

#include "tavinter/request_record.h"

namespace tavinter {

class CConnectionRecord;

// The server port of an open record; TAV_E_NOT_OPEN / TAV_E_BAD_RECORD otherwise.
int OpenPortOf(const uint8_t* record);

// The reply time limit in ms for a request with these PLC time-outs (seconds).
int ReplyLimitMs(int requestTimeout, int channelTimeout, int extraSeconds);
// The same for a kind of channel: a USB command may take four attempts with
// a second and a half of re-opening between them.
int ReplyLimitMsForKind(int kind, int requestTimeout, int channelTimeout, int extraSeconds);
// Extra reply time of a channel whose server may connect first (Ethernet
// kinds 5 and 8): the client must not give up while the server connects.
int ConnectSlackSeconds(const CConnectionRecord& r);

// Sends the request (code, record) for the open connection; 0 with the
// delivered answer, or the error code (the server's or the library's).
int ClientRequest(const uint8_t* record, int32_t code, CRequestRecord& request, std::vector<uint8_t>& answer,
                  int extraSeconds = 0);

// The same, with the answer copied into the caller's buffer of answerSize
// bytes and its length into *answerLength (0 on any failure);
// TAV_E_BUFFER_SMALL, nothing copied, when it does not fit.
int ClientRequestInto(const uint8_t* record, int32_t code, CRequestRecord& request, void* answer, int answerSize,
                      int* answerLength);

// Copies a delivered answer into the caller's buffer as ClientRequestInto does.
int CopyAnswer(const std::vector<uint8_t>& reply, void* answer, int answerSize, int* answerLength);

// A dial (request 30): a cancel left from an earlier dial is cleared first,
// and the reply may take the record's line time-out beyond the usual limit,
// since the server answers only when the call is up or has failed.
int DialRequest(const uint8_t* record, CRequestRecord& request, std::vector<uint8_t>& answer);

}  // namespace tavinter
