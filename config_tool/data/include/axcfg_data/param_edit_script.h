#pragma once
// The parameter settings editor driven by text instead of a dialog: set a
// cell, copy an axis, initialise axes, in the order given, then the OK
// check. The command line reads its options into these operations.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "axcfg_data/param_edit_model.h"

namespace axcfg {

enum class ParamOpKind { Set, Copy, Init };

struct ParamEditOp {
  ParamOpKind kind = ParamOpKind::Set;
  int axis = -1;     // axis index 0..7: the cell's axis, or the copy's source
  int param = -1;    // Set: parameter number 0..60
  std::string text;  // Set: the value as typed, or a choice's text or index
  int toAxis = -1;   // Copy: destination axis index
  uint16_t mask = 0; // Init: the axes to initialise
};

// Reads "AXIS:NO=TEXT" (Set), "FROM:TO" (Copy) or a comma list of axis
// numbers, possibly empty (Init). Axis numbers are 1..8, parameter numbers
// 0..60. False with the reason when the text has another form.
bool ParseParamEditOp(ParamOpKind kind, std::string_view text, ParamEditOp& op, std::string& error);

enum class ParamScriptStatus {
  Done,     // every step accepted and the OK check passed
  Usage,    // an operation names something the editor does not offer
  Refused,  // the editor refused a step or the OK check failed
};

struct ParamScriptOutcome {
  ParamScriptStatus status = ParamScriptStatus::Done;
  std::string error;   // Usage: what was wrong
  unsigned id = 0;     // Refused: the message id
  std::string message; // Refused: the message
  int param = -1;      // Refused: the cell concerned, -1 when none
  int axis = -1;
  std::vector<std::string> infos;  // information texts of accepted steps
};

// Runs the operations on the model as the dialog runs them, then the OK
// check; stops at the first step that is not accepted. A Set on a choice
// takes the exact choice text or its index; a typed value longer than the
// cell's editor accepts, or a cell without editor, is a usage error.
ParamScriptOutcome RunParamEditScript(CParamEditModel& model, const std::vector<ParamEditOp>& ops);

}  // namespace axcfg
