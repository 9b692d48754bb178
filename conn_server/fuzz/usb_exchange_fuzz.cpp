// Arbitrary bytes as the answers on a USB link, in arbitrary chunks, with
// arbitrary request flags and failing re-opens: the exchange ends with a
// result, never delivers more than its limit, and a marked request's length
// prefix always matches what follows it.
#include <cstdint>
#include <string>

#include "connsrv/command_exchange.h"
#include "connsrv/result_codes.h"
#include "connsrv/usb_exchange.h"
#include "fake_usb.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  using namespace connsrv;
  connsrv_test::FakeClock clock;
  connsrv_test::FakeUsb usb(clock);
  connsrv_test::RecordingLog log;
  CServerSettings settings;
  CUsbExchange exchange(usb, clock, &log, settings);
  for (int i = 0; i < 4; ++i) usb.openResults.push_back((data[2] >> i) & 1);
  connsrv_test::Reply reply;
  size_t pos = 3;
  const size_t chunk = 1 + data[1] % 64;
  while (pos < size) {
    size_t n = std::min(chunk, size - pos);
    reply.push_back({static_cast<int>(data[pos] % 300), std::string(reinterpret_cast<const char*>(data + pos), n)});
    pos += n;
  }
  for (int i = 0; i < 4; ++i) usb.Bytes().replies.push_back(reply);
  ExchangeOptions o;
  // Flags 0x0001, 0x0002 and 0x0010 from the first byte.
  o.flags = static_cast<uint16_t>((data[0] & 0x3) | ((data[0] & 0x4) ? tavinter::kFlagMarked : 0));
  o.timeoutMs = 200 + (data[0] >> 3) * 10;
  const char* command = (data[0] & 0x80) ? "%FF#WCSR00101" : "%01#RDD0000000001";
  std::string delivered;
  const int rc = exchange.Run(command, o, delivered);
  const bool marked = (o.flags & tavinter::kFlagMarked) != 0;
  if (delivered.size() > kDeliverLimit + (marked ? 2 : 0)) __builtin_trap();
  if (rc != kOk && !delivered.empty()) __builtin_trap();
  if (rc == kOk && marked && !delivered.empty()) {
    const size_t n = static_cast<uint8_t>(delivered[0]) | (static_cast<uint8_t>(delivered[1]) << 8);
    if (n != delivered.size() - 2) __builtin_trap();
  }
  if (usb.Bytes().writes.size() > static_cast<size_t>(CUsbExchange::kAttempts)) __builtin_trap();
  return 0;
}
