#pragma once
// The parameter status bar: communication destination, unit of position and
// unit of speed of the current sheet's axis, in three panes.
#include <QStatusBar>
#include <array>
#include <string>

class QLabel;

namespace axcfgui {

class CParamStatusBar : public QStatusBar {
  Q_OBJECT

 public:
  static constexpr int kBarId = 32796;
  explicit CParamStatusBar(QWidget* parent = nullptr);

  // Formats the three panes from their texts and repaints at once.
  void SetPanes(const std::string& destination, const std::string& positionUnit, const std::string& speedUnit);
  std::string PaneText(int pane) const;

 private:
  std::array<QLabel*, 3> m_panes{};
};

}  // namespace axcfgui
