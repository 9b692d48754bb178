#pragma once
// Records from the lines of a record ring, and their text export. A ring
// holds lines of 125 bytes (at most 118 characters); a line of exactly 118
// characters continues in the next one unless that begins with "[", which
// starts a new record. Records are taken oldest first: from the oldest line
// (start), count lines, indices wrapping at the capacity, joining stops at
// the newest line and every continuation line is used once.
#include <string>
#include <vector>

namespace commscope {

constexpr int kLineBytes = 125;
constexpr int kLineChars = 118;
constexpr int kPortViewLines = 3000;
constexpr int kClientViewLines = 10000;

// Texts of the export failures.
constexpr unsigned kIdMakeFileFailed = 57610;  // "KELD_TavScope failed to make the file."
constexpr unsigned kIdSaveFileFailed = 57611;  // "KELD_TavScope failed to save the file."

// The records of `count` lines from `start` of a ring of `capacity` lines at
// `lines` (capacity * 125 bytes), at most maxLines lines used. Out-of-range
// counts and starts are clamped to the ring; a line without its NUL ends
// after 118 characters.
std::vector<std::string> AssembleRecords(const char* lines, int capacity, int start, int count, int maxLines);

// Writes each record followed by CR LF. 0, or kIdMakeFileFailed when the file
// cannot be created, kIdSaveFileFailed when a write fails (what was written
// stays in the file).
unsigned ExportText(const std::vector<std::string>& records, const std::string& path);

// The header line of a printed page: "<<  Page[%d]   >>".
std::string PageHeader(int page);
// Records split into pages of linesPerPage lines (at least one line each).
std::vector<std::vector<std::string>> PaginateRecords(const std::vector<std::string>& records, int linesPerPage);

}  // namespace commscope
