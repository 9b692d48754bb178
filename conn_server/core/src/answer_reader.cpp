#include "connsrv/answer_reader.h"

#include <vector>

#include "connsrv/result_codes.h"
#include "plcframe/frame_codec.h"

namespace connsrv {

bool CAnswerReader::Belongs(const std::string& sent, const std::string& answer) {
  if (answer.size() < 4 || sent.size() < 3) return false;
  if (answer[3] != '$' && answer[3] != '!') return false;
  if (answer.compare(1, 2, sent, 1, 2) != 0) return false;
  if (answer[3] == '!') return true;
  // The sent command follows "#" at the same place the answer's follows "$".
  bool extended = sent.size() >= 6 && sent.compare(4, 2, "EX") == 0;
  size_t n = extended ? 6 : 2;
  if (sent.size() < 4 + n || answer.size() < 4 + n) return false;
  return answer.compare(4, n, sent, 4, n) == 0;
}

int CAnswerReader::Read(const std::string& sentFrame, const AnswerReadOptions& o, std::string& answer) {
  answer.clear();
  std::vector<char> chunk(o.capacity);
  bool started = !o.hunt, anyByte = false;
  int64_t last = clock_.NowMs();
  for (;;) {
    int n = link_.Read(chunk.data(), chunk.size(), o.pollMs);
    if (n < 0) return kErrRead;
    if (n == 0) {
      if (clock_.NowMs() - last >= o.timeoutMs) return anyByte ? kErrIncomplete : kErrNoAnswer;
      continue;
    }
    last = clock_.NowMs();
    anyByte = true;
    size_t i = 0;
    if (!started) {
      while (i < static_cast<size_t>(n) && chunk[i] != '%' && chunk[i] != '<') ++i;
      if (i > 0) Log(kLogDiscarded, std::string(chunk.data(), i));
      if (i == static_cast<size_t>(n)) continue;
      started = true;
    }
    for (; i < static_cast<size_t>(n); ++i) {
      char c = chunk[i];
      if (answer.size() >= o.capacity) return kErrTooLong;
      if (o.exactLength > 0) {
        // A counted answer is binary: its bytes are kept as they are.
        answer.push_back(c);
        if (answer.size() < o.exactLength) continue;
        Log(kLogReceived, answer);
        return kOk;
      }
      answer.push_back(c == '\0' && o.hunt ? ' ' : c);
      if (c != plcframe::kCR) continue;
      Log(kLogReceived, answer);
      if (!o.check) return kOk;
      if (!plcframe::CheckFrameCode(answer)) return kErrBlockCheck;
      if (!o.checkOwner || Belongs(sentFrame, answer)) return kOk;
      // An answer for another station or command: drop it, read on afresh.
      // Whatever followed it in this chunk is hunted for a start character again.
      answer.clear();
      started = false;
      anyByte = false;
      last = clock_.NowMs();
      size_t j = i + 1;
      while (j < static_cast<size_t>(n) && chunk[j] != '%' && chunk[j] != '<') ++j;
      if (j > i + 1) Log(kLogDiscarded, std::string(chunk.data() + i + 1, j - i - 1));
      if (j < static_cast<size_t>(n)) {
        // The start of the next answer came with the dropped one: its bytes
        // count, so silence from here on leaves an incomplete answer.
        started = true;
        anyByte = true;
        i = j - 1;
      } else {
        break;
      }
    }
  }
}

}  // namespace connsrv
