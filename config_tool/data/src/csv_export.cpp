#include "axcfg_data/csv_export.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/csv_field.h"
#include "axcfg_data/cp932_text.h"
#include "axcfg_data/pos_columns.h"
#include "axcfg_data/pos_sheets.h"
#include "axcfg_data/text_format.h"
#include "platform/folders.h"

namespace axcfg {

namespace {

constexpr unsigned kIdNoName = 29051;
constexpr unsigned kIdImproperChars = 29052;
constexpr unsigned kIdBlanksOnly = 29053;
constexpr unsigned kIdTooLong = 29054;
constexpr unsigned kIdProtected = 29055;
constexpr unsigned kIdOverwrite = 29056;
constexpr unsigned kIdParamFileFailed = 29057;
constexpr unsigned kIdSheetFileFailed = 29058;
constexpr unsigned kIdSheetTitle = 29059;
constexpr unsigned kIdParamTitle = 29060;
constexpr unsigned kIdSyncGroup = 23078;
constexpr unsigned kIdSyncMode = 23079;
constexpr unsigned kIdMaster = 23081;
constexpr unsigned kIdSlave = 23082;
constexpr unsigned kIdNotApplicable = 20718;
constexpr unsigned kIdModeA = 21501;
constexpr unsigned kIdModeB = 21502;
constexpr unsigned kIdTableNo = 20031;

constexpr const char* kCsvExtension = ".csv";
constexpr const char* kImproperChars = "\\/:,;*?\"<>|";
constexpr const char* kLineEnd = "\r\n";

size_t CharCount(const std::string& utf8) {
  size_t n = 0;
  for (unsigned char c : utf8)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

bool Exists(const std::string& path, bool& readOnly) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return false;
  // A file without write permission is protected even for a user that the
  // system would let write it; a folder of that name cannot be replaced.
  readOnly = !S_ISREG(st.st_mode) || !(st.st_mode & S_IWUSR) || ::access(path.c_str(), W_OK) != 0;
  return true;
}

// Creates the file anew with the bytes. The export is derived data, so an
// old file is simply removed first (rewriting it in place would make some
// file systems flush it to disk on close); a failure is reported and what
// was written stays.
bool WriteFile(const std::string& path, const std::string& bytes, std::string& error) {
  ::unlink(path.c_str());
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    error = path + ": " + std::strerror(errno);
    return false;
  }
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  if (!ok) error = path + ": " + std::strerror(errno);
  if (std::fclose(f) != 0 && ok) {
    error = path + ": " + std::strerror(errno);
    ok = false;
  }
  return ok;
}

void AppendField(std::string& out, const std::string& text) { AppendCsvField(out, text); }

// Appends "," and the field.
void AppendNextField(std::string& out, const std::string& text) {
  out += ',';
  AppendField(out, text);
}

std::string WithFileList(std::string message, const std::vector<std::string>& files) {
  for (const std::string& f : files) message += "\n" + f;
  return message;
}

// The synchronous group an axis belongs to (0 or 1) and whether it is the
// master; -1 when it is in none. A group that is off has no members.
int SyncGroupOf(const SyncGroups& groups, int axis, bool& master) {
  for (int g = 0; g < 2; ++g) {
    if (groups[g].operation == 0) continue;
    if (groups[g].masterMask & (1u << axis)) {
      master = true;
      return g;
    }
    if (groups[g].slaveMask & (1u << axis)) {
      master = false;
      return g;
    }
  }
  return -1;
}

}  // namespace

std::vector<std::string> CsvFileNames::All() const {
  std::vector<std::string> all{parameterFile};
  all.insert(all.end(), sheetFiles.begin(), sheetFiles.end());
  return all;
}

CsvFileNames MakeCsvFileNames(const CAxisLayout& layout, const std::string& folder, const std::string& base) {
  std::string prefix = folder.empty() ? platform::ProgramDir() : folder;
  if (!prefix.empty() && prefix.back() != '/') prefix += '/';
  prefix += base;
  CsvFileNames names;
  names.parameterFile = prefix + "P" + kCsvExtension;
  names.sheetEntries = GetSheetEntries(layout);
  for (uint32_t entry : names.sheetEntries) {
    AxisList axes = EntryAxes(entry);
    std::string tag = IsGroupEntry(entry) ? std::string(1, GroupLetter(EntryGroupNo(entry)))
                                          : std::to_string(axes.count ? axes.axes[0] + 1 : 0);
    names.sheetFiles.push_back(prefix + tag + kCsvExtension);
  }
  return names;
}

std::string CsvBaseName(const std::string& typed) {
  const size_t dot = typed.find_last_of('.');
  return dot != std::string::npos && dot > 0 ? typed.substr(0, dot) : typed;
}

