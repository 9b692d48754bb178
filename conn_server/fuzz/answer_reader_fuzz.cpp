// Arbitrary bytes as a PLC's answer, in arbitrary chunks: the reader ends with
// a result and never holds more than its buffer, in the PLC-answer mode and
// in the raw-transfer modes (no start hunting, fixed answer length).
#include <cstdint>
#include <string>

#include "connsrv/answer_reader.h"
#include "fake_link.h"
#include "connsrv/command_exchange.h"
#include "connsrv/result_codes.h"
#include "plcframe/frame_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  using namespace connsrv;
  connsrv_test::FakeClock clock;
  connsrv_test::FakeLink link(clock);
  connsrv_test::RecordingLog log;
  CServerSettings settings;
  settings.retry = data[0] % 4;
  CCommandExchange exchange(link, clock, &log, settings);
  // Chunk sizes and delays from the input; the rest is the answer stream.
  connsrv_test::Reply reply;
  size_t pos = 2;
  const size_t chunk = 1 + data[1] % 64;
  while (pos < size) {
    size_t n = std::min(chunk, size - pos);
    reply.push_back({static_cast<int>(data[pos] % 300), std::string(reinterpret_cast<const char*>(data + pos), n)});
    pos += n;
  }
  for (int i = 0; i < 8; ++i) link.replies.push_back(reply);
  ExchangeOptions o;
  o.flags = static_cast<uint16_t>(data[0] & 0x3);
  o.timeoutMs = 500;
  exchange.BeginRequest();
  std::string delivered;
  exchange.Run("%01#RDD0000000001", o, delivered);
  if (delivered.size() > kDeliverLimit) __builtin_trap();

  // The raw-transfer reading: from the first byte, by line end or by length.
  AnswerReadOptions raw;
  raw.hunt = (data[0] & 0x10) != 0;
  raw.check = (data[0] & 0x20) != 0;
  raw.checkOwner = false;
  raw.exactLength = (data[0] & 0x40) ? data[1] : 0;
  raw.capacity = kAnswerBuffer;
  raw.timeoutMs = 300;
  CAnswerReader reader(link, clock, &log);
  link.Write("x", 1);
  std::string answer;
  const int rc = reader.Read("%01#RDD0000000001\r", raw, answer);
  if (answer.size() > kAnswerBuffer) __builtin_trap();
  if (rc == kOk && raw.exactLength > 0 && answer.size() != raw.exactLength) __builtin_trap();
  return 0;
}
