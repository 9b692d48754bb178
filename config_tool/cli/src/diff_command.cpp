// axcfg diff: every item that differs between two setting files, as lines
// or as a JSON array.
#include <cstdio>
#include <string>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/compare.h"
#include "axcfg_data/difference_list.h"
#include "file_support.h"
#include "json_line.h"

namespace axcfg::cli {

const char* const kDiffHelp =
    "Usage: axcfg diff FILE OTHER [--json] [--no-comments]\n"
    "Lists every item that differs between FILE (opened as the configuration tool opens\n"
    "it) and OTHER (read as it is, as axcfg verify reads it): unit family, axis layout\n"
    "entries, synchronous group fields, each parameter with its axis, each table cell\n"
    "with its sheet, table No. and column, and table comments unless --no-comments.\n"
    "One line per item, \"what: value in FILE | value in OTHER\"; --json prints a JSON\n"
    "array of objects with part, where, table, item, first and second instead.\n"
    "Exit 0 when the files are equal, 1 when they differ, 3 when a file cannot be read.\n";

std::string DifferencesJson(const std::vector<DifferenceItem>& items) {
  CJsonLine json;
  json.Open('[');
  for (const DifferenceItem& d : items) {
    json.Open('{')
        .Field("part", DifferencePartName(d.part))
        .Field("where", d.where)
        .Field("table", d.tableNo)
        .Field("item", d.item)
        .Field("first", d.first)
        .Field("second", d.second)
        .Close('}');
  }
  json.Close(']');
  return json.Text();
}

void PrintDifferenceLines(const std::vector<DifferenceItem>& items) {
  for (const DifferenceItem& d : items) std::printf("%s\n", ConsoleText(DifferenceLine(d)).c_str());
}

int RunDiff(const Args& args) {
  ParsedArgs a;
  if (int rc = ParseArgs("diff", args, {}, {"--json", "--no-comments"}, a)) return rc;
  if (a.positional.size() != 2) return UsageError("diff", "expected FILE OTHER");
  CAxisCfgDoc doc;
  if (int rc = OpenSettingFile(a.positional[0], doc)) return rc;
  const VerifyFileOutcome v = VerifyWithFile(doc, a.positional[1], !a.Has("--no-comments"));
  if (!v.Completed()) {
    std::fprintf(stderr, "%s\n", ConsoleText(v.FailureText()).c_str());
    return kExitFile;
  }
  if (a.Has("--json"))
    std::printf("%s\n", DifferencesJson(v.result.items).c_str());
  else
    PrintDifferenceLines(v.result.items);
  return v.result.items.empty() ? kExitOk : kExitDifference;
}

}  // namespace axcfg::cli
