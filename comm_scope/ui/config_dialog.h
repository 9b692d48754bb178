#pragma once
// "Configuration": which devices write communication log files and to which
// folder. OK writes the settings the servers read; a failed write is
// reported and the window stays open.
#include <QDialog>
#include <vector>

#include "commscope/log_settings.h"

class QCheckBox;
class QLineEdit;

namespace commscope {

class CConfigDialog : public QDialog {
  Q_OBJECT
 public:
  CConfigDialog(CLogSettings settings, QWidget* parent = nullptr);
  QCheckBox* Box(const QString& name) const;
  QLineEdit* FolderEdit() const { return folder_; }
  const CLogSettings& Settings() const { return settings_; }
  // The folder chooser; tests replace it.
  std::function<QString(const QString& current)> chooseFolder;

  void accept() override;

 private:
  CLogSettings settings_;
  std::vector<QCheckBox*> boxes_;
  QLineEdit* folder_ = nullptr;
};

}  // namespace commscope
