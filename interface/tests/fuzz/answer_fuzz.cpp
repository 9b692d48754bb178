// Any bytes as a PLC answer, a request record or log data: the readers give
// a result code or a text, never a crash or a read past the input.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "log_records.h"
#include "tavinter/request_record.h"
#include "unit_frames.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> answer(data, data + size);
  long count = size > 0 ? data[0] % 8 : 0;
  uint16_t words[8];
  tavinter::ParseReadAnswer(answer, count, words);
  tavinter::ParseWriteAnswer(answer);
  tavinter::ErrorAnswerCode(answer);

  std::vector<uint8_t> record(tavinter::kRequestRecordSize, 0);
  for (size_t i = 0; i < size && i < record.size(); ++i) record[i] = data[i];
  tavinter::CRequestRecord r;
  if (r.Parse(record.data(), record.size())) {
    (void)r.CommandText();
    (void)r.CommandBytes();
    (void)r.ClientName();
    (void)r.ChannelConfig().Text1();
    for (int i = 0; i < 6; ++i) (void)r.DataRegistration(i), (void)r.ContactRegistration(i);
  }

  for (const auto& line : tavinter::SplitLines(tavinter::RecordDataText(data, size)))
    if (line.size() > 118 || (!line.empty() && line[0] == '[')) std::abort();
  return 0;
}
