#pragma once
// The axis settings sequence with its two dialogs: the used-axis dialog,
// then the group settings dialog. The application installs it on the
// document, so that New (when it asks for the axes) and Change Axis run it.
#include <QPointer>
#include <QWidget>
#include <functional>

#include "axcfg_data/axis_settings.h"

class QDialog;

namespace axcfgui {

class CAxisSettingsSequence : public axcfg::IAxisSettingsSequence, private axcfg::IAxisDialogs {
 public:
  // Runs a dialog modally and returns its result; the default is exec().
  // Tests answer the dialogs through it.
  using DialogRunner = std::function<int(QDialog&)>;

  explicit CAxisSettingsSequence(QWidget* parent, DialogRunner run = {});

  int Run(axcfg::CAxisCfgDoc& doc, bool newDocument, axcfg::CAxisLayout& layout) override;

 private:
  bool RunUsedAxis(axcfg::CUsedAxisChoice& choice) override;
  bool RunGroups(axcfg::CGroupArrangement& arrangement) override;
  void ShowInformation(const std::string& text) override;

  QPointer<QWidget> m_parent;
  DialogRunner m_run;
};

}  // namespace axcfgui
