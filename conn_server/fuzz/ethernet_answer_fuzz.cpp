// Arbitrary bytes as the answers of a header link, in arbitrary chunks: the
// header stripping never passes on more text than the headers announce,
// never reads past its input, and the route and header readers accept only
// what they can build again.
#include <cstdint>
#include <string>

#include "connsrv/answer_reader.h"
#include "connsrv/ethernet_exchange.h"
#include "connsrv/ethernet_frame.h"
#include "connsrv/header_link.h"
#include "connsrv/result_codes.h"
#include "fake_link.h"

namespace {

// A connected socket over the scripted link; a failed read drops it for good.
class FuzzSocket : public connsrv::IEthernetSocket {
 public:
  explicit FuzzSocket(connsrv_test::FakeLink& link) : link_(link) {}
  connsrv::IByteLink& Bytes() override { return link_; }
  bool Connected() const override { return connected_; }
  std::string Drain() override { return {}; }
  void Drop() override { connected_ = false; }
  int Restore() override { return connsrv::kErrEthernetMissing; }

 private:
  connsrv_test::FakeLink& link_;
  bool connected_ = true;
};

}  // namespace

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

  // The whole exchange over a header link or a bare one, with its attempts.
  for (int i = 0; i < 3; ++i) inner.replies.push_back(reply);
  FuzzSocket socket(inner);
  CServerSettings settings;
  settings.ethernetRetry = data[0] & 4;
  CEthernetExchange exchange(clock, nullptr, settings);
  EthernetFraming framing;
  framing.header = (data[0] & 8) != 0;
  ExchangeOptions options;
  options.flags = static_cast<uint16_t>((data[0] >> 4) & 3);
  options.timeoutMs = 300;
  std::string delivered;
  exchange.Run(socket, "%01#RDD0000000001", options, framing, delivered);
  if (delivered.size() > kDeliverLimit) __builtin_trap();
  return 0;
}
