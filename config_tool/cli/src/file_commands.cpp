// axcfg's setting file commands: new, info, check, export-csv, verify,
// convert (and dump and diff, in their own files), on the cores of AxisCfg.
#include <algorithm>
#include <cstdio>
#include <sys/stat.h>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/compare.h"
#include "axcfg_data/csv_export.h"
#include "axcfg_data/data_check.h"
#include "axcfg_data/document_file.h"
#include "axcfg_data/pos_columns.h"
#include "axcfg_data/pos_sheets.h"
#include "axcfg_data/sync_group_check.h"
#include "axcfg_data/unit_types.h"
#include "axis_answers.h"
#include "file_support.h"

namespace axcfg::cli {

namespace {

int RunNew(const Args& args) {
  ParsedArgs a;
  if (int rc = ParseArgs("new", args, {"-o", "--family", "--layout", "--sync1", "--sync2"}, {"--force"}, a)) return rc;
  // The layout may be given as one argument or as the words after --layout.
  std::string layoutText = a.values.count("--layout") ? a.values["--layout"] : "1";
  for (const std::string& p : a.positional) layoutText += " " + p;
  if (!a.values.count("--layout") && !a.positional.empty()) return UsageError("new", "unexpected " + a.positional[0]);
  a.values["--layout"] = layoutText;
  AxisAnswers answers;
  if (int rc = ParseAxisAnswers("new", a, kFamilySrlx, 2, answers)) return rc;
  std::string path;
  if (int rc = OutputPath("new", a, path)) return rc;
  // The new-document step with its axis dialogs answered by the options.
  CAxisCfgDoc doc;
  CliAxisDialogs dialogs(answers);
  CAxisSettingsSequenceCore sequence(dialogs);
  doc.SetAxisSettingsSequence(&sequence);
  doc.SetAskAxesForNewFile(true);
  const bool made = doc.OnNewDocument();
  doc.SetAxisSettingsSequence(nullptr);
  if (!made) return kExitDifference;
  return Save(doc, path);
}

int RunConvert(const Args& args) {
  ParsedArgs a;
  if (int rc = ParseArgs("convert", args, {"-o"}, {"--force"}, a)) return rc;
  if (a.positional.size() != 1) return UsageError("convert", "expected FILE -o OUT");
  std::string path;
  if (int rc = OutputPath("convert", a, path)) return rc;
  CAxisCfgDoc doc;
  if (int rc = OpenSettingFile(a.positional[0], doc)) return rc;
  return Save(doc, path);
}

std::string SyncText(const CSyncGroupRecord& g) {
  if (g.operation == 0) return "off";
  char buf[160];
  std::snprintf(buf, sizeof buf, "on, mode %c, master axis %d, slave axis %d, difference %u, behavior %u",
                g.mode == 1 ? 'B' : 'A', SyncAxisOfMask(g.masterMask) + 1, SyncAxisOfMask(g.slaveMask) + 1,
                g.difference, g.differenceBehavior);
  return buf;
}

int RunInfo(const Args& args) {
  ParsedArgs a;
  if (int rc = ParseArgs("info", args, {}, {}, a)) return rc;
  if (a.positional.size() != 1) return UsageError("info", "expected FILE");
  const std::string& path = a.positional[0];
  CSettingDataSet set;
  FileStatus st = ReadSettingFile(path, set);
  if (!st.Succeeded()) {
    std::fprintf(stderr, "%s\n", ConsoleText(FileStatusText(st, path)).c_str());
    return kExitFile;
  }
  CAxisCfgDoc doc;
  doc.SetCreatorField(set.creator.data(), set.creator.size());
  doc.SetCommentField(set.comment.data(), set.comment.size());

  std::printf("file:            %s\n", path.c_str());
  std::printf("format version:  0x%04X%s\n", set.formatVersion,
              set.formatVersion < kFormatVersion ? " (old version: opening converts it)" : "");
  std::printf("family:          %u (%s)\n", set.family, GetFamilyName(set.family).c_str());
  std::string labels, sheets;
  for (int axis : LayoutAxesInOrder(set.layout)) labels += (labels.empty() ? "" : ", ") + set.layout.GetAxisLabel(axis);
  for (uint32_t e : GetSheetEntries(set.layout)) sheets += (sheets.empty() ? "" : ", ") + GetSheetName(e);
  std::printf("axes:            %s\n", labels.c_str());
  std::printf("sheets:          %s\n", sheets.c_str());
  std::printf("sync group 1:    %s\n", SyncText(set.sync[0]).c_str());
  std::printf("sync group 2:    %s\n", SyncText(set.sync[1]).c_str());
  std::printf("creator:         %s\n", doc.GetCreator().c_str());
  std::printf("comment:         %s\n", doc.GetComment().c_str());
  return kExitOk;
}

int RunCheck(const Args& args) {
  ParsedArgs a;
  if (int rc = ParseArgs("check", args, {}, {}, a)) return rc;
  if (a.positional.size() != 1) return UsageError("check", "expected FILE");
  CAxisCfgDoc doc;
  if (int rc = OpenSettingFile(a.positional[0], doc)) return rc;
  return PrintDataCheck(doc);
}

int RunExportCsv(const Args& args) {
  ParsedArgs a;
  if (int rc = ParseArgs("export-csv", args, {"--dir", "--name"}, {"--force"}, a)) return rc;
  if (a.positional.size() != 1) return UsageError("export-csv", "expected FILE --dir DIR --name BASE");
  if (!a.values.count("--dir") || !a.values.count("--name")) return UsageError("export-csv", "--dir and --name are needed");
  CAxisCfgDoc doc;
  if (int rc = OpenSettingFile(a.positional[0], doc)) return rc;
  CsvNameCheck check = CheckCsvExport(doc.GetLayout(), a.values["--dir"], a.values["--name"]);
  switch (check.verdict) {
    case CsvNameVerdict::Ok: break;
    case CsvNameVerdict::Invalid:
      std::fprintf(stderr, "%s\n", ConsoleText(check.message).c_str());
      return kExitUsage;
    case CsvNameVerdict::Protected:
      std::fprintf(stderr, "%s\n", ConsoleText(check.message).c_str());
      return kExitFile;
    case CsvNameVerdict::AskOverwrite:
      if (a.Has("--force")) break;
      std::fprintf(stderr, "%s\n(--force overwrites them)\n", ConsoleText(check.message).c_str());
      return kExitFile;
  }
  CsvWriteResult w = WriteCsvFiles(doc, check.names);
  const std::vector<std::string> all = check.names.All();
  for (int i = 0; i < w.filesWritten; ++i) std::printf("%s\n", all[static_cast<size_t>(i)].c_str());
  if (w.messageId) {
    std::fprintf(stderr, "%s\n%s\n", ConsoleText(w.message).c_str(), w.systemError.c_str());
    return kExitFile;
  }
  return kExitOk;
}

int RunVerify(const Args& args) {
  ParsedArgs a;
  if (int rc = ParseArgs("verify", args, {}, {"--list"}, a)) return rc;
  if (a.positional.size() != 2) return UsageError("verify", "expected FILE OTHER");
  CAxisCfgDoc doc;
  if (int rc = OpenSettingFile(a.positional[0], doc)) return rc;
  VerifyFileOutcome v = VerifyWithFile(doc, a.positional[1]);
  if (!v.Completed()) {
    std::fprintf(stderr, "%s\n", ConsoleText(v.FailureText()).c_str());
    return kExitFile;
  }
  std::printf("Target : %s\n", v.result.target.c_str());
  for (const std::string& line : VerifyResultLines(v.result)) std::printf("%s\n", line.c_str());
  if (a.Has("--list")) PrintDifferenceLines(v.result.items);
  return v.result.mismatch ? kExitDifference : kExitOk;
}

std::vector<Command> MakeCommands() {
  return {
    {"new", "create a setting file with a chosen family and axis layout",
     "Usage: axcfg new -o FILE [--family 0|1] [--layout LAYOUT] [--sync1 SYNC] [--sync2 SYNC] [--force]\n"
     "Writes a new setting file: every parameter and table at its reset value.\n"
     "  --family 0   Positioning unit SRLX (default); 1 interpolation type (axes 1 to 4)\n"
     "  --layout     interpolation groups as LETTER:AXES and single axes as numbers,\n"
     "               for example \"A:1,2 B:3,4,5 6 7\" (default \"1\")\n"
     "  --sync1, --sync2  synchronous group: off or on,A|B,MASTER,SLAVE,DIFF,BEHAVIOR\n"
     "               (exit 1 when the group settings refuse them)\n"
     "  --force      replace an existing file\n"
     "\".axc\" is added to FILE when it does not end in it.\n",
     RunNew},
    {"info", "show family, axes, creator, comment and format version of a setting file",
     "Usage: axcfg info FILE\nShows the file's format version, unit family, axis layout with the axis labels,\n"
     "synchronous groups, creator and comment, as the file holds them.\n",
     RunInfo},
    {"check", "run the data check on a setting file",
     "Usage: axcfg check FILE\n"
     "Runs the data check of the configuration tool (synchronous groups, parameters of\n"
     "the used axes, every positioning table of every sheet). Exit 0 with \"There was no\n"
     "error.\", or exit 1 with the first problem and where it is.\n",
     RunCheck},
    {"export-csv", "export a setting file as CSV files",
     "Usage: axcfg export-csv FILE --dir DIR --name BASE [--force]\n"
     "Writes DIR/BASEP.csv (parameters) and one file per sheet: DIR/BASE<axis>.csv for a\n"
     "single axis, DIR/BASE<group letter>.csv for an interpolation group. Existing files\n"
     "are only replaced with --force; read-only files are never replaced.\n",
     RunExportCsv},
    {"verify", "compare a setting file with another one",
     "Usage: axcfg verify FILE OTHER [--list]\n"
     "Opens FILE as the configuration tool does and verifies it against OTHER (comments of\n"
     "the tables included). Prints the axis information, parameter data and positioning\n"
     "data lines and the overall result; --list adds every differing item as axcfg diff\n"
     "lists it (all parts, also those the result lines did not compare). Exit 0 only\n"
     "when everything agrees, 1 when something differs.\n",
     RunVerify},
    {"convert", "rewrite a setting file (old versions converted) in the current format",
     "Usage: axcfg convert FILE -o OUT [--force]\n"
     "Opens FILE (an old version is converted as the tool converts it) and saves it in\n"
     "the current format as OUT.\n",
     RunConvert},
    {"dump", "print a whole setting file as JSON", kDumpHelp, RunDump},
    {"diff", "list every item that differs between two setting files", kDiffHelp, RunDiff},
  };
}

}  // namespace

const std::vector<Command>& FileCommands() {
  static const std::vector<Command> commands = MakeCommands();
  return commands;
}

}  // namespace axcfg::cli
