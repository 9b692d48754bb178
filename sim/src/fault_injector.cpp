#include "sim/fault_injector.h"

#include <charconv>

#include "plcframe/frame_codec.h"

namespace sim {

namespace {

// "none" or a 16-bit word in hexadecimal, with or without 0x.
bool ParseDownloadAnswer(std::string_view text, int& answer) {
  if (text == "none") {
    answer = FaultConfig::kDownloadNoAnswer;
    return true;
  }
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.remove_prefix(2);
  if (text.empty() || text.size() > 4) return false;
  unsigned value = 0;
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  if (ec != std::errc() || ptr != text.data() + text.size()) return false;
  answer = static_cast<int>(value);
  return true;
}

}  // namespace

bool ParseFaultList(std::string_view list, FaultConfig& config, std::string& error) {
  FaultConfig result = config;
  while (!list.empty()) {
    const size_t comma = list.find(',');
    const std::string_view item = list.substr(0, comma);
    list = comma == std::string_view::npos ? std::string_view{} : list.substr(comma + 1);
    if (item.empty()) continue;
    const size_t eq = item.find('=');
    const std::string_view key = item.substr(0, eq);
    if (key == "download") {
      if (eq == std::string_view::npos || !ParseDownloadAnswer(item.substr(eq + 1), result.downloadAnswer)) {
        error = "fault switch \"" + std::string(item) + "\" needs none or a hexadecimal word";
        return false;
      }
      continue;
    }
    int value = -1;
    if (eq != std::string_view::npos) {
      const std::string_view text = item.substr(eq + 1);
      auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
      if (ec != std::errc() || ptr != text.data() + text.size()) value = -1;
    }
    if (value < 0 || value > 1000000) {
      error = "fault switch \"" + std::string(item) + "\" needs a number from 0 to 1000000";
      return false;
    }
    if (key == "bcc") result.corruptBccEvery = value;
    else if (key == "nak") result.nakEvery = value;
    else if (key == "drop") result.dropEvery = value;
    else if (key == "other") result.otherStationEvery = value;
    else if (key == "split") result.splitEvery = value;
    else if (key == "pause") result.splitPauseMs = value;
    else if (key == "delay") result.delayMs = value;
    else if (key == "hangup") result.hangupEvery = value;
    else {
      error = "unknown fault switch \"" + std::string(key) + "\"";
      return false;
    }
  }
  config = result;
  return true;
}

bool CFaultInjector::Due(int every, long& counter) {
  if (every <= 0) return false;
  return ++counter % every == 0;
}

bool CFaultInjector::NakThisFrame() { return Due(config_.nakEvery, frames_); }

std::vector<AnswerPart> CFaultInjector::Shape(const std::string& answer, int ownStation) {
  std::vector<AnswerPart> parts;
  if (Due(config_.dropEvery, dropCount_)) return parts;
  std::string bytes = answer;
  // answer = start, station, text, two code characters, CR
  if (Due(config_.corruptBccEvery, corruptCount_) && bytes.size() >= 4) {
    const size_t code = bytes.size() - 3;
    bytes[code] = bytes[code] == '0' ? '1' : '0';
  }
  if (Due(config_.otherStationEvery, otherCount_) && answer.size() >= 6) {
    // The same answer as another station would give it, with a right code.
    const std::string other = plcframe::StationText(ownStation % 99 + 1);
    std::string text = answer.substr(0, answer.size() - 3);
    text.replace(1, 2, other);
    parts.push_back({plcframe::CompleteFrame(text), 0});
  }
  if (Due(config_.splitEvery, splitCount_) && bytes.size() >= 2) {
    const size_t half = bytes.size() / 2;
    parts.push_back({bytes.substr(0, half), 0});
    parts.push_back({bytes.substr(half), config_.splitPauseMs});
  } else {
    parts.push_back({bytes, 0});
  }
  parts.front().pauseMs += config_.delayMs;
  return parts;
}

}  // namespace sim
