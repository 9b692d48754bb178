#include "axcfg_data/param_edit_script.h"

#include "axcfg_data/axis_settings.h"

namespace axcfg {

namespace {

bool AllDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

// A small decimal number without sign; false when it is not one or exceeds `max`.
bool ReadSmall(std::string_view text, int max, int& value) {
  if (!AllDigits(text) || text.size() > 3) return false;
  value = 0;
  for (char c : text) value = value * 10 + (c - '0');
  return value <= max;
}

bool ReadAxis(std::string_view text, int& axis) {
  int number = 0;
  if (!ReadSmall(text, kAxisCount, number) || number < 1) return false;
  axis = number - 1;
  return true;
}

ParamScriptOutcome Usage(std::string error) {
  ParamScriptOutcome o;
  o.status = ParamScriptStatus::Usage;
  o.error = std::move(error);
  return o;
}

ParamScriptOutcome Refused(unsigned id, std::string message, int param, int axis) {
  ParamScriptOutcome o;
  o.status = ParamScriptStatus::Refused;
  o.id = id;
  o.message = std::move(message);
  o.param = param;
  o.axis = axis;
  return o;
}

std::string AxisName(int axis) { return "axis " + std::to_string(axis + 1); }

// The choice index a text names: its exact choice text or its index.
bool ChoiceIndex(const std::vector<std::string>& choices, const std::string& text, int& index) {
  for (size_t i = 0; i < choices.size(); ++i)
    if (choices[i] == text) {
      index = static_cast<int>(i);
      return true;
    }
  return ReadSmall(text, static_cast<int>(choices.size()) - 1, index);
}

ParamScriptOutcome RunSet(CParamEditModel& model, const ParamEditOp& op) {
  const int column = model.AxisColumn(op.axis);
  if (column < 0) return Usage(AxisName(op.axis) + " is not in the axis layout");
  const int row = model.ParamToRow(op.param);
  if (row < 0) return Usage("parameter " + std::to_string(op.param) + " is not listed for this unit family");
  const int kind = model.EditKind(column, row);
  ParamEditResult r;
  if (kind == kEditList) {
    int index = -1;
    if (!ChoiceIndex(model.Choices(column, row), op.text, index))
      return Usage("\"" + op.text + "\" is not a choice of " + model.RowTitle(row));
    r = model.CommitChoice(column, row, index);
  } else if (kind == kEditNone) {
    return Usage(model.RowTitle(row) + " of " + AxisName(op.axis) + " cannot be edited with the current settings");
  } else {
    const int length = model.EditLength(column, row);
    if (static_cast<int>(op.text.size()) > length)
      return Usage("\"" + op.text + "\" is longer than the " + std::to_string(length) + " characters of " +
                   model.RowTitle(row));
    r = model.CommitText(column, row, op.text);
  }
  if (!r.Accepted()) return Refused(r.id, r.message, op.param, op.axis);
  ParamScriptOutcome o;
  if (!r.info.empty()) o.infos.push_back(r.info);
  return o;
}

}  // namespace

bool ParseParamEditOp(ParamOpKind kind, std::string_view text, ParamEditOp& op, std::string& error) {
  op = ParamEditOp();
  op.kind = kind;
  switch (kind) {
    case ParamOpKind::Set: {
      const size_t colon = text.find(':');
      const size_t equals = text.find('=');
      if (colon == std::string_view::npos || equals == std::string_view::npos || equals < colon ||
          !ReadAxis(text.substr(0, colon), op.axis) ||
          !ReadSmall(text.substr(colon + 1, equals - colon - 1), kParamCount - 1, op.param)) {
        error = "expected AXIS:NO=TEXT (axis 1 to 8, parameter 0 to 60)";
        return false;
      }
      op.text = std::string(text.substr(equals + 1));
      return true;
    }
    case ParamOpKind::Copy: {
      const size_t colon = text.find(':');
      if (colon == std::string_view::npos || !ReadAxis(text.substr(0, colon), op.axis) ||
          !ReadAxis(text.substr(colon + 1), op.toAxis)) {
        error = "expected FROM:TO (axes 1 to 8)";
        return false;
      }
      return true;
    }
    case ParamOpKind::Init: {
      while (!text.empty()) {
        const size_t comma = text.find(',');
        int axis = 0;
        if (!ReadAxis(text.substr(0, comma), axis)) {
          error = "expected a comma list of axes 1 to 8";
          return false;
        }
        op.mask = static_cast<uint16_t>(op.mask | (1u << axis));
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
        if (text.empty()) {
          error = "expected a comma list of axes 1 to 8";
          return false;
        }
      }
      return true;
    }
  }
  return false;
}

ParamScriptOutcome RunParamEditScript(CParamEditModel& model, const std::vector<ParamEditOp>& ops) {
  ParamScriptOutcome done;
  for (const ParamEditOp& op : ops) {
    ParamScriptOutcome step;
    switch (op.kind) {
      case ParamOpKind::Set:
        step = RunSet(model, op);
        break;
      case ParamOpKind::Copy: {
        for (int axis : {op.axis, op.toAxis})
          if (model.AxisColumn(axis) < 0) return Usage(AxisName(axis) + " is not in the axis layout");
        const ParamEditResult r = model.CopyAxis(op.axis, op.toAxis);
        if (!r.info.empty()) step.infos.push_back(r.info);
        break;
      }
      case ParamOpKind::Init: {
        for (int axis = 0; axis < kAxisCount; ++axis)
          if ((op.mask & (1u << axis)) && model.AxisColumn(axis) < 0)
            return Usage(AxisName(axis) + " is not in the axis layout");
        // The axes as the initialise dialog takes them: none ticked is refused.
        CUsedAxisChoice choice = CUsedAxisChoice::ForInitialise(model.ShownMask(), op.mask);
        const DialogOkResult ok = choice.Ok();
        if (!ok.accepted) return Refused(ok.id, ok.message, -1, -1);
        const ParamEditResult r = model.Initialize(choice.Mask());
        if (!r.Accepted()) return Refused(r.id, r.message, -1, -1);
        if (!r.info.empty()) step.infos.push_back(r.info);
        break;
      }
    }
    if (step.status != ParamScriptStatus::Done) {
      step.infos.insert(step.infos.begin(), done.infos.begin(), done.infos.end());
      return step;
    }
    done.infos.insert(done.infos.end(), step.infos.begin(), step.infos.end());
  }
  const ParamOkCheck check = model.CheckForOk();
  if (!check.ok) {
    ParamScriptOutcome o =
        Refused(check.id, check.message, model.RowToParam(check.row), model.ColumnAxis(check.column));
    o.infos = done.infos;
    return o;
  }
  return done;
}

}  // namespace axcfg
