#pragma once
// Taking apart a PLC command frame as the simulated PLC receives it (the
// block check code rules are those of plcframe).
#include <string>
#include <string_view>

namespace sim::frame {

struct Parsed {
  char start = '%';
  std::string station;  // two characters as written
  std::string body;     // between station and block check code
  bool continues = false;
};

enum class ParseResult { Ok, Malformed, BadStation, BadBcc };

// Parses one frame, which must end with its CR. On BadBcc station and body are
// set; on Malformed and BadStation nothing is.
ParseResult Parse(std::string_view frame, Parsed& out);

// The frame for a text (start character and station first): text, code, CR.
std::string Complete(std::string_view text);

}  // namespace sim::frame
