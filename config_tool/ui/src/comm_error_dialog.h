#pragma once
// The "Communication error" dialog: the link's error text with Continue and
// End, a beep when it opens; and the link reports of the tool's windows,
// which show it over whatever window is in front at that moment.
#include <QDialog>
#include <string>

#include "axcfg_unit/link_ui.h"

class QLabel;
class QPushButton;

namespace axcfgui {

class CCommErrorDialog : public QDialog {
  Q_OBJECT
 public:
  // exec() gives kContinue or kEnd; Escape and the close box end.
  enum Answer { kContinue = 1, kEnd = 2 };
  CCommErrorDialog(const QString& text, QWidget* parent);
  QLabel* Text() const { return m_text; }
  QPushButton* ContinueButton() const { return m_continue; }
  QPushButton* EndButton() const { return m_end; }
  void accept() override { done(kContinue); }
  void reject() override { done(kEnd); }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QLabel* m_text;
  QPushButton* m_continue;
  QPushButton* m_end;
  bool m_beeped = false;
};

// The window a report belongs to now: the modal dialog in front, else the
// active window, else the first visible top-level window; null when none.
QWidget* CurrentTopLevelWindow();

// Link reports for the tool's windows. The "Communication error" dialog goes
// through the program's message-box function, so tests answer it like any
// box; its owner is the window in front when it is shown, never the window
// remembered by the link's last Open, which may have been closed since.
class CWidgetLinkUi : public axcfg::CMessageBoxLinkUi {
 public:
  explicit CWidgetLinkUi(std::string caption) : CMessageBoxLinkUi(std::move(caption)) {}
  int CommunicationError(const std::string& text, void* owner) override;
};

}  // namespace axcfgui
