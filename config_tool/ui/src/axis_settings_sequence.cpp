#include "axis_settings_sequence.h"

#include <QDialog>

#include "axcfg_data/axcfg_strings.h"
#include "group_settings_dlg.h"
#include "platform/message_box.h"
#include "used_axis_dlg.h"

namespace axcfgui {

CAxisSettingsSequence::CAxisSettingsSequence(QWidget* parent, DialogRunner run)
    : m_parent(parent), m_run(std::move(run)) {
  if (!m_run) m_run = [](QDialog& dialog) { return dialog.exec(); };
}

int CAxisSettingsSequence::Run(axcfg::CAxisCfgDoc& doc, bool, axcfg::CAxisLayout& layout) {
  return axcfg::RunAxisSettingsSequence(doc, layout, *this);
}

bool CAxisSettingsSequence::RunUsedAxis(axcfg::CUsedAxisChoice& choice) {
  CUsedAxisDlg dialog(m_parent, choice);
  return m_run(dialog) == QDialog::Accepted;
}

bool CAxisSettingsSequence::RunGroups(axcfg::CGroupArrangement& arrangement) {
  CGroupSettingsDlg dialog(m_parent, arrangement);
  return m_run(dialog) == QDialog::Accepted;
}

void CAxisSettingsSequence::ShowInformation(const std::string& text) {
  axcfg::AxisCfgMessageBox(text, platform::MB_OK | platform::MB_ICONINFORMATION);
}

}  // namespace axcfgui
