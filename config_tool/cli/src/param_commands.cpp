// axcfg params and edit-params: the parameter settings editor's grid as
// text, and the editor's steps run from options on a setting file.
#include <cstdio>
#include <string>
#include <vector>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/param_edit_script.h"
#include "file_support.h"

namespace axcfg::cli {

namespace {

// "AXIS:NO": a shown axis and a parameter listed for the family.
int ParseCell(const std::string& text, const CParamEditModel& model, int& column, int& row) {
  ParamEditOp op;
  std::string error;
  if (!ParseParamEditOp(ParamOpKind::Set, text + "=", op, error))
    return UsageError("params", "--guidance expects AXIS:NO (axis 1 to 8, parameter 0 to 60)");
  column = model.AxisColumn(op.axis);
  if (column < 0) return UsageError("params", "axis " + std::to_string(op.axis + 1) + " is not in the axis layout");
  row = model.ParamToRow(op.param);
  if (row < 0)
    return UsageError("params", "parameter " + std::to_string(op.param) + " is not listed for this unit family");
  return kExitOk;
}

int RunParams(const Args& args) {
  ParsedArgs a;
  if (int rc = ParseArgs("params", args, {"--guidance"}, {"--kinds"}, a)) return rc;
  if (a.positional.size() != 1) return UsageError("params", "expected FILE");
  CAxisCfgDoc doc;
  if (int rc = OpenSettingFile(a.positional[0], doc)) return rc;
  const CParamEditModel model(doc);

  if (auto it = a.values.find("--guidance"); it != a.values.end()) {
    int column = 0, row = 0;
    if (int rc = ParseCell(it->second, model, column, row)) return rc;
    std::printf("%s\n", ConsoleText(model.Guidance(column, row)).c_str());
    return kExitOk;
  }
  const bool kinds = a.Has("--kinds");
  std::string line = "Parameter";
  for (int column = 0; column < model.ColumnCount(); ++column) line += "\t" + model.ColumnTitle(column);
  std::printf("%s\n", line.c_str());
  for (int row = 0; row < model.RowCount(); ++row) {
    line = model.RowTitle(row);
    for (int column = 0; column < model.ColumnCount(); ++column) {
      line += "\t";
      if (kinds)
        line += std::to_string(model.Params().GetParamKind(model.RowToParam(row), model.ColumnAxis(column))) + ":";
      line += model.Cell(column, row).text;
    }
    std::printf("%s\n", line.c_str());
  }
  return kExitOk;
}

// The options of edit-params in the order given; the steps keep that order.
struct EditParamsArgs {
  std::string file;
  ParsedArgs output;  // -o and --force, as every writing command takes them
  std::vector<ParamEditOp> ops;
};

int ParseEditParamsArgs(const Args& args, EditParamsArgs& out) {
  const char* command = "edit-params";
  for (size_t i = 0; i < args.size(); ++i) {
    std::string option = args[i];
    std::string value;
    bool inlineValue = false;
    if (option.rfind("--", 0) == 0 && option.find('=') != std::string::npos) {
      value = option.substr(option.find('=') + 1);
      option = option.substr(0, option.find('='));
      inlineValue = true;
    }
    if (option == "--force" && !inlineValue) {
      out.output.flags.insert(option);
      continue;
    }
    const bool takesValue = option == "-o" || option == "--set" || option == "--copy" || option == "--init";
    if (!takesValue) {
      if (!option.empty() && option[0] == '-') return UsageError(command, "unknown option " + option);
      if (!out.file.empty()) return UsageError(command, "expected one FILE");
      out.file = option;
      continue;
    }
    if (!inlineValue) {
      if (i + 1 >= args.size()) return UsageError(command, option + " needs a value");
      value = args[++i];
    }
    if (option == "-o") {
      out.output.values[option] = value;
      continue;
    }
    const ParamOpKind kind = option == "--set" ? ParamOpKind::Set
                             : option == "--copy" ? ParamOpKind::Copy
                                                  : ParamOpKind::Init;
    ParamEditOp op;
    std::string error;
    if (!ParseParamEditOp(kind, value, op, error)) return UsageError(command, option + " " + value + ": " + error);
    out.ops.push_back(std::move(op));
  }
  if (out.file.empty()) return UsageError(command, "expected FILE -o OUT");
  return kExitOk;
}

int RunEditParams(const Args& args) {
  EditParamsArgs a;
  if (int rc = ParseEditParamsArgs(args, a)) return rc;
  CAxisCfgDoc doc;
  if (int rc = OpenSettingFile(a.file, doc)) return rc;
  std::string path;
  if (int rc = OutputPath("edit-params", a.output, path)) return rc;

  CParamEditModel model(doc);
  const ParamScriptOutcome outcome = RunParamEditScript(model, a.ops);
  for (const std::string& info : outcome.infos) std::printf("%s\n", ConsoleText(info).c_str());
  switch (outcome.status) {
    case ParamScriptStatus::Usage:
      return UsageError("edit-params", outcome.error);
    case ParamScriptStatus::Refused:
      std::fprintf(stderr, "%s\n", ConsoleText(outcome.message).c_str());
      if (outcome.param >= 0)
        std::fprintf(stderr, "Parameter: %s, %s\n", model.Params().GetParamName(outcome.param).c_str(),
                     model.Layout().GetAxisLabel(outcome.axis).c_str());
      return kExitDifference;
    case ParamScriptStatus::Done:
      break;
  }
  model.Apply(doc);
  return Save(doc, path);
}

}  // namespace

const std::vector<Command>& ParamCommands() {
  static const std::vector<Command> commands = {
      {"params", "list the parameters of every axis as the parameter settings show them",
       "Usage: axcfg params FILE [--kinds] [--guidance AXIS:NO]\n"
       "Prints a header \"Parameter\" and the axis labels in layout order, then one line per\n"
       "parameter of the unit family with the text of each axis's cell, TAB-separated.\n"
       "  --kinds     each cell as KIND:TEXT (0 choice, 1 choice not available, 2 signed,\n"
       "              3 signed decimal, 4 unsigned, 5 decimal, 8 not used)\n"
       "  --guidance  only the guidance of one cell: axis number 1 to 8, parameter number\n"
       "Exit 2 for an axis outside the layout or a parameter the family does not list.\n",
       RunParams},
      {"edit-params", "change parameters as the parameter settings dialog does",
       "Usage: axcfg edit-params FILE -o OUT [--set AXIS:NO=TEXT]... [--copy FROM:TO]...\n"
       "                         [--init AXES]... [--force]\n"
       "Runs the steps in the order given as the parameter settings dialog runs them, then\n"
       "its OK check, and writes OUT.\n"
       "  --set    a value as typed, or a choice by its exact text or its index\n"
       "  --copy   copy all parameters of axis FROM to axis TO\n"
       "  --init   reset the axes of a comma list (--init 1,3)\n"
       "  --force  replace an existing OUT\n"
       "A refused step prints its message and the parameter on stderr, exit 1, nothing\n"
       "written. Exit 2 for an axis outside the layout, a parameter the family does not\n"
       "list, a choice outside its list, a value longer than the cell accepts or a cell\n"
       "that cannot be edited.\n",
       RunEditParams},
  };
  return commands;
}

}  // namespace axcfg::cli
