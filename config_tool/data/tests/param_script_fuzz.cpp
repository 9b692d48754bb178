// Fuzz entry for the parameter editor's text steps: the first byte picks the
// family and the layout, the second the synchronous group, then each line
// is one step: "s" + AXIS:NO=TEXT, "c" + FROM:TO, "i" + axes. Any input must
// neither crash nor leave the editor in a state its own rules forbid: an
// accepted script passes the OK check, a refused or mistyped step changes
// nothing, and a Mode B master never keeps a method it cannot follow.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/le_bytes.h"
#include "axcfg_data/param_edit_script.h"
#include "axcfg_data/sync_group_check.h"

using namespace axcfg;

namespace {

CAxisLayout LayoutOf(uint8_t pick) {
  CAxisLayout layout;
  layout.Clear();
  switch (pick % 4) {
    case 0: layout.Append(MakeSingleAxisEntry(0)); break;
    case 1:
      layout.Append(MakeGroupEntry(1, 0x03));
      layout.Append(MakeSingleAxisEntry(2));
      break;
    case 2:
      layout.Append(MakeSingleAxisEntry(3));
      layout.Append(MakeGroupEntry(2, 0x05));
      break;
    default:
      for (int axis = 0; axis < 4; ++axis) layout.Append(MakeSingleAxisEntry(axis));
      break;
  }
  return layout;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool registered = (RegisterAxisCfgDataStrings(), true);
  (void)registered;
  if (size < 2) return 0;
  CAxisCfgDoc doc;
  doc.SetUnitFamily(data[0] & 0x80 ? 1 : 0);
  doc.SetLayout(LayoutOf(data[0]));
  SyncGroups sync{};
  sync[0].operation = data[1] & 1;
  sync[0].mode = (data[1] >> 1) & 1;
  sync[0].masterMask = static_cast<uint16_t>(1u << ((data[1] >> 2) & 3));
  sync[0].slaveMask = static_cast<uint16_t>(1u << ((data[1] >> 4) & 3));
  doc.SetSyncGroups(sync);

  std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);
  CParamEditModel model(doc);
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (line.empty()) continue;
    const ParamOpKind kind = line[0] == 'c' ? ParamOpKind::Copy : line[0] == 'i' ? ParamOpKind::Init : ParamOpKind::Set;
    ParamEditOp op;
    std::string error;
    if (!ParseParamEditOp(kind, line.substr(1), op, error)) {
      if (error.empty()) std::abort();
      continue;
    }
    const CParamBlock before = model.Params();
    const ParamScriptOutcome outcome = RunParamEditScript(model, {op});
    if (outcome.status == ParamScriptStatus::Usage && !(model.Params() == before)) std::abort();
    if (outcome.status == ParamScriptStatus::Refused && outcome.id != CParamEditModel::kIdOkOutOfRange &&
        !(model.Params() == before))
      std::abort();
    if (outcome.status == ParamScriptStatus::Done && !model.CheckForOk().ok) std::abort();
    // A step that reaches the master of a group on in Mode B leaves it a
    // method it can follow, unless it already had another before.
    if (sync[0].operation && sync[0].mode == 1 && outcome.status == ParamScriptStatus::Done) {
      const int master = SyncAxisOfMask(sync[0].masterMask);
      const uint16_t code = GetLe16(model.Params().RecordBytes(master) + 64);
      const uint16_t was = GetLe16(before.RecordBytes(master) + 64);
      const bool followable = code == 1 || code == 4 || code == 6 || code == 8;
      if (!followable && code != was && model.AxisColumn(master) >= 0) std::abort();
    }
  }
  for (int column = 0; column < model.ColumnCount(); ++column)
    for (int row = 0; row < model.RowCount(); ++row) model.Cell(column, row);
  return 0;
}
