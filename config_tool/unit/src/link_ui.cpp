#include "axcfg_unit/link_ui.h"

#include "platform/message_box.h"

namespace axcfg {

int CMessageBoxLinkUi::CommunicationError(const std::string& text, void* owner) {
  // Continue = OK, End = Cancel.
  int answer = platform::ShowMessageBox(text, platform::MB_OKCANCEL | platform::MB_ICONEXCLAMATION, caption_, owner);
  return answer == platform::IDOK ? 1 : 2;
}

int CMessageBoxLinkUi::MessageBox(const std::string& text, unsigned type) {
  return platform::ShowMessageBox(text, type, caption_);
}

}  // namespace axcfg
