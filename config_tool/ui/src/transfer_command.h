#pragma once
// Online > Upload, Download, Verify unit and Write to FROM in the window
// shell: the transfer sequences answered by the transfer windows, the
// message box, the data check and the FROM status window.
#include <functional>
#include <string>

#include "axcfg_unit/transfer_commands.h"

class QWidget;

namespace axcfgui {

class CAxisCfgView;

class CWidgetTransferUi : public axcfg::ITransferUi {
 public:
  // `changed` runs when the confirmation changed the slot or the settings.
  CWidgetTransferUi(QWidget* frame, CAxisCfgView* view, std::function<void()> changed = {})
      : m_frame(frame), m_view(view), m_changed(std::move(changed)) {}
  int Open(axcfg::CUnitLink& link) override;
  bool Confirm(int mode) override;
  bool ChooseDownload(axcfg::DownloadSelection& selection) override;
  int RunWithProgress(int mode, const std::function<int(axcfg::ITransferProgress&)>& work) override;
  bool Ask(unsigned id, const std::string& text) override;
  void Message(unsigned id, const std::string& text, axcfg::MessageIcon icon) override;
  void ShowVerifyResult(const axcfg::VerifyResult& result, const std::vector<uint32_t>& differences) override;
  bool FollowFromWrite(axcfg::CUnitLink& link) override;
  bool CheckData(const axcfg::CAxisCfgDoc& doc) override;

  void SetLink(axcfg::CUnitLink* link) { m_link = link; }

 private:
  QWidget* m_frame;
  CAxisCfgView* m_view;
  std::function<void()> m_changed;
  axcfg::CUnitLink* m_link = nullptr;
};

// The command ids ID_UPLOAD, ID_DOWNLOAD, ID_VERIFY_UNIT and ID_WRITE_FROM.
// A successful upload rebuilds the views and marks the document modified;
// `refresh` runs after every command (the frame's panes).
void RunTransferCommand(int id, axcfg::CUnitLink& link, axcfg::CAxisCfgDoc& doc, CAxisCfgView* view, QWidget* frame,
                        const std::function<void()>& refresh);

}  // namespace axcfgui
