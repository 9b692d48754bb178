#include "client_request.h"

#include <algorithm>

#include "client_handles.h"
#include "library_settings.h"
#include "request_transport.h"
#include "tavinter/connection_record.h"
#include "tavinter/result_codes.h"

namespace tavinter {

int OpenPortOf(const uint8_t* record) {
  if (!record) return TAV_E_BAD_RECORD;
  CConnectionRecord r(const_cast<uint8_t*>(record));
  if (r.ClientHandle() <= 0) return TAV_E_NOT_OPEN;
  int port = PortNumberOf(r.Kind(), r.Port());
  return port > 0 ? port : TAV_E_BAD_RECORD;
}

int ReplyLimitMsForKind(int kind, int requestTimeout, int channelTimeout, int extraSeconds) {
  int t = requestTimeout > 0 ? requestTimeout : channelTimeout;
  if (t <= 0) t = 10;
  if (t > 3600) t = 3600;
  // A command may take three attempts with repeats inside each; on USB four,
  // with a second and a half of re-opening between them. The slack covers
  // start-up and the server's own pauses.
  const bool usb = kind == kKindUsb;
  long long ms = ((usb ? 4LL : 3LL) * t + ReplySlackSeconds() + (extraSeconds > 0 ? extraSeconds : 0)) * 1000LL +
                 (usb ? 4500 : 0);
  return ms > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(ms);
}

int ReplyLimitMs(int requestTimeout, int channelTimeout, int extraSeconds) {
  return ReplyLimitMsForKind(kKindSerial, requestTimeout, channelTimeout, extraSeconds);
}

int ConnectSlackSeconds(const CConnectionRecord& r) {
  if (r.Kind() != kKindEthernet && r.Kind() != kKindEthernet8) return 0;
  // A request may reconnect the link; the connect limit (0: 180 s) sits at
  // configuration offset 108. Three attempts may each reconnect.
  const CChannelConfig c = r.Config();
  const int32_t limit = GetI32(c.Bytes().data(), c.Bytes().size(), 108);
  return 3 * (limit > 0 && limit <= 3600 ? limit : 180);
}

int ClientRequest(const uint8_t* record, int32_t code, CRequestRecord& request, std::vector<uint8_t>& answer,
                  int extraSeconds) {
  answer.clear();
  int port = OpenPortOf(record);
  if (port < 0) return port;
  CConnectionRecord r(const_cast<uint8_t*>(record));
  int handle = r.ClientHandle();
  if (ClientForcedOff(handle)) return TAV_E_FORCED_OFF;
  request.SetClientHandle(static_cast<int16_t>(handle));
  CReply reply;
  int rc = ExchangeRequest(port, code, request, ReplyLimitMsForKind(r.Kind(), request.Timeout(), r.Timeout(), extraSeconds + ConnectSlackSeconds(r)), reply);
  // The connection was open, so a server that no longer listens has died.
  if (rc == TAV_E_SERVER_ABSENT) return TAV_E_SERVER_LOST;
  if (rc != 0) return rc;
  if (reply.result != TAV_SERVER_SUCCESS) return reply.result == 0 ? TAV_E_BAD_REPLY : reply.result;
  answer = std::move(reply.answer);
  return 0;
}

int ClientRequestInto(const uint8_t* record, int32_t code, CRequestRecord& request, void* answer, int answerSize,
                      int* answerLength) {
  if (answerLength) *answerLength = 0;
  std::vector<uint8_t> reply;
  int rc = ClientRequest(record, code, request, reply);
  if (rc != 0) return rc;
  return CopyAnswer(reply, answer, answerSize, answerLength);
}

int CopyAnswer(const std::vector<uint8_t>& reply, void* answer, int answerSize, int* answerLength) {
  if (answerLength) *answerLength = 0;
  if (reply.size() > static_cast<size_t>(answerSize)) return TAV_E_BUFFER_SMALL;
  std::copy(reply.begin(), reply.end(), static_cast<uint8_t*>(answer));
  if (answerLength) *answerLength = static_cast<int>(reply.size());
  return 0;
}

}  // namespace tavinter
