#include "commscope/scope_texts.h"

#include <iterator>

#include "commscope/comm_property.h"
#include "commscope/log_settings.h"
#include "commscope/record_text.h"
#include "platform/message_box.h"
#include "platform/strings.h"

namespace commscope {

namespace {

constexpr platform::StringEntry kTexts[] = {
    {kIdMakeFileFailed, "KELD_TavScope failed to make the file."},
    {kIdSaveFileFailed, "KELD_TavScope failed to save the file."},
    {kIdNoTerminal, "The terminal program TAVTERM.EXE cannot be found in KELD_TavScope's folder."},
    {kIdLogSettingsFailed, "KELD_TavScope failed to write the communication log settings."},
    {kIdNoEthernetLink, "The Ethernet link settings of this client cannot be shown."},
    {kIdNoSuchFolder, "The log folder does not exist."},
};

void Register() {
  static const bool done = [] {
    platform::Strings::RegisterBuiltin("KELD_TAVSCOPE", kTexts, std::size(kTexts));
    return true;
  }();
  (void)done;
}

}  // namespace

std::string ScopeText(unsigned id) {
  Register();
  return platform::Strings::Get("KELD_TAVSCOPE", id);
}

int ScopeMessage(unsigned id, unsigned type, void* owner) {
  return platform::ShowMessageBox(ScopeText(id), type, kCaption, owner);
}

}  // namespace commscope
