#include "data_check_command.h"

#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/data_check.h"
#include "axiscfg_view.h"
#include "platform/message_box.h"

namespace axcfgui {

namespace {

constexpr unsigned kIdParamOutOfRange = 21183;

std::function<void()>& FailureHandler() {
  static std::function<void()> handler;
  return handler;
}

int Message(const std::string& text, unsigned icon) { return axcfg::AxisCfgMessageBox(text, platform::MB_OK | icon); }

// Puts cursor and selection on one cell of a sheet and scrolls it into view.
void GoToCell(CAxisCfgView& view, int sheet, int line, int column) {
  view.SetSelSheet(sheet);
  CRect selection;
  selection.left = selection.right = column;
  selection.top = selection.bottom = line;
  view.SetSel(selection, CPoint(column, line));
  view.EnsureVisible(line, column);
  view.viewport()->update();
}

}  // namespace

void SetParameterFailureHandler(std::function<void()> handler) { FailureHandler() = std::move(handler); }

void ShowParameterCheckFailure(CAxisCfgView& view, int param, int axis) {
  if (FailureHandler()) {
    FailureHandler()();
    return;
  }
  const axcfg::CAxisCfgDoc& doc = *view.GetDocument();
  const std::string text = axcfg::AxisCfgText(kIdParamOutOfRange) + "\r\n" +
                           doc.GetParamBlock().GetParamName(param) + " - " + doc.GetAxisLabel(axis);
  Message(text, platform::MB_ICONSTOP);
}

bool RunDataCheck(CAxisCfgView* view, bool showSuccess) {
  if (!view || !view->GetDocument()) return false;
  // The check judges what the grid shows, a value still being typed included.
  if (!view->CommitPendingEdit()) return false;
  const axcfg::DataCheckResult r = axcfg::CheckData(*view->GetDocument());
  switch (r.stage) {
    case axcfg::CheckStage::Passed:
      if (showSuccess) Message(r.message, platform::MB_ICONINFORMATION);
      return true;
    case axcfg::CheckStage::SyncGroups:
      // The group dialog's own message; its home return correction is no
      // part of the check, which changes nothing.
      Message(r.message, platform::MB_ICONEXCLAMATION);
      return false;
    case axcfg::CheckStage::Parameters:
      ShowParameterCheckFailure(*view, r.param, r.axis);
      return false;
    case axcfg::CheckStage::Tables:
      if (r.cellColumn >= 0) {
        // The grid shows the cell before the message covers it.
        GoToCell(*view, axcfg::LocationSheet(r.location), axcfg::LocationTable(r.location), r.cellColumn);
      }
      Message(r.message, platform::MB_ICONSTOP);
      return false;
  }
  return false;
}

}  // namespace axcfgui
