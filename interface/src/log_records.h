#pragma once
// Log records as the log viewer reads them: a header line beginning with
// "[" (time, direction, client, sub-number, length) and the data as text,
// split into lines of at most 118 characters. A line of exactly 118
// characters continues in the next one unless that begins with "[", so the
// data text never carries a "[" of its own (it is written as <5B>).
#include <cstdint>
#include <string>
#include <vector>

namespace tavinter {

std::string DirectionName(int direction);
// The header text for a record made now.
std::string RecordHeader(int direction, int handle, int subNumber, int length);
// The data as text: printable ASCII kept, every other byte and "[" as <XX>.
std::string RecordDataText(const uint8_t* data, size_t length);
// A text cut into ring lines of at most 118 characters (one empty line for "").
std::vector<std::string> SplitLines(const std::string& text);
// The folder a log file goes to: the given one, or the server's default log
// folder when none or a folder of another system ("c:\...") is given.
std::string LogFolder(const std::string& folder);

}  // namespace tavinter
