// Arbitrary bytes as the answers of a header link, in arbitrary chunks: the
// header stripping never passes on more text than the headers announce,
// never reads past its input, and the route and header readers accept only
// what they can build again.
#include <cstdint>
#include <string>

#include "connsrv/answer_reader.h"
#include "connsrv/ethernet_frame.h"
#include "connsrv/header_link.h"
#include "connsrv/result_codes.h"
#include "fake_link.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  using namespace connsrv;
  const std::string_view input(reinterpret_cast<const char*>(data) + 2, size - 2);

  size_t headerLength = 0, textLength = 0;
  if (CEthernetFrame::ParseHeader(input, headerLength, textLength) == CEthernetFrame::Parse::kOk) {
    if (headerLength > input.size() || textLength > CEthernetFrame::kMaxText) __builtin_trap();
    if (headerLength != CEthernetFrame::kFixedHeader + 2 * static_cast<uint8_t>(input[7])) __builtin_trap();
  }
  EthernetRoute route;
  if (CEthernetFrame::ParseRoute(input, route)) {
    if (route.hops.size() > CEthernetFrame::kMaxHops) __builtin_trap();
    if (CEthernetFrame::Header(0, false, 0, route).size() != CEthernetFrame::kFixedHeader + 2 * route.hops.size())
      __builtin_trap();
  }
  const std::string text = CEthernetFrame::CompleteText(input, (data[0] & 1) != 0);
  if (text.empty() || text.back() != '\r') __builtin_trap();

  connsrv_test::FakeClock clock;
  connsrv_test::FakeLink inner(clock);
  connsrv_test::Reply reply;
  const size_t chunk = 1 + data[1] % 64;
  for (size_t pos = 0; pos < input.size(); pos += chunk)
    reply.push_back({static_cast<int>(data[0] % 50), std::string(input.substr(pos, chunk))});
  inner.replies.push_back(reply);
  CHeaderLink link(inner);
  link.Write("x", 1);
  CAnswerReader reader(link, clock, nullptr);
  AnswerReadOptions o;
  o.timeoutMs = 300;
  o.checkOwner = (data[0] & 2) != 0;
  std::string answer;
  const int rc = reader.Read("%01#RDD0000000001\r", o, answer);
  if (answer.size() > o.capacity) __builtin_trap();
  if (rc == kErrRead && link.Fault() != kErrEthernetReceive) __builtin_trap();
  if (answer.size() > input.size()) __builtin_trap();
  return 0;
}
