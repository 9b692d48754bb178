#pragma once
// Export of the setting data as comma-separated text: one file with the
// parameters of the used axes and one file per positioning-table sheet,
// holding the texts the user sees. Files are code page 932 text with CR LF.
#include <cstdint>
#include <string>
#include <vector>

namespace axcfg {

class CAxisCfgDoc;
class CAxisLayout;

inline constexpr size_t kMaxExportPathChars = 260;

struct CsvFileNames {
  std::string parameterFile;              // F + B + "P.csv"
  std::vector<uint32_t> sheetEntries;     // the sheets in order
  std::vector<std::string> sheetFiles;    // F + B + axis digit or group letter + ".csv"
  std::vector<std::string> All() const;   // the parameter file first
};

// The names for folder F and base name B (taken as it is). An empty F is the
// program's folder; a separator is added when F does not end in one.
CsvFileNames MakeCsvFileNames(const CAxisLayout& layout, const std::string& folder, const std::string& base);

// The base name as the export uses it: an extension is cut off ("abc.txt"
// gives "abc"; a name that starts with its only dot stays).
std::string CsvBaseName(const std::string& typed);

enum class CsvNameVerdict {
  Ok,            // nothing in the way
  Invalid,       // a message; the user corrects the name
  Protected,     // some files exist and may not be overwritten (29055)
  AskOverwrite,  // some files exist; the user decides (29056)
};

struct CsvNameCheck {
  CsvNameVerdict verdict = CsvNameVerdict::Ok;
  unsigned messageId = 0;
  std::string message;              // with the list of files for 29055 and 29056
  std::string base;                 // the base name, its extension cut off
  CsvFileNames names;
  std::vector<std::string> existing;  // the files found (the protected ones for 29055)
};

// The checks of the export dialog's OK in their order: empty name (29051),
// blanks only (29053), improper characters (29052), the extension cut off,
// names longer than 260 characters (29054), read-only files (29055),
// existing files (29056).
CsvNameCheck CheckCsvExport(const CAxisLayout& layout, const std::string& folder, const std::string& base);

// The contents (UTF-8) of the parameter file and of one sheet's file.
std::string BuildParameterCsv(const CAxisCfgDoc& doc);
std::string BuildSheetCsv(const CAxisCfgDoc& doc, uint32_t sheetEntry);

struct CsvWriteResult {
  unsigned messageId = 0;  // 0, 29057 (parameter file) or 29058 (a sheet's file)
  std::string message;
  std::string systemError;
  int filesWritten = 0;  // files written before a failure remain
};

// Writes the parameter file, then each sheet's file in order; stops at the
// first file that cannot be written. Each file is created anew.
CsvWriteResult WriteCsvFiles(const CAxisCfgDoc& doc, const CsvFileNames& names);

}  // namespace axcfg
