#pragma once
// The local request socket between a client's library and the connection
// server of a port: one AF_UNIX stream socket per server copy in the runtime
// folder, both peers checked to be the same user.
//
//   request: int32 code, then the 9,369-byte request record
//   reply:   int32 result, uint32 answer length (at most kMaxAnswer), the answer bytes
//
// One connection carries one request; the server closes it after the reply.
// Every wait has a deadline, so a dead or hung peer gives an error code.
#include <cstdint>
#include <string>
#include <vector>

#include "tavinter/request_record.h"

namespace tavinter {

constexpr uint32_t kMaxAnswer = 4096;
constexpr size_t kRequestWireSize = 4 + kRequestRecordSize;

std::string EndpointPath(int port);

struct CReply {
  int32_t result = 0;
  std::vector<uint8_t> answer;
};

// Sends one request and waits for the reply at most replyTimeoutMs.
// 0 with the reply; TAV_E_SERVER_ABSENT when nobody listens on the port;
// TAV_E_SERVER_LOST, TAV_E_REPLY_TIMEOUT, TAV_E_BAD_REPLY, TAV_E_PEER_USER or
// TAV_E_TRANSPORT otherwise.
int ExchangeRequest(int port, int32_t code, const CRequestRecord& record, int replyTimeoutMs, CReply& reply);

// Server side. Creates the listening socket (a stale socket file of a dead
// server is replaced); the descriptor or a negative code.
int ListenEndpoint(int port);
void RemoveEndpoint(int port, int listenFd);
// Accepts one request; the connection descriptor, or a negative code when
// nothing came in time (TAV_E_REPLY_TIMEOUT) or the request was refused.
int AcceptOneRequest(int listenFd, int timeoutMs, int32_t& code, CRequestRecord& record);
// Sends the reply and closes the connection.
int SendReply(int connectionFd, int32_t result, const std::vector<uint8_t>& answer);

}  // namespace tavinter
