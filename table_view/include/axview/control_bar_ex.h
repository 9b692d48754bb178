#pragma once
// CControlBarEx: a bar that a main window docks at one of its four sides or
// lets float, and that the user resizes by dragging the edge facing the main
// window's centre (never below 32 pixels). Docked, it shows a gripper and two
// small buttons: one hides the bar, the other floats it; a double click on
// the gripper toggles between docked and floating. Put the bar's contents in
// with SetClientWidget; owners override CreateContextMenu for a menu.
#include <QDockWidget>
#include <QPointer>
#include <memory>

#include "axview/win_types.h"

class QMainWindow;
class QMenu;
class CBarFrame;
class CBarTitle;
class CBarTracker;

// The sides a bar docks at, by the ids of the frame's dock bars.
enum : UINT {
  AFX_IDW_DOCKBAR_TOP = 59419,
  AFX_IDW_DOCKBAR_LEFT = 59420,
  AFX_IDW_DOCKBAR_RIGHT = 59421,
  AFX_IDW_DOCKBAR_BOTTOM = 59422,
};

// Modes of CalcDynamicLayout.
enum : DWORD {
  LM_STRETCH = 0x01,
  LM_HORZ = 0x02,
  LM_MRUWIDTH = 0x04,
  LM_HORZDOCK = 0x08,
  LM_VERTDOCK = 0x10,
  LM_LENGTHY = 0x20,
  LM_COMMIT = 0x40,
};

// Child ids of the two buttons, kept as their object names' numbers.
enum : int { IDC_BAR_HIDE = 1000, IDC_BAR_FLOAT = 1001 };

class AXVIEW_API CControlBarEx : public QDockWidget {
  Q_OBJECT

 public:
  static constexpr int kMinSize = 32;  // pixels, docked height or width
  static constexpr int kEdgeWidth = 5;

  CControlBarEx();
  ~CControlBarEx() override;

  // Makes the bar a child of parent (docked at the top until placed with
  // parent->addDockWidget), titled title, with size as its docked and
  // floating size. style: the visible bit (0x10000000) shows it.
  virtual BOOL Create(QMainWindow* parent, UINT id, const char* title, CSize size, DWORD style = 0x10000000);
  // The widget the bar shows inside its frame; the bar owns it.
  void SetClientWidget(QWidget* client);
  QWidget* ClientWidget() const;

  // Whether the gripper and the buttons show (both at construction).
  void ShowFrameStuff(int gripper, int buttons);
  bool ShowsGripper() const { return m_showGripper != 0; }
  bool ShowsButtons() const { return m_showButtons != 0; }
  // The context menu: 0 (the default) means none; any other id is handed to
  // CreateContextMenu when the user asks for the menu.
  void SetMenuID(UINT id) { m_menuId = id; }
  UINT GetMenuID() const { return m_menuId; }

  BOOL IsHorzDocked() const;
  BOOL IsVertDocked() const;
  virtual BOOL IsFloating() const;
  // AFX_IDW_DOCKBAR_* of the side that holds the bar; 0 while floating.
  UINT GetDockingSide() const { return m_dockSide; }

  // Sizes: docked at top or bottom (the height counts), at left or right
  // (the width counts), floating.
  virtual CSize CalcFixedLayout(BOOL stretch, BOOL horizontal);
  virtual CSize CalcDynamicLayout(int length, DWORD mode);
  CSize HorzSize() const { return m_sizeHorz; }
  CSize VertSize() const { return m_sizeVert; }
  CSize FloatSize() const { return m_sizeFloat; }
  // The size the bar takes whenever it is floated (the size given to Create
  // until set).
  void SetFloatSize(CSize size) { m_sizeFloat = size; }

  // Resizing by the edge, in global coordinates. Losing the mouse to another
  // window cancels (StopTracking(FALSE)) and keeps the size.
  void StartTracking(QPoint globalPos);
  void TrackTo(QPoint globalPos);
  void StopTracking(BOOL accept);
  void OnCaptureChanged();
  bool IsTracking() const { return m_tracking != 0; }
  // The resize edge in the bar's coordinates; empty while floating.
  QRect EdgeRect() const;

  QSize sizeHint() const override;

 protected:
  // Called whenever the bar was docked elsewhere, floated or moved: re-reads
  // the docking side and lays out the frame, gripper and buttons. Overrides
  // must call the base.
  virtual void OnWindowPosChanged();
  // The menu for id, shown at the mouse with the main window as owner; null
  // for none. The base has no menus.
  virtual std::unique_ptr<QMenu> CreateContextMenu(UINT id);
  void contextMenuEvent(QContextMenuEvent* event) override;
  bool event(QEvent* event) override;

 private:
  friend class CBarFrame;
  void ApplyDockedSize();
  void ApplyFloatingSize();
  void OnButtonClose();
  void OnButtonMinimize();
  QMainWindow* Frame() const;

  int m_repositioning = 0;
  int m_tracking = 0;
  int m_showGripper = 1;
  int m_showButtons = 1;
  UINT m_menuId = 0;
  UINT m_dockSide = AFX_IDW_DOCKBAR_TOP;
  CSize m_sizeHorz{200, 200};
  CSize m_sizeVert{200, 200};
  CSize m_sizeFloat{200, 200};
  QPoint m_trackStart;  // the centre of the edge when tracking began
  QPoint m_trackNow;
  CBarFrame* m_frame = nullptr;
  CBarTitle* m_title = nullptr;
  // A child of the main window, which may be destroyed before the bar.
  QPointer<QWidget> m_tracker;
};
