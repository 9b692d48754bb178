#pragma once
// The operation windows of tool operation: JOG, Homing, Positioning and
// Teaching. Each shows its rows for four axis columns, refreshed by the
// monitor cycle on a worker; its buttons go to a CToolOprController, and a
// keep-alive worker runs while something it started may move. A failed
// cycle or keep-alive ends the window with 3 after one message (what it
// started is stopped first); the unit leaving tool operation mode ends it
// with 5. "&Exit", Escape and the close box refuse while an axis runs.
#include <memory>
#include <vector>

#include "axcfg_unit/keep_alive.h"
#include "axcfg_unit/tool_opr_cells.h"
#include "axcfg_unit/tool_timer_settings.h"
#include "monitor_dialog.h"
#include "tool_opr_prompts.h"

class QPushButton;

namespace axcfg {
class CAxisCfgDoc;
}

namespace axcfgui {

class CToolOprGrid;

class CToolOprWnd : public CMonitorDialog {
  Q_OBJECT

 public:
  ~CToolOprWnd() override;

  // Checks that tool operation mode is still on, then runs the window
  // modally; the window's result (1 exit, 3 error, 5 released).
  int Run();
  // The check of Run without the modal loop (tests show the window).
  bool Start();

  CToolOprGrid* ToolGrid() const { return m_toolGrid; }
  QPushButton* SpeedRateButton() const { return m_speedRate; }
  const std::vector<axcfg::ToolOprRow>& Rows() const { return m_rows; }
  const axcfg::ToolOprSnapshot& Shown() const { return m_shown; }
  axcfg::CToolOprController& Controller() { return m_ctl; }
  bool KeepAliveRunning() const { return m_keep.IsRunning(); }
  // The first row of a button kind, -1 when the window has none.
  int RowOf(axcfg::ToolButton button) const;

  void reject() override;

 protected:
  CToolOprWnd(axcfg::ToolOprWindow kind, const axcfg::CAxisLayout& layout, axcfg::CUnitLink& link, uint32_t family,
              axcfg::CAxisCfgDoc* doc, QWidget* parent);
  void CycleFailed(int rc) override;
  void changeEvent(QEvent* event) override;

 private:
  void Draw();
  int AxisOfColumn(int column) const;
  bool Connected(int axis);
  void OnClick(int row, int column);
  void OnPress(int row, int column);
  void OnRelease();
  void After(axcfg::ToolAction action);
  void OnKeepAliveEnded(int result, uint8_t status);
  void End(int result);
  // The end of End, once the window is marked as ending.
  void Finish(int result);

  axcfg::ToolOprWindow m_kind;
  uint32_t m_family;
  axcfg::CAxisCfgDoc* m_doc;
  std::vector<axcfg::MonitorAxis> m_axes;
  std::vector<axcfg::ToolOprRow> m_rows;
  axcfg::ToolTimerSettings m_timers;
  CUiToolOprPrompts m_prompts;
  axcfg::CToolOprController m_ctl;
  axcfg::CKeepAlive m_keep;
  axcfg::ToolOprSnapshot m_shown;
  CToolOprGrid* m_toolGrid;
  QPushButton* m_speedRate;
  bool m_ending = false;
};

class CJogWnd : public CToolOprWnd {
 public:
  static constexpr int kHelpContext = 9600;
  static constexpr int kTeachingHelpContext = 9700;
  // `doc` given: the Teaching window.
  CJogWnd(const axcfg::CAxisLayout& layout, axcfg::CUnitLink& link, uint32_t family, axcfg::CAxisCfgDoc* doc,
          QWidget* parent)
      : CToolOprWnd(doc ? axcfg::ToolOprWindow::kTeaching : axcfg::ToolOprWindow::kJog, layout, link, family, doc,
                    parent) {}
};

class CHomingWnd : public CToolOprWnd {
 public:
  static constexpr int kHelpContext = 9400;
  CHomingWnd(const axcfg::CAxisLayout& layout, axcfg::CUnitLink& link, uint32_t family, QWidget* parent)
      : CToolOprWnd(axcfg::ToolOprWindow::kHoming, layout, link, family, nullptr, parent) {}
};

class CPositioningWnd : public CToolOprWnd {
 public:
  static constexpr int kHelpContext = 9500;
  CPositioningWnd(const axcfg::CAxisLayout& layout, axcfg::CUnitLink& link, uint32_t family, QWidget* parent)
      : CToolOprWnd(axcfg::ToolOprWindow::kPositioning, layout, link, family, nullptr, parent) {}
};

}  // namespace axcfgui
