#pragma once
// Comparison of a loaded data set with the document, and the verification
// of the document against a setting file.
#include <cstdint>
#include <string>
#include <vector>

#include "axcfg_data/difference_list.h"
#include "axcfg_data/setting_file.h"

namespace axcfg {

class CAxisCfgDoc;
struct CSettingDataSet;

// Result bits of a comparison; the same bits mark the lines of the
// verification result that disagree.
enum : uint32_t {
  kDiffAxisInfo = 0x1,
  kDiffParams = 0x2,
  kDiffRows = 0x4,
};

// Difference codes of the axis layout.
inline constexpr uint32_t kDiffCodeTotalAxes = 0x10000000;
inline constexpr uint32_t kDiffCodeUsedAxes = 0x10010000;
inline constexpr uint32_t kDiffCodeEntries = 0x10020000;
// Field numbers of a table difference: 0 control method ... 12 auxiliary
// code in element order (10 unused); 13 the comment when comments are
// compared; 0xFF a row that one side does not have.
inline constexpr int kDiffFieldComment = 13;
inline constexpr int kDiffFieldMissingRow = 0xFF;

constexpr uint32_t ParamDiffCode(int axis, int no) {
  return (static_cast<uint32_t>(0x20 | axis) << 24) | (static_cast<uint32_t>(no & 0xFF) << 16);
}
constexpr uint32_t RowDiffCode(int axis, int field, int table) {
  return (static_cast<uint32_t>(0x40 | axis) << 24) | (static_cast<uint32_t>(field & 0xFF) << 16) |
         static_cast<uint32_t>(table & 0xFFFF);
}

// Compares in order family and synchronous groups, axis layout, parameters
// and tables, stopping after the first part that differs. Every difference
// of that part is added to `differences`. Returns the result bits.
uint32_t CompareWithDocument(const CAxisCfgDoc& doc, const CSettingDataSet& loaded,
                             std::vector<uint32_t>& differences, bool compareComments = false);

// What the verification result window shows.
struct VerifyResult {
  std::string target;       // the file's path or the unit's name
  uint32_t mismatch = 0;    // kDiff* bits
  bool showCommentNote = false;
  // Every differing item, all parts listed (the window's "Details...").
  std::vector<DifferenceItem> items;
};

// The four lines of the result: axis information, parameter data,
// positioning data and the overall result, each "label - Agree" or
// "label - Disagree". A line after a disagreeing axis information or
// parameter line was not compared and shows its label and " - " alone.
std::vector<std::string> VerifyResultLines(const VerifyResult& result);
// Whether line i (0..2) was compared.
bool VerifyLineCompared(const VerifyResult& result, int line);

// "The file to be verified cannot be open."
inline constexpr unsigned kMsgVerifyCannotOpen = 29023;

struct VerifyFileOutcome {
  FileStatus status;  // 29023 when the file cannot be opened, else as loading gives it
  VerifyResult result;
  std::vector<uint32_t> differences;

  bool Completed() const { return status.id == 0; }
  // The text for a failure.
  std::string FailureText() const;
};

// Verify with a file: reads the file into a temporary set without touching
// the document (an old version is compared as read, without conversion) and
// compares it with the document, comments included unless told otherwise.
VerifyFileOutcome VerifyWithFile(const CAxisCfgDoc& doc, const std::string& path, bool compareComments = true);

}  // namespace axcfg
