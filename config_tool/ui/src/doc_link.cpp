#include "doc_link.h"

#include "axcfg_data/axcfg_strings.h"

namespace axcfgui {

CDocUnitLink::CDocUnitLink(axcfg::ILinkLibrary& library, axcfg::ILinkDialogs* dialogs, int language)
    : m_ui(axcfg::kMessageCaption), m_link("AxisCfg", library, m_ui, dialogs) {
  m_link.SetApplicationLanguage(language);
}

std::string CDocUnitLink::DestinationText() {
  if (!m_link.IsLibraryInitialised()) m_link.Open(nullptr, false, false, true);
  return m_link.GetDestinationText();
}

CDocUnitLink* CDocUnitLink::Of(const axcfg::CAxisCfgDoc& doc) {
  return dynamic_cast<CDocUnitLink*>(doc.GetLinkObject());
}

}  // namespace axcfgui
