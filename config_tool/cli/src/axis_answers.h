#pragma once
// The axis settings dialogs answered from the command line: the family, the
// layout and the synchronous groups given as options, the dialogs' messages
// printed as they would show.
#include <array>
#include <optional>
#include <string>

#include "axcfg_data/axis_settings.h"
#include "cli_command.h"

namespace axcfg::cli {

struct AxisAnswers {
  std::optional<uint32_t> family;
  std::optional<CAxisLayout> layout;              // without it, what the dialogs open with
  std::array<std::optional<SyncBlockEdit>, 2> sync;  // --sync1, --sync2
};

// Reads --family, --layout (groups of minGroupAxes to 3 axes) and
// --sync1/--sync2 ("off" or "on,A|B,MASTER,SLAVE,DIFF,BEHAVIOR"). The
// family for the layout check is `documentFamily` unless --family is given.
// Returns kExitOk or the usage exit code after printing the problem.
int ParseAxisAnswers(const char* command, const ParsedArgs& a, uint32_t documentFamily, int minGroupAxes,
                     AxisAnswers& out);

// Plays the user's part in both dialogs once: messages to stdout, a refusal
// to stderr. A second round (after a refusal or a No) cancels.
class CliAxisDialogs : public IAxisDialogs {
 public:
  explicit CliAxisDialogs(const AxisAnswers& answers) : answers_(answers) {}
  bool RunUsedAxis(CUsedAxisChoice& choice) override;
  bool RunGroups(CGroupArrangement& arrangement) override;
  void ShowInformation(const std::string& text) override;
  bool Refused() const { return refused_; }

 private:
  // OK's result: a refusal to stderr (the dialog would stay open, here it
  // is cancelled), any other message to stdout.
  bool Close(const DialogOkResult& r);

  const AxisAnswers& answers_;
  int usedAxisRuns_ = 0;
  bool refused_ = false;
};

}  // namespace axcfg::cli
