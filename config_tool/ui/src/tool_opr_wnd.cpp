#include "tool_opr_wnd.h"

#include <QEvent>
#include <QFontMetrics>
#include <algorithm>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollBar>

#include "axcfg_data/axcfg_strings.h"
#include "axcfg_unit/monitor_strings.h"
#include "axcfg_unit/tool_opr_strings.h"
#include "axcfg_unit/unit_link.h"
#include "platform/message_box.h"
#include "tool_opr_grid.h"

namespace axcfgui {

using axcfg::ToolAction;
using axcfg::ToolButton;
using axcfg::ToolOprWindow;

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

int HelpContextOf(ToolOprWindow kind) {
  switch (kind) {
    case ToolOprWindow::kJog: return CJogWnd::kHelpContext;
    case ToolOprWindow::kTeaching: return CJogWnd::kTeachingHelpContext;
    case ToolOprWindow::kHoming: return CHomingWnd::kHelpContext;
    case ToolOprWindow::kPositioning: return CPositioningWnd::kHelpContext;
  }
  return 0;
}

// The grid's rows: a button row carries its button's text.
std::vector<axcfg::MonitorRow> GridRows(const std::vector<axcfg::ToolOprRow>& rows,
                                        const std::vector<axcfg::MonitorCell>& buttonTexts) {
  std::vector<axcfg::MonitorRow> out;
  for (size_t r = 0; r < rows.size(); ++r)
    out.push_back({rows[r].kind, rows[r].IsButton() ? buttonTexts[r].text : rows[r].label, rows[r].numeric});
  return out;
}

}  // namespace

CToolOprWnd::CToolOprWnd(ToolOprWindow kind, const axcfg::CAxisLayout& layout, axcfg::CUnitLink& link,
                         uint32_t family, axcfg::CAxisCfgDoc* doc, QWidget* parent)
    : CMonitorDialog(parent, link, HelpContextOf(kind), new CToolOprGrid),
      m_kind(kind),
      m_family(family),
      m_doc(doc),
      m_axes(axcfg::MonitorAxes(layout)),
      m_rows(axcfg::ToolOprRows(kind, family)),
      m_timers(axcfg::LoadToolTimerSettings(axcfg::ToolTimerSettingsPath())),
      m_prompts(this),
      m_ctl(link, layout, family, m_prompts),
      m_keep(link, m_timers.watchMs,
             [this](int result, uint8_t status) {
               // The worker's news is handled on the window thread.
               QMetaObject::invokeMethod(this, [this, result, status] { OnKeepAliveEnded(result, status); },
                                         Qt::QueuedConnection);
             }),
      m_toolGrid(static_cast<CToolOprGrid*>(Grid())),
      m_speedRate(new QPushButton(Q(axcfg::ToolOprText(axcfg::kTopBtnSpeedRate)), this)) {
  setWindowTitle(Q(axcfg::ToolOprWindowTitle(kind)));
  m_ctl.SetKeepAlive(&m_keep);
  CloseButton()->setText(Q(axcfg::ToolOprText(axcfg::kTopBtnExit)));
  // "&Speed rate" stands left of "&Exit".
  if (auto* box = qobject_cast<QBoxLayout*>(this->layout()->itemAt(this->layout()->count() - 1)->layout()))
    box->insertWidget(1, m_speedRate);
  connect(m_speedRate, &QPushButton::clicked, this, [this] { After(m_ctl.ChangeSpeedRate()); });

  m_toolGrid->SetRows(GridRows(m_rows, axcfg::ToolOprCells({}, kind, family, {0, {}})));
  for (int r = 0; r < static_cast<int>(m_rows.size()); ++r) {
    if (m_rows[r].hold) m_toolGrid->SetHoldRow(r);
    if (m_rows[r].IsButton() && !m_rows[r].label.empty()) m_toolGrid->SetCaption(r, Q(m_rows[r].label));
  }
  connect(m_toolGrid, &CMonitorGrid::buttonClicked, this, &CToolOprWnd::OnClick);
  connect(m_toolGrid, &CToolOprGrid::buttonPressed, this, &CToolOprWnd::OnPress);
  connect(m_toolGrid, &CToolOprGrid::buttonReleased, this, [this](int, int) { OnRelease(); });
  connect(m_toolGrid->ScrollBar(), &QAbstractSlider::valueChanged, this, [this] { Draw(); });
  SetPeriod(m_timers.monitorMs);
  auto snapshot = std::make_shared<axcfg::ToolOprSnapshot>();
  auto cycle = std::make_shared<axcfg::CToolOprCycle>();
  SetCycle([cycle, snapshot, this] { return cycle->Read(Link(), m_axes, m_kind, *snapshot); },
           [snapshot, this] {
             m_shown = *snapshot;
             Draw();
           });
  Draw();
  FitToGrid();
  // Four columns wide enough for the longest button text ("Change synchronous").
  const QFontMetrics fm(m_toolGrid->font());
  int widest = 0;
  for (const auto& row : m_toolGrid->Rows())
    if (row.kind == axcfg::RowKind::Button) widest = std::max(widest, fm.horizontalAdvance(Q(row.label)) + 24);
  const int missing = widest - fm.horizontalAdvance(QStringLiteral("An error occurred")) - 16;
  if (missing > 0) resize(width() + CMonitorGrid::kVisibleColumns * missing, height());
}

