#include "file_support.h"

#include <cstdio>
#include <sys/stat.h>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/compare.h"
#include "axcfg_data/data_check.h"
#include "axcfg_data/document_file.h"
#include "axcfg_data/pos_sheets.h"

namespace axcfg::cli {

namespace {

bool Exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

}  // namespace


std::string ConsoleText(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

int OpenSettingFile(const std::string& path, CAxisCfgDoc& doc) {
  FileStatus status = OpenDocumentFile(doc, path);
  if (!status.Succeeded()) {
    std::fprintf(stderr, "%s\n", ConsoleText(FileStatusText(status, path)).c_str());
    return kExitFile;
  }
  if (status.id == kMsgConverted)
    std::fprintf(stderr, "%s\n", ConsoleText(FileStatusText(status, path, doc.GetTitle())).c_str());
  return kExitOk;
}

// The written name: ".axc" is added when missing. Refuses to replace a
// file without --force.
int OutputPath(const char* command, const ParsedArgs& a, std::string& out) {
  auto it = a.values.find("-o");
  if (it == a.values.end()) return UsageError(command, "-o FILE is missing");
  out = WithSettingFileExtension(it->second);
  if (Exists(out) && !a.Has("--force")) {
    std::fprintf(stderr, "axcfg %s: %s exists (--force replaces it)\n", command, out.c_str());
    return kExitFile;
  }
  return kExitOk;
}

int Save(CAxisCfgDoc& doc, const std::string& path) {
  FileStatus st = SaveDocumentFile(doc, path);
  if (!st.Succeeded()) {
    std::fprintf(stderr, "%s\n", ConsoleText(FileStatusText(st, path)).c_str());
    return kExitFile;
  }
  std::printf("%s\n", path.c_str());
  return kExitOk;
}

std::string DifferenceText(uint32_t code, const CAxisCfgDoc& doc) {
  char buf[200];
  const unsigned kind = code >> 28;
  if (kind == 1) {
    const char* what = code == kDiffCodeTotalAxes ? "number of axes" : code == kDiffCodeUsedAxes ? "used axes" : "axis entries";
    std::snprintf(buf, sizeof buf, "0x%08X axis information: %s", code, what);
    return buf;
  }
  const int axis = static_cast<int>((code >> 24) & 0x0F) + 1;
  const int field = static_cast<int>((code >> 16) & 0xFF);
  if (kind == 2) {
    std::snprintf(buf, sizeof buf, "0x%08X axis %d parameter %d %s", code, axis, field,
                  doc.GetParamBlock().GetParamName(field).c_str());
    return buf;
  }
  static const char* const kFields[] = {"control method", "jump table No.",   "interpolation pattern",
                                        "position mode",  "movement amount",  "auxiliary point",
                                        "accel./decel. pattern", "acceleration time", "deceleration time",
                                        "target speed",   "",                 "dwell time",
                                        "auxiliary code", "comment"};
  const char* name = field < 14 ? kFields[field] : field == kDiffFieldMissingRow ? "missing table" : "?";
  std::snprintf(buf, sizeof buf, "0x%08X table No. %u axis %d %s", code, (code & 0xFFFF) + 1, axis, name);
  return buf;
}

int PrintDataCheck(const CAxisCfgDoc& doc) {
  DataCheckResult r = CheckData(doc);
  std::printf("%s\n", ConsoleText(r.message).c_str());
  switch (r.stage) {
    case CheckStage::Passed: return kExitOk;
    case CheckStage::SyncGroups: break;
    case CheckStage::Parameters:
      std::printf("Parameter: %s, %s\n", doc.GetParamBlock().GetParamName(r.param).c_str(),
                  doc.GetAxisLabel(r.axis).c_str());
      break;
    case CheckStage::Tables:
      if (r.location == kTablesCheckFailed) break;
      // The message names the table and column (a jump table No. as its
      // second line); a missing row has no column to name.
      std::printf("Sheet: %s\n", GetSheetName(r.sheetEntry).c_str());
      if (r.cellColumn < 0 && LocationColumn(r.location) == 0)
        std::printf("Table No. %d does not exist\n", LocationTable(r.location) + 1);
      break;
  }
  return kExitDifference;
}

}  // namespace axcfg::cli
