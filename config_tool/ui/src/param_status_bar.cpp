#include "param_status_bar.h"

#include <QLabel>

#include "ui_strings.h"

namespace axcfgui {

CParamStatusBar::CParamStatusBar(QWidget* parent) : QStatusBar(parent) {
  setObjectName(QStringLiteral("ParamStatusBar"));
  setSizeGripEnabled(false);
  for (size_t i = 0; i < m_panes.size(); ++i) {
    auto* label = new QLabel(this);
    label->setTextFormat(Qt::PlainText);
    label->setAutoFillBackground(true);
    QPalette pal = label->palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, palette().color(QPalette::ButtonText));
    label->setPalette(pal);
    label->setContentsMargins(4, 0, 4, 0);
    // The first pane is framed as sunken; each pane is as wide as its text.
    if (i == 0) label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    addWidget(label);
    m_panes[i] = label;
  }
  SetPanes({}, {}, {});
}

void CParamStatusBar::SetPanes(const std::string& destination, const std::string& positionUnit,
                               const std::string& speedUnit) {
  m_panes[0]->setText(QString::fromStdString(UiFormat(kIdsDestination, destination)));
  m_panes[1]->setText(QString::fromStdString(UiFormat(kIdsPositionUnit, positionUnit)));
  m_panes[2]->setText(QString::fromStdString(UiFormat(kIdsSpeedUnit, speedUnit)));
  for (QLabel* label : m_panes) label->adjustSize();
  repaint();
}

std::string CParamStatusBar::PaneText(int pane) const {
  if (pane < 0 || pane >= static_cast<int>(m_panes.size())) return {};
  return m_panes[static_cast<size_t>(pane)]->text().toStdString();
}

}  // namespace axcfgui
