#pragma once
// "interpolation group settings": the arrangement of the used axes into
// interpolation groups A-D (dragged in the drawn area) and the two
// synchronous groups. It edits a CGroupArrangement; only the controls the
// user changes reach its records. OK runs the arrangement's OK and stays
// open on a refusal.
#include <QDialog>
#include <array>

#include "axcfg_data/axis_settings.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace axcfgui {

class CGroupArea;

class CGroupSettingsDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kIdInitialize = 2063;
  static constexpr int kIdSynchronousGroup = 1767;

  // The controls of one synchronous group block.
  struct SyncControls {
    QCheckBox* on = nullptr;
    QComboBox* mode = nullptr;
    QComboBox* master = nullptr;
    QComboBox* slave = nullptr;
    QLineEdit* difference = nullptr;
    QComboBox* behavior = nullptr;
  };

  CGroupSettingsDlg(QWidget* parent, axcfg::CGroupArrangement& arrangement);

  CGroupArea* Area() const { return m_area; }
  const SyncControls& Block(int g) const { return m_blocks[static_cast<size_t>(g)]; }
  QPushButton* InitializeButton() const { return m_initialize; }

  void accept() override;

 private:
  QGroupBox* MakeBlock(int g);
  // Shows the arrangement's working records; no edit is recorded meanwhile.
  void ShowRecords();
  void EnableBlock(int g);
  void Record(int g, const axcfg::SyncBlockEdit& edit);
  void OnInitialize();

  axcfg::CGroupArrangement& m_arrangement;
  CGroupArea* m_area;
  QPushButton* m_initialize;
  std::array<SyncControls, 2> m_blocks{};
  bool m_showing = false;
};

}  // namespace axcfgui
