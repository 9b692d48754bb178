// axcfg upload, download, verify-unit and write-from: the configuration
// tool's transfer commands, answered from the command line.
#include <csignal>
#include <cstdio>
#include <thread>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/data_check.h"
#include "axcfg_unit/from_write_watch.h"
#include "axcfg_unit/transfer_commands.h"
#include "axcfg_unit/unit_link.h"
#include "cli_command.h"
#include "file_support.h"
#include "unit_session.h"

namespace axcfg::cli {

namespace {

volatile std::sig_atomic_t g_interrupted = 0;

void OnInterrupt(int) { g_interrupted = 1; }

// SIGINT only raises a flag: an upload or verify stops before its next
// frame, a download finishes first.
class CInterruptFlag {
 public:
  CInterruptFlag() {
    g_interrupted = 0;
    struct sigaction sa {};
    sa.sa_handler = OnInterrupt;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, &old_);
  }
  ~CInterruptFlag() { sigaction(SIGINT, &old_, nullptr); }
  bool Raised() const { return g_interrupted != 0; }

 private:
  struct sigaction old_ {};
};

class CConsoleProgress : public ITransferProgress {
 public:
  CConsoleProgress(bool print, bool cancellable) : print_(print), cancellable_(cancellable) {}
  void SetRange(int range) override {
    range_ = range;
    position_ = 0;
    Print();
  }
  void Step(int steps) override {
    position_ += steps;
    Print();
  }
  bool Cancelled() override { return cancellable_ && g_interrupted; }

 private:
  void Print() {
    if (print_) std::fprintf(stderr, "progress %d/%d\n", position_, range_);
  }
  bool print_, cancellable_;
  int range_ = 0, position_ = 0;
};

struct TransferOptions {
  bool progress = false;
  bool keepComments = false;
  bool list = false;
  DownloadSelection selection;
};

class CConsoleTransferUi : public ITransferUi {
 public:
  explicit CConsoleTransferUi(const TransferOptions& o) : o_(o) {}

  int Open(CUnitLink& link) override {
    const int rc = link.Open(nullptr, false, false, false);
    if (rc != 0) std::fprintf(stderr, "%s\n", ConsoleText(link.GetErrorString(rc)).c_str());
    return rc;
  }
  bool Confirm(int) override { return true; }
  bool ChooseDownload(DownloadSelection& selection) override {
    selection = o_.selection;
    return true;
  }
  int RunWithProgress(int mode, const std::function<int(ITransferProgress&)>& work) override {
    CConsoleProgress progress(o_.progress, mode != kModeDownload);
    return work(progress);
  }
  bool Ask(unsigned id, const std::string&) override {
    if (id == 21326) return o_.keepComments;
    return id == 21451;  // 21453 (a FROM write is running) ends at once: a script retries itself
  }
  void Message(unsigned id, const std::string& text, MessageIcon) override {
    const bool result = id == 21302 || id == 21322 || id == 21455;
    if (id == 21322) return;  // an upload prints the saved path instead
    std::fprintf(result ? stdout : stderr, "%s\n", ConsoleText(text).c_str());
    std::fflush(stdout);
  }
  void ShowVerifyResult(const VerifyResult& result, const std::vector<uint32_t>&) override {
    std::printf("Target : %s\n", result.target.c_str());
    for (const std::string& line : VerifyResultLines(result)) std::printf("%s\n", line.c_str());
    if (o_.list) PrintDifferenceLines(result.items);
  }
  void FromWriteCount(int count) override {
    std::printf("FROM writes: %d\n", count);
    std::fflush(stdout);
  }
  bool FollowFromWrite(CUnitLink& link) override {
    CFromWriteWatch watch(link);
    for (;;) {
      std::this_thread::sleep_for(std::chrono::milliseconds(CFromWriteWatch::kTickMs));
      const int r = watch.Tick();
      if (r != kFromStillWriting) return r == kFromWriteFinished;
    }
  }
  // Quiet when the data are valid; a failure is printed as axcfg check prints it.
  bool CheckData(const CAxisCfgDoc& doc) override { return axcfg::CheckData(doc).Valid() || PrintDataCheck(doc) == kExitOk; }

