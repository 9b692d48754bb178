#pragma once
// The document's unit link: the link object a CAxisCfgDoc carries, holding
// the CUnitLink with the tool's message-box reports.
#include <memory>
#include <string>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_unit/link_dialogs.h"
#include "axcfg_unit/link_library.h"
#include "axcfg_unit/link_ui.h"
#include "axcfg_unit/unit_link.h"
#include "comm_error_dialog.h"

namespace axcfgui {

class CDocUnitLink : public axcfg::CDocLinkObject {
 public:
  CDocUnitLink(axcfg::ILinkLibrary& library, axcfg::ILinkDialogs* dialogs, int language);
  axcfg::CUnitLink& Link() { return m_link; }
  // The destination and slot as the parameter status bar shows them; the
  // library is set up (not connected) first.
  std::string DestinationText();

  // The link of a document, or null when it carries none of ours.
  static CDocUnitLink* Of(const axcfg::CAxisCfgDoc& doc);

 private:
  CWidgetLinkUi m_ui;
  axcfg::CUnitLink m_link;
};

}  // namespace axcfgui
