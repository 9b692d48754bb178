#pragma once
// CMainFrame: the tool's main window with its menu bar, toolbar, status
// bar, parameter status bar and docking guidance bar. It keeps its
// placement and bar layout in the registry and opens dropped files.
#include <QMainWindow>
#include <QStringList>
#include <functional>

#include "window_placement.h"

class QToolBar;

namespace axcfgui {

class CAxisCfgView;
class CCommandTable;
class CGuidanceBar;
class CParamStatusBar;

class CMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  CMainFrame();
  ~CMainFrame() override;

  CCommandTable& Commands() { return *m_commands; }
  CAxisCfgView* View() const { return m_view; }
  CGuidanceBar* GuidanceBar() const { return m_guidance; }
  CParamStatusBar* ParamStatusBar() const { return m_paramStatus; }
  QToolBar* ToolBar() const { return m_toolBar; }

  // Placement before the window is first shown, and bar state after.
  void RestorePlacement();
  void ShowWithPlacement();
  void SavePlacementAndBars();
  const WindowPlacementRecord& Placement() const { return m_placement; }

  // The parameter status bar from the document's destination and the units
  // of the current sheet's first axis.
  void UpdateStatusPanes();
  void SetGuidance(unsigned textId, unsigned noteId);

  // The view commands: toggle a bar and keep the menu check in step.
  void ToggleBar(int id);
  void UpdateViewChecks();

  // Asked before the window closes; false keeps it open.
  std::function<bool()> canClose;

 signals:
  void filesDropped(const QStringList& paths);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  QWidget* BarOf(int id) const;

  CCommandTable* m_commands;
  CAxisCfgView* m_view;
  QToolBar* m_toolBar;
  QToolBar* m_paramStatusHolder;
  CParamStatusBar* m_paramStatus;
  CGuidanceBar* m_guidance;
  WindowPlacementRecord m_placement;
  bool m_placementLoaded = false;
  bool m_saved = false;
};

}  // namespace axcfgui