CsvNameCheck CheckCsvExport(const CAxisLayout& layout, const std::string& folder, const std::string& base) {
  CsvNameCheck r;
  auto fail = [&](unsigned id) {
    r.verdict = CsvNameVerdict::Invalid;
    r.messageId = id;
    r.message = AxisCfgText(id);
    return r;
  };
  if (base.empty()) return fail(kIdNoName);
  if (base.find_first_not_of(' ') == std::string::npos) return fail(kIdBlanksOnly);
  if (base.find_first_of(kImproperChars) != std::string::npos) return fail(kIdImproperChars);
  r.base = CsvBaseName(base);

  r.names = MakeCsvFileNames(layout, folder, r.base);
  const std::vector<std::string> all = r.names.All();
  for (const std::string& name : all)
    if (CharCount(name) > kMaxExportPathChars) return fail(kIdTooLong);

  std::vector<std::string> protectedFiles;
  for (const std::string& name : all) {
    bool readOnly = false;
    if (!Exists(name, readOnly)) continue;
    r.existing.push_back(name);
    if (readOnly) protectedFiles.push_back(name);
  }
  if (!protectedFiles.empty()) {
    r.verdict = CsvNameVerdict::Protected;
    r.messageId = kIdProtected;
    r.message = WithFileList(AxisCfgText(kIdProtected), protectedFiles);
    r.existing = protectedFiles;
  } else if (!r.existing.empty()) {
    r.verdict = CsvNameVerdict::AskOverwrite;
    r.messageId = kIdOverwrite;
    r.message = WithFileList(AxisCfgText(kIdOverwrite), r.existing);
  }
  return r;
}

std::string BuildParameterCsv(const CAxisCfgDoc& doc) {
  CParamBlock params = doc.GetParamBlock();
  params.SetFamily(doc.GetUnitFamily());
  const CAxisLayout& layout = doc.GetLayout();
  const std::vector<int> axes = LayoutAxesInOrder(layout);
  const std::string none = AxisCfgText(kIdNotApplicable);

  std::string out = "\"" + AxisCfgText(kIdParamTitle) + "\"" + kLineEnd;
  for (int axis : axes) AppendNextField(out, layout.GetAxisLabel(axis));
  out += kLineEnd;

  const SyncGroups& sync = doc.GetSyncGroups();
  std::string groupLine, modeLine;
  AppendField(groupLine, AxisCfgText(kIdSyncGroup));
  AppendField(modeLine, AxisCfgText(kIdSyncMode));
  for (int axis : axes) {
    bool master = false;
    int g = SyncGroupOf(sync, axis, master);
    if (g < 0) {
      AppendNextField(groupLine, none);
      AppendNextField(modeLine, none);
      continue;
    }
    AppendNextField(groupLine, FormatText("%d%s", {g + 1, AxisCfgText(master ? kIdMaster : kIdSlave)}));
    AppendNextField(modeLine, AxisCfgText(sync[g].mode == 1 ? kIdModeB : kIdModeA));
  }
  out += groupLine + kLineEnd + modeLine + kLineEnd;

  for (int row = 0; row < params.GetRowCount(); ++row) {
    const int no = params.RowToParam(row);
    AppendField(out, params.GetParamName(no));
    for (int axis : axes)
      AppendNextField(out, params.GetParamKind(no, axis) == kKindNotUsed ? none : params.FormatParam(no, axis));
    out += kLineEnd;
  }
  return out;
}

std::string BuildSheetCsv(const CAxisCfgDoc& doc, uint32_t sheetEntry) {
  const CParamBlock& params = doc.GetParamBlock();
  std::string out = "\"" + FormatText(AxisCfgText(kIdSheetTitle), {GetSheetName(sheetEntry)}) + "\"" + kLineEnd;
  AppendField(out, AxisCfgText(kIdTableNo));
  const ColumnSet columns = GetColumnSet(sheetEntry);
  for (int c = 0; c < columns.count; ++c) AppendNextField(out, GetColumnTitle(columns.columns[c], sheetEntry));
  out += kLineEnd;
  out.reserve(out.size() + static_cast<size_t>(doc.GetRowCount()) * 96);
  CSheetCells cells(params, sheetEntry);
  for (int k = 0; k < doc.GetRowCount(); ++k) {
    const CPosData* row = doc.GetPosData(k);
    if (!row) continue;
    out += std::to_string(k + 1);
    cells.AppendCells(*row, ',', out, &AppendField);
    out += kLineEnd;
  }
  return out;
}

CsvWriteResult WriteCsvFiles(const CAxisCfgDoc& doc, const CsvFileNames& names) {
  CsvWriteResult r;
  if (!WriteFile(names.parameterFile, Cp932FromUtf8(BuildParameterCsv(doc)), r.systemError)) {
    r.messageId = kIdParamFileFailed;
    r.message = AxisCfgText(kIdParamFileFailed);
    return r;
  }
  ++r.filesWritten;
  for (size_t s = 0; s < names.sheetFiles.size() && s < names.sheetEntries.size(); ++s) {
    const uint32_t entry = names.sheetEntries[s];
    if (!WriteFile(names.sheetFiles[s], Cp932FromUtf8(BuildSheetCsv(doc, entry)), r.systemError)) {
      r.messageId = kIdSheetFileFailed;
      r.message = FormatText(AxisCfgText(kIdSheetFileFailed), {GetSheetName(entry)});
      return r;
    }
    ++r.filesWritten;
  }
  return r;
}

}  // namespace axcfg
