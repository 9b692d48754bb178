// Arbitrary bytes as a PLC's answer, in arbitrary chunks: the reader ends with
// a result and never holds more than its buffer.
#include <cstdint>
#include <string>

#include "fake_link.h"
#include "connsrv/command_exchange.h"
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
  return 0;
}
