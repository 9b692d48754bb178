#include "axis_answers.h"

#include <cstdio>
#include <sstream>
#include <vector>

#include "file_support.h"

namespace axcfg::cli {

namespace {

std::vector<std::string> Split(const std::string& text, char sep) {
  std::vector<std::string> parts;
  std::stringstream in(text);
  std::string part;
  while (std::getline(in, part, sep)) parts.push_back(part);
  if (!text.empty() && text.back() == sep) parts.emplace_back();
  return parts;
}

// One digit 1..8 as an axis index; -1 otherwise.
int AxisIndex(const std::string& text) {
  return text.size() == 1 && text[0] >= '1' && text[0] <= '8' ? text[0] - '1' : -1;
}

bool ParseSync(const std::string& text, SyncBlockEdit& edit, std::string& error) {
  if (text == "off") {
    edit = SyncBlockEdit{};
    edit.on = false;
    return true;
  }
  const std::vector<std::string> f = Split(text, ',');
  if (f.size() != 6 || f[0] != "on")
    return error = "\"" + text + "\": expected off or on,A|B,MASTER,SLAVE,DIFF,BEHAVIOR", false;
  if (f[1] != "A" && f[1] != "B") return error = "\"" + f[1] + "\": the mode is A or B", false;
  const int master = AxisIndex(f[2]), slave = AxisIndex(f[3]);
  if (master < 0 || slave < 0) return error = "master and slave are axes 1 to 8", false;
  if (f[5].size() != 1 || f[5][0] < '0' || f[5][0] > '2') return error = "\"" + f[5] + "\": the behavior is 0, 1 or 2", false;
  edit.on = true;
  edit.mode = static_cast<uint16_t>(f[1] == "B" ? 1 : 0);
  edit.master = master;
  edit.slave = slave;
  edit.differenceText = f[4];  // checked as the dialog checks what was typed
  edit.behavior = static_cast<uint16_t>(f[5][0] - '0');
  return true;
}

void PrintMessage(FILE* to, const std::string& text) { std::fprintf(to, "%s\n", ConsoleText(text).c_str()); }

}  // namespace

int ParseAxisAnswers(const char* command, const ParsedArgs& a, uint32_t documentFamily, int minGroupAxes,
                     AxisAnswers& out) {
  uint32_t family = documentFamily;
  if (auto it = a.values.find("--family"); it != a.values.end()) {
    if (it->second != "0" && it->second != "1") return UsageError(command, "--family takes 0 or 1");
    family = it->second == "1" ? 1u : 0u;
    out.family = family;
  }
  std::string error;
  if (auto it = a.values.find("--layout"); it != a.values.end()) {
    CAxisLayout layout;
    if (!ParseLayout(it->second, family, minGroupAxes, layout, error)) return UsageError(command, error);
    out.layout = layout;
  }
  const char* names[2] = {"--sync1", "--sync2"};
  for (int g = 0; g < 2; ++g) {
    auto it = a.values.find(names[g]);
    if (it == a.values.end()) continue;
    SyncBlockEdit edit;
    if (!ParseSync(it->second, edit, error)) return UsageError(command, std::string(names[g]) + " " + error);
    out.sync[g] = edit;
  }
  return kExitOk;
}

bool CliAxisDialogs::RunUsedAxis(CUsedAxisChoice& choice) {
  if (usedAxisRuns_++ > 0) return false;
  if (answers_.family) choice.SetFamily(*answers_.family);
  if (answers_.layout) {
    const uint16_t mask = answers_.layout->GetUsedAxisMask();
    for (int axis = 0; axis < kAxisCount; ++axis) choice.SetTicked(axis, (mask >> axis) & 1u);
  }
  return Close(choice.Ok());
}

bool CliAxisDialogs::RunGroups(CGroupArrangement& arrangement) {
  if (answers_.layout) {
    // Every axis independent, then each group's axes in ascending order.
    for (int axis = 0; axis < kAxisCount; ++axis) arrangement.Move(axis, kDropIndependent);
    const CAxisLayout& layout = *answers_.layout;
    for (int i = 0; i < layout.GetAxisEntryCount(); ++i) {
      const uint32_t e = layout.GetAxisEntry(i);
      const int g = EntryGroupNo(e);
      if (g < 1 || g > kGroupCount) continue;
      AxisList axes = AxesOfMask(EntryMask(e));
      for (int k = 0; k < axes.count; ++k) arrangement.Move(axes.axes[k], g - 1);
    }
  }
  for (int g = 0; g < 2; ++g)
    if (answers_.sync[g]) arrangement.Edit(g, *answers_.sync[g]);
  return Close(arrangement.Ok());
}

bool CliAxisDialogs::Close(const DialogOkResult& r) {
  if (!r.accepted) {
    PrintMessage(stderr, r.message);
    refused_ = true;
    return false;
  }
  if (!r.message.empty()) PrintMessage(stdout, r.message);
  return true;
}

void CliAxisDialogs::ShowInformation(const std::string& text) { PrintMessage(stdout, text); }

}  // namespace axcfg::cli
