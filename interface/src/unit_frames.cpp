#include "unit_frames.h"

#include <cstdio>

#include "tavinter/result_codes.h"

namespace tavinter {

namespace {

int HexValue(uint8_t c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// What follows the data must be the block check code (two characters),
// optionally a carriage return and NUL padding; nothing else.
bool TailIsCheckCode(const std::vector<uint8_t>& a, size_t from) {
  size_t end = a.size();
  while (end > from && a[end - 1] == 0) --end;
  if (end > from && a[end - 1] == '\r') --end;
  size_t n = end - from;
  if (n == 0) return true;
  if (n != 2) return false;
  bool stars = a[from] == '*' && a[from + 1] == '*';
  return stars || (HexValue(a[from]) >= 0 && HexValue(a[from + 1]) >= 0);
}

bool Starts(const std::vector<uint8_t>& a, const char* text) {
  for (size_t i = 0; text[i]; ++i)
    if (i >= a.size() || a[i] != static_cast<uint8_t>(text[i])) return false;
  return true;
}

}  // namespace

std::vector<CFramePiece> SplitTransfer(long address, long count) {
  std::vector<CFramePiece> pieces;
  for (long done = 0; done < count;) {
    long n = count - done < kMaxWordsPerFrame ? count - done : kMaxWordsPerFrame;
    pieces.push_back({address + done, n});
    done += n;
  }
  return pieces;
}

int CheckTransfer(int station, int slot, long address, long count) {
  if (station < 0 || station > 99 || slot < 0 || slot > 28) return TAV_E_BAD_ARGUMENT;
  if (address < 0 || count <= 0 || address >= kUnitAddressLimit || count > kUnitAddressLimit - address)
    return TAV_E_BAD_ARGUMENT;
  return 0;
}

std::string StationText(int station) {
  if (station == 0) return "EE";
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02d", station % 100);
  return buf;
}

std::string BuildReadFrame(int station, int slot, long address, long count) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%%%s#UR%02d%05lX%03lX", StationText(station).c_str(), slot, address, count);
  return buf;
}

std::string BuildWriteFrame(int station, int slot, long address, long count, const uint16_t* words) {
  std::string frame = "%" + StationText(station) + "#UW";
  char buf[24];
  std::snprintf(buf, sizeof buf, "%02d%05lX%03lX", slot, address, count);
  frame += buf;
  frame.reserve(frame.size() + 4 * static_cast<size_t>(count));
  for (long i = 0; i < count; ++i) {
    std::snprintf(buf, sizeof buf, "%04X", static_cast<unsigned>(words[i]));
    frame += buf;
  }
  return frame;
}

int ErrorAnswerCode(const std::vector<uint8_t>& answer) {
  if (answer.empty() || answer[0] != '!') return 1;
  if (answer.size() < 3 || answer[1] < '0' || answer[1] > '9' || answer[2] < '0' || answer[2] > '9')
    return TAV_E_BAD_ANSWER;
  if (!TailIsCheckCode(answer, 3)) return TAV_E_BAD_ANSWER;
  return TAV_E_PLC_ANSWER_BASE - ((answer[1] - '0') * 10 + (answer[2] - '0'));
}

int ParseReadAnswer(const std::vector<uint8_t>& answer, long count, uint16_t* words) {
  int err = ErrorAnswerCode(answer);
  if (err != 1) return err;
  if (!Starts(answer, "$UR") || count < 0) return TAV_E_BAD_ANSWER;
  size_t need = 3 + 4 * static_cast<size_t>(count);
  if (answer.size() < need || !TailIsCheckCode(answer, need)) return TAV_E_BAD_ANSWER;
  // Decode into a scratch copy first: a bad digit must not leave half-changed words.
  std::vector<uint16_t> decoded(static_cast<size_t>(count));
  for (long i = 0; i < count; ++i) {
    unsigned v = 0;
    for (int d = 0; d < 4; ++d) {
      int h = HexValue(answer[3 + 4 * i + d]);
      if (h < 0) return TAV_E_BAD_ANSWER;
      v = (v << 4) | static_cast<unsigned>(h);
    }
    decoded[static_cast<size_t>(i)] = static_cast<uint16_t>(v);
  }
  for (long i = 0; i < count; ++i) words[i] = decoded[static_cast<size_t>(i)];
  return 0;
}

int ParseWriteAnswer(const std::vector<uint8_t>& answer) {
  int err = ErrorAnswerCode(answer);
  if (err != 1) return err;
  if (!Starts(answer, "$UW") || !TailIsCheckCode(answer, 3)) return TAV_E_BAD_ANSWER;
  return 0;
}

}  // namespace tavinter
