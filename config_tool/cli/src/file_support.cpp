#include "file_support.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <sys/stat.h>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/compare.h"
#include "axcfg_data/data_check.h"
#include "axcfg_data/document_file.h"
#include "axcfg_data/pos_sheets.h"
#include "axcfg_data/unit_types.h"

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

// "A:1,2 B:3,4,5 6 7": groups as letter, colon and 2 or 3 axes; single axes
// as their number; a group holds minGroupAxes to 3 axes. The layout is ordered as the axis dialogs order it:
// groups A to D, then the single axes ascending.
bool ParseLayout(const std::string& text, uint32_t family, int minGroupAxes, CAxisLayout& layout, std::string& error) {
  std::array<uint16_t, 4> groups{};
  uint16_t singles = 0, seen = 0;
  size_t pos = 0;
  auto addAxis = [&](const std::string& text, uint16_t& mask) {
    if (text.size() != 1 || text[0] < '1' || text[0] > '8') return error = "\"" + text + "\" is not an axis 1 to 8", false;
    const int axis = text[0] - '1';
    if (family == kFamilyInterp && axis >= 4) return error = "the interpolation type has axes 1 to 4", false;
    if (seen & (1u << axis)) return error = "axis " + text + " is given twice", false;
    seen |= static_cast<uint16_t>(1u << axis);
    mask |= static_cast<uint16_t>(1u << axis);
    return true;
  };
  while (pos < text.size()) {
    size_t end = text.find(' ', pos);
    if (end == std::string::npos) end = text.size();
    const std::string token = text.substr(pos, end - pos);
    pos = end + 1;
    if (token.empty()) continue;
    if (token.size() > 2 && token[1] == ':') {
      const int g = token[0] - 'A';
      if (g < 0 || g > 3) return error = "\"" + token + "\": groups are A to D", false;
      if (groups[g]) return error = "group " + token.substr(0, 1) + " is given twice", false;
      size_t from = 2;
      while (from <= token.size()) {
        size_t comma = std::min(token.find(',', from), token.size());
        if (!addAxis(token.substr(from, comma - from), groups[g])) return false;
        from = comma + 1;
      }
      const int n = CountAxes(groups[g]);
      if (n < minGroupAxes || n > 3)
        return error = "\"" + token + "\": a group has " + std::to_string(minGroupAxes) + " to 3 axes", false;
    } else if (!addAxis(token, singles)) {
      return false;
    }
  }
  if (!seen) return error = "the layout names no axis", false;
  layout.Clear();
  for (int g = 0; g < 4; ++g)
    if (groups[g]) layout.Append(MakeGroupEntry(g + 1, groups[g]));
  AxisList list = AxesOfMask(singles);
  for (int i = 0; i < list.count; ++i) layout.Append(MakeSingleAxisEntry(list.axes[i]));
  return true;
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
