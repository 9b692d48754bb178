#include "transfer_command.h"

#include <QApplication>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/axcfg_strings.h"
#include "axcfg_unit/from_write_watch.h"
#include "axcfg_unit/unit_link.h"
#include "command_ids.h"
#include "data_check_command.h"
#include "from_status_dialog.h"
#include "platform/message_box.h"
#include "transfer_dialogs.h"
#include "dialog_util.h"
#include "ui_strings.h"
#include "verify_result_dialog.h"

namespace axcfgui {

namespace {

unsigned IconFlags(axcfg::MessageIcon icon) {
  switch (icon) {
    case axcfg::MessageIcon::Information: return platform::MB_ICONINFORMATION;
    case axcfg::MessageIcon::Question: return platform::MB_ICONQUESTION;
    case axcfg::MessageIcon::Exclamation: return platform::MB_ICONEXCLAMATION;
    case axcfg::MessageIcon::Stop: break;
  }
  return platform::MB_ICONSTOP;
}

}  // namespace

int CWidgetTransferUi::Open(axcfg::CUnitLink& link) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const int rc = link.Open(m_frame, true, true, false);
  QApplication::restoreOverrideCursor();
  return rc;
}

bool CWidgetTransferUi::Confirm(int mode) {
  if (!m_link) return false;
  CConnectConfirmDialog dialog(*m_link, mode, m_frame, m_changed);
  return dialog.exec() == QDialog::Accepted;
}

bool CWidgetTransferUi::ChooseDownload(axcfg::DownloadSelection& selection) {
  CDownloadChoiceDialog dialog(selection, m_frame);
  if (dialog.exec() != QDialog::Accepted) return false;
  selection = dialog.Selection();
  return true;
}

int CWidgetTransferUi::RunWithProgress(int mode, const std::function<int(axcfg::ITransferProgress&)>& work) {
  CTransferProgressDialog dialog(mode, work, m_frame);
  return dialog.exec();
}

bool CWidgetTransferUi::Ask(unsigned id, const std::string& text) {
  if (id == 21453)
    return axcfg::AxisCfgMessageBox(text, platform::MB_RETRYCANCEL | platform::MB_ICONSTOP) == platform::IDRETRY;
  return axcfg::AxisCfgMessageBox(text, platform::MB_YESNO | platform::MB_ICONQUESTION) == platform::IDYES;
}

void CWidgetTransferUi::Message(unsigned, const std::string& text, axcfg::MessageIcon icon) {
  axcfg::AxisCfgMessageBox(text, platform::MB_OK | IconFlags(icon));
}

void CWidgetTransferUi::ShowVerifyResult(const axcfg::VerifyResult& result, const std::vector<uint32_t>&) {
  CVerifyResultDialog dialog(m_frame);
  dialog.SetResult(result);
  dialog.SetOtherName(UiQText(kIdsDiffUnit));
  dialog.exec();
}

bool CWidgetTransferUi::FollowFromWrite(axcfg::CUnitLink& link) {
  CFromStatusDialog dialog(&link, m_frame);
  return dialog.exec() == axcfg::kFromWriteFinished;
}

bool CWidgetTransferUi::CheckData(const axcfg::CAxisCfgDoc&) { return RunDataCheck(m_view, false); }

void RunTransferCommand(int id, axcfg::CUnitLink& link, axcfg::CAxisCfgDoc& doc, CAxisCfgView* view, QWidget* frame,
                        const std::function<void()>& refresh) {
  CWidgetTransferUi ui(frame, view, refresh);
  ui.SetLink(&link);
  switch (id) {
    case ID_UPLOAD: {
      // The uploaded data replaces the document as one undoable step.
      axcfg::CWholeDocumentChange whole(doc);
      if (axcfg::RunUpload(link, ui, doc) == axcfg::TransferOutcome::Done)
        doc.UpdateAllViews(nullptr, axcfg::kHintRebuildAll);
      break;
    }
    case ID_DOWNLOAD: axcfg::RunDownload(link, ui, doc); break;
    case ID_VERIFY_UNIT: axcfg::RunVerifyUnit(link, ui, doc); break;
    case ID_WRITE_FROM: axcfg::RunWriteFrom(link, ui); break;
    default: return;
  }
  if (refresh) refresh();
}

}  // namespace axcfgui
