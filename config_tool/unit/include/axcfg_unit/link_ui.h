#pragma once
// How the unit link reports to the user: the "Communication error" dialog and
// the application's message box. The widget layer shows real ones; the
// command line prints; tests record.
#include <string>

namespace axcfg {

class ILinkUi {
 public:
  virtual ~ILinkUi() = default;
  // The modal "Communication error" dialog: 1 Continue, 2 End.
  virtual int CommunicationError(const std::string& text, void* owner) = 0;
  // The application's message box; the button chosen.
  virtual int MessageBox(const std::string& text, unsigned type) = 0;
};

// Through the platform's message box (which the widget layer or a test
// replaces): both reports become message boxes with the application's caption.
class CMessageBoxLinkUi : public ILinkUi {
 public:
  explicit CMessageBoxLinkUi(std::string caption) : caption_(std::move(caption)) {}
  int CommunicationError(const std::string& text, void* owner) override;
  int MessageBox(const std::string& text, unsigned type) override;

 private:
  std::string caption_;
};

}  // namespace axcfg
