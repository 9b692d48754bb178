// The commands of CAxisCfgApp on the document's data as a whole: export as
// CSV files, verification against a setting file and the parameter editor.
#include <filesystem>

#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/compare.h"
#include "axiscfg_app.h"
#include "axiscfg_view.h"
#include "csv_export_dialog.h"
#include "main_frame.h"
#include "param_settings_dlg.h"
#include "platform/message_box.h"
#include "verify_result_dialog.h"

namespace axcfgui {

void CAxisCfgApp::OnExportCsv() {
  // The export goes next to the document; a new document starts in the
  // current folder.
  const std::string path = m_doc->GetPathName();
  const std::string folder = path.empty() ? m_currentPath : std::filesystem::path(path).parent_path().string();
  CCsvExportDialog dialog(m_frame.get(), *m_doc, folder);
  m_prompts.exportCsv(dialog);
}

void CAxisCfgApp::OnVerifyFile() {
  const std::string path = m_prompts.verifyFile(m_frame.get(), m_currentPath);
  if (path.empty()) return;
  // The file is read into a data set of its own: the document, its title,
  // its modified flag and the conversion flag stay as they are.
  const axcfg::VerifyFileOutcome outcome = axcfg::VerifyWithFile(*m_doc, path);
  if (!outcome.Completed()) {
    const bool cannotOpen = outcome.status.id == axcfg::kMsgVerifyCannotOpen;
    axcfg::AxisCfgMessageBox(outcome.FailureText(),
                             platform::MB_OK | (cannotOpen ? platform::MB_ICONSTOP : platform::MB_ICONEXCLAMATION));
    return;
  }
  CVerifyResultDialog dialog(m_frame.get());
  axcfg::VerifyResult result = outcome.result;
  result.showCommentNote = false;
  dialog.SetResult(result);
  m_prompts.showVerifyResult(dialog);
}

bool CAxisCfgApp::OpenParameterEditor(bool checkOnShow) {
  if (!m_doc || !m_frame) return false;
  // A value still being typed in a sheet belongs to the document first.
  if (View() && !View()->CommitPendingEdit()) return false;
  const bool changed = axcfgui::OpenParameterEditor(*m_doc, m_frame.get(), checkOnShow, m_helpFile,
                                                    m_prompts.editParameters);
  if (changed) {
    UpdateTitle();
    UpdateCommandStates();
  }
  return changed;
}

}  // namespace axcfgui
