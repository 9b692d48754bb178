#include "main_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>

#include "axcfg_data/position_units.h"
#include "axcfg_data/axis_layout.h"
#include "axiscfg_view.h"
#include "command_ids.h"
#include "command_table.h"
#include "doc_link.h"
#include "guidance_bar.h"
#include "param_status_bar.h"
#include "ui_strings.h"

namespace axcfgui {

namespace {

PlacementRect DesktopRect() {
  QScreen* screen = QGuiApplication::primaryScreen();
  const QRect r = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

}  // namespace

CMainFrame::CMainFrame() {
  setObjectName(QStringLiteral("CMainFrame"));
  setWindowTitle(QStringLiteral("Axis Configurator"));
  setAcceptDrops(true);
  m_commands = new CCommandTable(this);

  // Status bar with the command prompts; the lock-key indicators of the
  // original have no portable source here.
  statusBar()->setObjectName(QStringLiteral("StatusBar"));

  m_toolBar = addToolBar(QStringLiteral("Toolbar"));
  m_toolBar->setObjectName(QStringLiteral("ToolBar"));
  m_commands->FillToolBar(m_toolBar);

  m_paramStatus = new CParamStatusBar;
  m_paramStatusHolder = new QToolBar(QStringLiteral("Parameter-Status Bar"), this);
  m_paramStatusHolder->setObjectName(QStringLiteral("ParamStatusHolder"));
  m_paramStatusHolder->setMovable(false);
  m_paramStatusHolder->setFloatable(false);
  m_paramStatusHolder->addWidget(m_paramStatus);
  addToolBar(Qt::BottomToolBarArea, m_paramStatusHolder);

  m_guidance = new CGuidanceBar(this);
  addDockWidget(Qt::BottomDockWidgetArea, m_guidance);

  m_view = new CAxisCfgView(this);
  setCentralWidget(m_view);
  connect(m_view, &CAxisCfgView::sheetChanged, this, &CMainFrame::UpdateStatusPanes);
  connect(m_view, &CAxisCfgView::guidanceChanged, this, &CMainFrame::SetGuidance);
  connect(m_view, &CAxisCfgView::printing, this, [this](bool active) {
    // The parameter status bar is hidden while the table prints.
    static bool wasVisible = false;
    if (active) {
      wasVisible = m_paramStatusHolder->isVisible();
      if (wasVisible) ToggleBar(ID_VIEW_PARAM_STATUS);
    } else if (wasVisible && !m_paramStatusHolder->isVisible()) {
      ToggleBar(ID_VIEW_PARAM_STATUS);
    }
  });
  for (int id : {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_VIEW_PARAM_STATUS, ID_VIEW_GUIDANCE})
    connect(m_commands->Action(id), &QAction::triggered, this, [this, id] { ToggleBar(id); });
  connect(m_guidance, &QDockWidget::visibilityChanged, this, &CMainFrame::UpdateViewChecks);
  UpdateViewChecks();
}

CMainFrame::~CMainFrame() {
  // The children outlive this class's part while QWidget destroys them.
  m_guidance->disconnect(this);
  m_view->disconnect(this);
  // The docking bar owns a helper that is also a child of this window;
  // deleting the bar first lets it free that helper exactly once.
  delete m_guidance;
  m_guidance = nullptr;
}

QWidget* CMainFrame::BarOf(int id) const {
  switch (id) {
    case ID_VIEW_TOOLBAR: return m_toolBar;
    case ID_VIEW_STATUS_BAR: return statusBar();
    case ID_VIEW_PARAM_STATUS: return m_paramStatusHolder;
    case ID_VIEW_GUIDANCE: return m_guidance;
    default: return nullptr;
  }
}

void CMainFrame::ToggleBar(int id) {
  QWidget* bar = BarOf(id);
  if (!bar) return;
  // Hidden while the window is not shown counts as hidden by the user only
  // when the bar itself is hidden.
  bar->setVisible(bar->isHidden());
  UpdateViewChecks();
}

void CMainFrame::UpdateViewChecks() {
  for (int id : {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_VIEW_PARAM_STATUS, ID_VIEW_GUIDANCE})
    if (QAction* a = m_commands->Action(id)) a->setChecked(!BarOf(id)->isHidden());
}

void CMainFrame::RestorePlacement() {
  m_placementLoaded = LoadWindowPlacement(m_placement, DesktopRect());
  PlacementRect r = m_placement.normal;
  // Without the registry key nothing is loaded; the window still gets the
  // default size rather than an empty rectangle.
  if (!m_placementLoaded || r.Width() <= 0 || r.Height() <= 0) r = DefaultNormalRect(DesktopRect());
  setGeometry(r.left, r.top, r.Width(), r.Height());
  std::string state;
  if (LoadBarState(state)) restoreState(QByteArray::fromBase64(QByteArray::fromStdString(state)));
  UpdateViewChecks();
}

void CMainFrame::ShowWithPlacement() {
  if (m_placementLoaded && m_placement.showCmd == 3)
    showMaximized();
  else
    show();
  UpdateViewChecks();
}

void CMainFrame::SavePlacementAndBars() {
  if (m_saved) return;
  m_saved = true;
  WindowPlacementRecord rec = m_placement;
  const QRect g = normalGeometry().isValid() ? normalGeometry() : geometry();
  rec.normal = {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
  rec.showCmd = isMaximized() ? 3 : (isMinimized() ? 2 : 1);
  SaveWindowPlacement(rec);
  SaveBarState(saveState().toBase64().toStdString());
}

void CMainFrame::UpdateStatusPanes() {
  axcfg::CAxisCfgDoc* doc = m_view->GetDocument();
  if (!doc) return;
  std::string destination;
  if (CDocUnitLink* link = CDocUnitLink::Of(*doc)) destination = link->DestinationText();
  std::string position, speed;
  const uint32_t entry = m_view->CurrentEntry();
  const axcfg::AxisList axes = axcfg::EntryAxes(entry);
  if (axes.count > 0) {
    const uint16_t code = doc->GetParamBlock().GetUnitCode(axes.axes[0]);
    position = axcfg::UnitName(code);
    speed = axcfg::UnitSpeedText(code);
  }
  m_paramStatus->SetPanes(destination, position, speed);
}

void CMainFrame::SetGuidance(unsigned textId, unsigned noteId) {
  if (m_guidance) m_guidance->SetGuidance(textId, noteId);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (canClose && !canClose()) {
    event->ignore();
    return;
  }
  SavePlacementAndBars();
  event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
  QStringList paths;
  for (const QUrl& url : event->mimeData()->urls())
    if (url.isLocalFile()) paths << url.toLocalFile();
  if (!paths.isEmpty()) {
    event->acceptProposedAction();
    emit filesDropped(paths);
  }
}

}  // namespace axcfgui
