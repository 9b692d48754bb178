#pragma once
// "Tool operation": enters tool operation mode once it is shown, then opens
// the operation windows from its buttons; "&Exit", Escape and the close box
// leave tool operation mode. A window ending with 5 (the unit released
// tool operation mode) ends this dialog with 5 too.
#include <QDialog>
#include <functional>

#include "axcfg_data/axis_layout.h"
#include "tool_opr_prompts.h"

class QLabel;
class QPushButton;

namespace axcfg {
class CAxisCfgDoc;
class CUnitLink;
}

namespace axcfgui {

class CToolOprDlg : public QDialog {
  Q_OBJECT

 public:
  enum Window { kServo, kHoming, kPositioning, kJog, kTeaching, kWindowCount };

  CToolOprDlg(const axcfg::CAxisLayout& layout, axcfg::CUnitLink& link, axcfg::CAxisCfgDoc* doc, uint32_t family,
              int toolTimeoutSeconds, QWidget* parent);

  QPushButton* Button(Window w) const { return m_buttons[w]; }
  QPushButton* ExitButton() const { return m_exit; }
  QLabel* Status() const { return m_status; }
  // Entering, as the first show does (tests call it directly).
  void Enter();
  // Opens a window and takes its result; tests replace how it runs.
  void Open(Window w);
  static void SetWindowRunner(std::function<int(QDialog&)> runner);

  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  axcfg::CAxisLayout m_layout;
  axcfg::CUnitLink& m_link;
  axcfg::CAxisCfgDoc* m_doc;
  uint32_t m_family;
  int m_timeout;
  CUiToolOprPrompts m_prompts;
  axcfg::CToolOprController m_ctl;
  QLabel* m_status;
  QPushButton* m_buttons[kWindowCount];
  QPushButton* m_exit;
  bool m_entering = false;
  bool m_active = false;
};

// Online > Tool operation...: opens the document's link, reads the unit's
// own axes, runs the dialog on them and closes the link. The document keeps
// its own axis layout.
void RunToolOprCommand(axcfg::CUnitLink& link, axcfg::CAxisCfgDoc* doc, int toolTimeoutSeconds, QWidget* frame,
                       const std::function<void(CToolOprDlg&)>& show = nullptr);

}  // namespace axcfgui