 private:
  const TransferOptions& o_;
};

int ExitOf(TransferOutcome outcome) {
  switch (outcome) {
    case TransferOutcome::Done: return kExitOk;
    case TransferOutcome::CheckFailed:
    case TransferOutcome::Differs: return kExitDifference;
    case TransferOutcome::LinkFailed: return kExitCommunication;
    case TransferOutcome::Declined:
    case TransferOutcome::Refused: break;
  }
  return kExitRefused;
}

// Splits the arguments into the unit options and the command's own.
int ParseTransferArgs(const char* command, const Args& args, std::set<std::string> values,
                      std::set<std::string> flags, ParsedArgs& a, UnitOptions& u, TransferOptions& o) {
  flags.insert("--progress");
  const std::set<std::string> unit = UnitValueOptions();
  values.insert(unit.begin(), unit.end());
  if (int rc = ParseArgs(command, args, values, flags, a)) return rc;
  int exitCode = kExitOk;
  if (!TakeUnitOptions(command, a, u, exitCode)) return exitCode;
  o.progress = a.Has("--progress");
  return kExitOk;
}

int RunUploadCommand(const Args& args) {
  ParsedArgs a;
  UnitOptions u;
  TransferOptions o;
  if (int rc = ParseTransferArgs("upload", args, {"-o", "--into"}, {"--keep-comments", "--force"}, a, u, o)) return rc;
  if (!a.positional.empty()) return UsageError("upload", "unexpected argument \"" + a.positional[0] + "\"");
  if (a.Has("--keep-comments") && !a.values.count("--into")) return UsageError("upload", "--keep-comments needs --into");
  o.keepComments = a.Has("--keep-comments");
  std::string out;
  if (int rc = OutputPath("upload", a, out)) return rc;
  CAxisCfgDoc doc;
  if (a.values.count("--into"))
    if (int rc = OpenSettingFile(a.values["--into"], doc)) return rc;
  OpenLink l;
  if (int rc = MakeLink("upload", u, l)) return rc;
  CConsoleTransferUi ui(o);
  CInterruptFlag interrupt;
  const TransferOutcome outcome = RunUpload(*l.link, ui, doc);
  if (outcome != TransferOutcome::Done) return ExitOf(outcome);
  return Save(doc, out);
}

int RunDownloadCommand(const Args& args) {
  ParsedArgs a;
  UnitOptions u;
  TransferOptions o;
  if (int rc = ParseTransferArgs("download", args, {"--range"}, {"--params-only", "--write-from"}, a, u, o)) return rc;
  if (a.positional.size() != 1) return UsageError("download", "expected FILE");
  const bool hasRange = a.values.count("--range") != 0;
  if (hasRange && a.Has("--params-only")) return UsageError("download", "--range and --params-only exclude each other");
  o.selection = {a.Has("--params-only") ? 1u : 2u, 1, kTableRowCount};
  if (hasRange && !ParseTableRange(a.values["--range"], o.selection.first, o.selection.last))
    return UsageError("download", ConsoleText(TransferText(29911)));
  CAxisCfgDoc doc;
  if (int rc = OpenSettingFile(a.positional[0], doc)) return rc;
  OpenLink l;
  if (int rc = MakeLink("download", u, l)) return rc;
  CConsoleTransferUi ui(o);
  CInterruptFlag interrupt;
  TransferOutcome outcome = RunDownload(*l.link, ui, doc, false);
  if (outcome == TransferOutcome::Done && a.Has("--write-from") && !interrupt.Raised())
    outcome = RunWriteFrom(*l.link, ui);
  return ExitOf(outcome);
}

int RunVerifyUnitCommand(const Args& args) {
  ParsedArgs a;
  UnitOptions u;
  TransferOptions o;
  if (int rc = ParseTransferArgs("verify-unit", args, {}, {"--list"}, a, u, o)) return rc;
  if (a.positional.size() != 1) return UsageError("verify-unit", "expected FILE");
  o.list = a.Has("--list");
  CAxisCfgDoc doc;
  if (int rc = OpenSettingFile(a.positional[0], doc)) return rc;
  OpenLink l;
  if (int rc = MakeLink("verify-unit", u, l)) return rc;
  CConsoleTransferUi ui(o);
  CInterruptFlag interrupt;
  return ExitOf(RunVerifyUnit(*l.link, ui, doc));
}

int RunWriteFromCommand(const Args& args) {
  ParsedArgs a;
  UnitOptions u;
  TransferOptions o;
  if (int rc = ParseTransferArgs("write-from", args, {}, {}, a, u, o)) return rc;
  if (!a.positional.empty()) return UsageError("write-from", "unexpected argument \"" + a.positional[0] + "\"");
  OpenLink l;
  if (int rc = MakeLink("write-from", u, l)) return rc;
  CConsoleTransferUi ui(o);
  return ExitOf(RunWriteFrom(*l.link, ui));
}

constexpr const char* kTransferExits =
    "Exit codes: 0 done, 1 data check failed or differences, 2 usage, 3 file,\n"
    "4 communication error, 5 the unit refused, aborted or did not confirm.\n"
    "  --progress     prints \"progress STEP/RANGE\" on stderr as the transfer goes\n";

}  // namespace

const std::vector<Command>& TransferCommands() {
  static const std::string uploadHelp =
      std::string("Usage: axcfg upload -o OUT [--into FILE [--keep-comments]] [--force] [options]\n"
                  "Reads the setting data from the unit into a new document, or into FILE as the\n"
                  "tool opens it (--keep-comments keeps FILE's table comments), saves OUT (\".axc\"\n"
                  "added) and prints its path. Ctrl+C aborts the upload; nothing is written.\n") +
      kTransferExits + kDestHelp;
  static const std::string downloadHelp =
      std::string("Usage: axcfg download FILE [--params-only | --range TEXT] [--write-from] [options]\n"
                  "Checks that FILE fits the unit and passes the data check, then writes the axis\n"
                  "information and parameters and (without --params-only) the tables of TEXT\n"
                  "(\"4-80\", \"80\" = 1-80; default all). --write-from then writes the unit's FROM.\n"
                  "Ctrl+C is held until the download has ended.\n") +
      kTransferExits + kDestHelp;
  static const std::string verifyHelp =
      std::string("Usage: axcfg verify-unit FILE [--list] [options]\n"
                  "Uploads the unit's data and compares it with FILE as a download writes it;\n"
                  "prints the result as axcfg verify does (--list: each difference).\n") +
      kTransferExits + kDestHelp;
  static const std::string fromHelp =
      std::string("Usage: axcfg write-from [options]\n"
                  "Prints the unit's FROM write count, writes its working data into FROM and\n"
                  "follows the write to its end.\n") +
      kTransferExits + kDestHelp;
  static const std::vector<Command> commands = {
      {"upload", "read the setting data from the unit into a setting file", uploadHelp.c_str(), RunUploadCommand},
      {"download", "write a setting file's data to the unit", downloadHelp.c_str(), RunDownloadCommand},
      {"verify-unit", "compare the unit's setting data with a setting file", verifyHelp.c_str(), RunVerifyUnitCommand},
      {"write-from", "write the unit's working data into its FROM", fromHelp.c_str(), RunWriteFromCommand},
  };
  return commands;
}

}  // namespace axcfg::cli
