#pragma once
// The docking guidance bar: a read-only text that explains the current
// table column, in the grid library's docking bar.
#include "axview/control_bar_ex.h"
#include <string>

class QLabel;

namespace axcfgui {

class CGuidanceBar : public CControlBarEx {
  Q_OBJECT

 public:
  static constexpr int kBarId = 32787;
  explicit CGuidanceBar(QMainWindow* parent);

  // Shows the text of textId, with the note of noteId (0: none).
  void SetGuidance(unsigned textId, unsigned noteId);
  std::string GuidanceText() const;

 private:
  QLabel* m_text;
};

}  // namespace axcfgui
