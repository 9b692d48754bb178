#pragma once
// The data check as the user runs it: the cell being edited is finished
// first, then the document is checked and the user is taken to the first
// problem.
#include <functional>

namespace axcfgui {

class CAxisCfgView;

// Checks the view's document. A failure is shown (group message, parameter,
// or the table cell behind its message) and gives false; with showSuccess
// a passed check says so. Without a view or document it fails silently.
bool RunDataCheck(CAxisCfgView* view, bool showSuccess);

// Shows a parameter out of range on an axis: through the handler when one
// is set (the application opens the parameter editor, which selects the
// value), else the out-of-range message with the parameter's name and the
// axis label.
void ShowParameterCheckFailure(CAxisCfgView& view, int param, int axis);
// Sets or (with an empty function) removes that handler.
void SetParameterFailureHandler(std::function<void()> handler);

}  // namespace axcfgui
