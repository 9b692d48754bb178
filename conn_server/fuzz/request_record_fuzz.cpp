// Arbitrary request records and codes against the request handling, with a
// simulated PLC that answers from the input too: no crash, no read past the
// record, and results only from the known set.
#include <cstdint>
#include <cstring>
#include <vector>

#include "fake_library.h"
#include "fake_link.h"
#include "connsrv/connection_core.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  using namespace connsrv;
  connsrv_test::FakeClock clock;
  connsrv_test::FakeLibrary lib;
  CServerSettings settings;
  CConnectionCore core(326, lib, clock, settings);
  // A first open so that the requests meet a registered client and an open channel.
  std::vector<uint8_t> open(tavinter::kRequestRecordSize, 0);
  open[0] = data[0];
  open[1] = 0;
  open[tavinter::CRequestRecord::kChannelConfig] = tavinter::kKindSimulation;
  core.Handle(tavinter::kRequestOpen, open.data(), open.size());
  // The input: one code byte, an answer for the simulated PLC, and a record image.
  const int code = data[1] % 2 ? data[2] : 10 + data[2] % 8;
  size_t answerLength = std::min<size_t>(data[3], size - 4);
  lib.simAnswers.push_back(std::string(reinterpret_cast<const char*>(data + 4), answerLength));
  std::vector<uint8_t> record(tavinter::kRequestRecordSize, 0);
  size_t rest = size - 4 - answerLength;
  std::memcpy(record.data(), data + 4 + answerLength, std::min(rest, record.size()));
  record[0] = data[0];
  record[1] = 0;
  core.Handle(code, record.data(), record.size());
  core.Handle(code, record.data(), std::min(rest, record.size()));
  core.Tick(1);
  return 0;
}