CToolOprWnd::~CToolOprWnd() { m_keep.Stop(); }

int CToolOprWnd::RowOf(ToolButton button) const {
  for (size_t r = 0; r < m_rows.size(); ++r)
    if (m_rows[r].button == button) return static_cast<int>(r);
  return -1;
}

bool CToolOprWnd::Start() { return m_ctl.CheckToolMode() == ToolAction::kDone; }

int CToolOprWnd::Run() {
  const ToolAction mode = m_ctl.CheckToolMode();
  if (mode == ToolAction::kReleased) return axcfg::kToolOprReleased;
  if (mode != ToolAction::kDone) return axcfg::kToolOprError;
  return exec();
}

void CToolOprWnd::Draw() {
  std::vector<std::vector<axcfg::MonitorCell>> columns;
  for (const auto& axis : m_axes)
    columns.push_back(axcfg::ToolOprCells(m_shown, m_kind, m_family, axis, m_ctl.TeachTable(axis.axis)));
  // The Start/Stop button of each visible column follows its axis.
  const int startRow = RowOf(ToolButton::kStartStop);
  for (int c = 0; startRow >= 0 && c < CMonitorGrid::kVisibleColumns; ++c) {
    const int index = m_toolGrid->FirstColumn() + c;
    if (QPushButton* b = m_toolGrid->Button(startRow, c); b && index < static_cast<int>(columns.size()))
      b->setText(Q(columns[index][startRow].text));
  }
  m_toolGrid->SetColumns(std::move(columns));
}

int CToolOprWnd::AxisOfColumn(int column) const {
  const int index = m_toolGrid->FirstColumn() + column;
  return index >= 0 && index < static_cast<int>(m_axes.size()) ? m_axes[index].axis : -1;
}

bool CToolOprWnd::Connected(int axis) {
  if (axis < 0) return false;
  if (m_shown.valid && m_shown.IsConnected(axis)) return true;
  return m_ctl.CheckConnected(axis) == ToolAction::kDone;
}

void CToolOprWnd::OnPress(int row, int column) {
  const int axis = AxisOfColumn(column);
  if (!Connected(axis)) {
    m_toolGrid->LoseHold();
    return;
  }
  const ToolAction action = m_ctl.JogPress(axis, m_rows[row].button == ToolButton::kJogPlus);
  if (action != ToolAction::kDone) m_toolGrid->LoseHold();
  After(action);
}

