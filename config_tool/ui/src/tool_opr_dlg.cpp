#include "tool_opr_dlg.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <memory>

#include "axcfg_data/axcfg_strings.h"
#include "axcfg_unit/monitor_strings.h"
#include "axcfg_unit/tool_opr_strings.h"
#include "axcfg_unit/unit_axis_config.h"
#include "axcfg_unit/unit_link.h"
#include "platform/message_box.h"
#include "monitor_command.h"
#include "servo_onoff_dlg.h"
#include "tool_opr_wnd.h"

namespace axcfgui {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

std::function<int(QDialog&)>& WindowRunner() {
  static std::function<int(QDialog&)> runner;
  return runner;
}

}  // namespace

void CToolOprDlg::SetWindowRunner(std::function<int(QDialog&)> runner) { WindowRunner() = std::move(runner); }

CToolOprDlg::CToolOprDlg(const axcfg::CAxisLayout& layout, axcfg::CUnitLink& link, axcfg::CAxisCfgDoc* doc,
                         uint32_t family, int toolTimeoutSeconds, QWidget* parent)
    : QDialog(parent),
      m_layout(layout),
      m_link(link),
      m_doc(doc),
      m_family(family),
      m_timeout(toolTimeoutSeconds),
      m_prompts(this),
      m_ctl(link, layout, family, m_prompts),
      m_status(new QLabel(this)),
      m_exit(new QPushButton(Q(axcfg::ToolOprText(axcfg::kTopBtnExit)), this)) {
  setWindowTitle(Q(axcfg::ToolOprText(axcfg::kTopStatus)));
  auto* box = new QVBoxLayout(this);
  m_status->setAlignment(Qt::AlignCenter);
  m_status->setStyleSheet(QStringLiteral("QLabel { color: red; background: yellow; }"));
  m_status->setMinimumHeight(24);
  box->addWidget(m_status);
  const unsigned texts[kWindowCount] = {axcfg::kTopBtnServoDlg, axcfg::kTopBtnHomingDlg, axcfg::kTopBtnPositioningDlg,
                                        axcfg::kTopBtnJogDlg, axcfg::kTopBtnTeachingDlg};
  for (int w = 0; w < kWindowCount; ++w) {
    m_buttons[w] = new QPushButton(Q(axcfg::ToolOprText(texts[w])), this);
    m_buttons[w]->setEnabled(false);
    box->addWidget(m_buttons[w]);
    connect(m_buttons[w], &QPushButton::clicked, this, [this, w] { Open(static_cast<Window>(w)); });
  }
  box->addWidget(m_exit);
  m_exit->setEnabled(false);
  connect(m_exit, &QPushButton::clicked, this, &CToolOprDlg::reject);
}

void CToolOprDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (m_entering || m_active) return;
  m_entering = true;
  QTimer::singleShot(1, this, [this] { Enter(); });
}

void CToolOprDlg::Enter() {
  m_entering = true;
  const int result = m_ctl.Enter(m_timeout);
  m_entering = false;
  if (result != axcfg::kToolOprActive) {
    done(result);
    return;
  }
  m_active = true;
  m_status->setText(Q(axcfg::ToolOprText(axcfg::kTopStatus)));
  for (QPushButton* b : m_buttons) b->setEnabled(true);
  m_buttons[kServo]->setEnabled(m_ctl.ServoAvailable());
  m_exit->setEnabled(true);
  m_buttons[kHoming]->setFocus();
}

void CToolOprDlg::Open(Window w) {
  std::unique_ptr<QDialog> window;
  switch (w) {
    case kServo: window = std::make_unique<CServoOnOffDlg>(m_layout, m_link, m_family, this); break;
    case kHoming: window = std::make_unique<CHomingWnd>(m_layout, m_link, m_family, this); break;
    case kPositioning: window = std::make_unique<CPositioningWnd>(m_layout, m_link, m_family, this); break;
    case kJog: window = std::make_unique<CJogWnd>(m_layout, m_link, m_family, nullptr, this); break;
    case kTeaching: window = std::make_unique<CJogWnd>(m_layout, m_link, m_family, m_doc, this); break;
    default: return;
  }
  int result = 0;
  if (WindowRunner()) {
    result = WindowRunner()(*window);
  } else if (auto* servo = dynamic_cast<CServoOnOffDlg*>(window.get())) {
    result = servo->Run();
  } else {
    result = static_cast<CToolOprWnd*>(window.get())->Run();
  }
  window.reset();
  if (result == axcfg::kToolOprReleased) done(axcfg::kToolOprReleased);
}

void CToolOprDlg::reject() {
  if (m_entering) return;
  if (!m_active) {
    QDialog::reject();
    return;
  }
  if (!m_ctl.Leave()) return;
  m_active = false;
  done(axcfg::kToolOprActive);
}

void RunToolOprCommand(axcfg::CUnitLink& link, axcfg::CAxisCfgDoc* doc, int toolTimeoutSeconds, QWidget* frame,
                       const std::function<void(CToolOprDlg&)>& show) {
  axcfg::CUnitAxisConfig config;
  {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool ok = link.Open(frame, true, true, false) == 0;
    if (ok && !ReadMonitoredUnit(link, config)) {
      link.Close();
      ok = false;
    }
    QApplication::restoreOverrideCursor();
    if (!ok) return;
  }
  CToolOprDlg dialog(config.layout, link, doc, config.family, toolTimeoutSeconds, frame);
  if (show)
    show(dialog);
  else
    dialog.exec();
  link.Close();
}

}  // namespace axcfgui
