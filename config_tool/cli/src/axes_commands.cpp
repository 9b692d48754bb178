// axcfg change-axes: the axis settings sequence answered from options, then
// the change of axes of an open setting file.
#include <cstdio>
#include <string>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/document_file.h"
#include "axis_answers.h"
#include "file_support.h"
#include "platform/message_box.h"

namespace axcfg::cli {

namespace {

constexpr unsigned kIdChangeAxisQuestion = 20500;

std::string AxisNumbers(uint16_t mask) {
  std::string text;
  AxisList axes = AxesOfMask(mask);
  for (int i = 0; i < axes.count; ++i) text += (i ? ", " : "") + std::to_string(axes.axes[i] + 1);
  return text.empty() ? "none" : text;
}

int RunChangeAxes(const Args& args) {
  ParsedArgs a;
  if (int rc = ParseArgs("change-axes", args, {"-o", "--family", "--layout", "--sync1", "--sync2"},
                         {"--yes", "--force"}, a))
    return rc;
  if (a.positional.size() != 1) return UsageError("change-axes", "expected FILE -o OUT");
  CAxisCfgDoc doc;
  if (int rc = OpenSettingFile(a.positional[0], doc)) return rc;
  AxisAnswers answers;
  if (int rc = ParseAxisAnswers("change-axes", a, doc.GetUnitFamily(), 1, answers)) return rc;
  std::string path;
  if (int rc = OutputPath("change-axes", a, path)) return rc;

  // The confirmation is answered by --yes; without it the question goes to
  // stderr and the change is not made.
  const bool yes = a.Has("--yes");
  bool declined = false;
  platform::MessageBoxHandler previous = platform::SetMessageBoxHandler([&](const platform::MessageBoxRequest& r) {
    if (r.text == AxisCfgText(kIdChangeAxisQuestion)) {
      if (yes) return static_cast<int>(platform::IDYES);
      std::fprintf(stderr, "%s\n(--yes answers Yes)\n", ConsoleText(r.text).c_str());
      declined = true;
      return static_cast<int>(platform::IDNO);
    }
    std::fprintf(stderr, "%s\n", ConsoleText(r.text).c_str());
    return platform::DefaultButton(r.type);
  });

  CliAxisDialogs dialogs(answers);
  CAxisSettingsSequenceCore sequence(dialogs);
  doc.SetAxisSettingsSequence(&sequence);
  const CAxisLayout before = doc.GetLayout();
  const ChangeAxesResult result = doc.ChangeAxes();
  doc.SetAxisSettingsSequence(nullptr);
  platform::SetMessageBoxHandler(previous);

  if (result == ChangeAxesResult::Cancelled || result == ChangeAxesResult::Failed) {
    if (!dialogs.Refused() && !declined && result == ChangeAxesResult::Cancelled)
      std::fprintf(stderr, "axcfg change-axes: cancelled\n");
    return kExitDifference;
  }
  const uint16_t initialised = result == ChangeAxesResult::Changed ? ChangedEntryAxes(before, doc.GetLayout()) : 0;
  FileStatus st = SaveDocumentFile(doc, path);
  if (!st.Succeeded()) {
    std::fprintf(stderr, "%s\n", ConsoleText(FileStatusText(st, path)).c_str());
    return kExitFile;
  }
  std::printf("initialised axes: %s\n", AxisNumbers(initialised).c_str());
  return kExitOk;
}

}  // namespace

const std::vector<Command>& AxesCommands() {
  static const std::vector<Command> commands = {
      {"change-axes", "change the family, used axes and groups of a setting file",
       "Usage: axcfg change-axes FILE -o OUT [--family 0|1] [--layout LAYOUT] [--sync1 SYNC]\n"
       "                         [--sync2 SYNC] [--yes] [--force]\n"
       "Runs the axis and group settings with these answers and changes the axes of FILE as\n"
       "the configuration tool does: the tables of the axes whose entries changed are\n"
       "initialised. Writes OUT only on success and prints the initialised axes.\n"
       "  --family   0 Positioning unit SRLX, 1 interpolation type (axes 1 to 4)\n"
       "  --layout   groups as LETTER:AXES (1 to 3 axes) and single axes as numbers,\n"
       "             for example \"A:1,2 3 4\"; without it the groups stay as they are\n"
       "  --sync1, --sync2  synchronous group: off (other fields kept) or\n"
       "             on,A|B,MASTER,SLAVE,DIFF,BEHAVIOR (behavior 0 error, 1 warning, 2 none)\n"
       "  --yes      answer Yes to the question before tables are initialised\n"
       "  --force    replace an existing OUT\n"
       "Exit 1 when a dialog refuses the answers or the question is not answered Yes.\n",
       RunChangeAxes},
  };
  return commands;
}

}  // namespace axcfg::cli