void CToolOprWnd::OnRelease() {
  // The controller stops the axis and direction of the press, wherever the
  // pointer or the scroll position is now.
  const ToolAction action = m_ctl.JogRelease();
  if (action == ToolAction::kCommError || action == ToolAction::kStopped) End(axcfg::kToolOprError);
  else After(action);
}

void CToolOprWnd::OnClick(int row, int column) {
  const ToolButton button = m_rows[row].button;
  if (m_rows[row].hold) return;  // press and release did the work
  const int axis = AxisOfColumn(column);
  if (button != ToolButton::kChangeSync && !Connected(axis)) return;
  switch (button) {
    case ToolButton::kCurrentValue:
      After(m_ctl.ChangeCurrentValue(axis, m_kind == ToolOprWindow::kHoming));
      break;
    case ToolButton::kJogSpeed: After(m_ctl.ChangeJogSpeed(axis)); break;
    case ToolButton::kTeach:
      if (m_doc) After(m_ctl.Teach(axis, *m_doc));
      break;
    case ToolButton::kErrorClear: After(m_ctl.ClearErrorWarning(axis, true)); break;
    case ToolButton::kWarningClear: After(m_ctl.ClearErrorWarning(axis, false)); break;
    case ToolButton::kChangeSync:
      if (axis >= 0) After(m_ctl.ChangeSynchronous(axis));
      break;
    case ToolButton::kStartingTable: After(m_ctl.ChangeStartingTable(axis)); break;
    case ToolButton::kStartStop:
      if (m_kind == ToolOprWindow::kHoming) After(m_ctl.HomeReturn(axis, !(m_shown.valid && m_shown.IsBusy(axis))));
      else After(m_ctl.Positioning(axis));
      break;
    default: break;
  }
  Draw();
}

void CToolOprWnd::After(ToolAction action) {
  if (action == ToolAction::kReleased) End(axcfg::kToolOprReleased);
}

void CToolOprWnd::OnKeepAliveEnded(int result, uint8_t status) {
  if (m_ending) return;
  if (result != 0) {
    m_ending = true;
    axcfg::AxisCfgMessageBox(axcfg::MonitorText(axcfg::kMonStopMonitoring) + Link().GetErrorString(result),
                             platform::MB_OK | platform::MB_ICONEXCLAMATION);
    Finish(axcfg::kToolOprError);
  } else if (status & axcfg::kKeepAliveModeLeft) {
    m_ending = true;
    axcfg::AxisCfgMessageBox(axcfg::ToolOprText(axcfg::kTopReleased), platform::MB_OK | platform::MB_ICONEXCLAMATION);
    Finish(axcfg::kToolOprReleased);
  }
}

void CToolOprWnd::CycleFailed(int rc) {
  if (m_ending) return;
  // Marked before the message: a failing keep-alive, seen while the message
  // is up, must not show a second one.
  m_ending = true;
  CMonitorDialog::CycleFailed(rc);
  Finish(axcfg::kToolOprError);
}

void CToolOprWnd::changeEvent(QEvent* event) {
  // Another window taking the activation takes the mouse from a held button.
  if (event->type() == QEvent::ActivationChange && !isActiveWindow()) m_toolGrid->LoseHold();
  CMonitorDialog::changeEvent(event);
}

void CToolOprWnd::End(int result) {
  if (m_ending) return;
  m_ending = true;
  Finish(result);
}

void CToolOprWnd::Finish(int result) {
  // The held JOG is stopped; after an error also what this window started.
  m_ctl.AbandonMotion(result == axcfg::kToolOprError);
  m_keep.Stop();
  done(result);
}

void CToolOprWnd::reject() {
  if (m_ending) return;
  m_toolGrid->LoseHold();
  if (!m_ctl.CanExit(!IsMonitoring())) return;
  m_ending = true;
  m_keep.Stop();
  done(axcfg::kToolOprActive);
}

}  // namespace axcfgui
