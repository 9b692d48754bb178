#pragma once
// The windows of the transfer commands: the connection confirmation, the
// download choice and the progress window that runs a transfer on a worker
// thread.
#include <QDialog>
#include <atomic>
#include <functional>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_unit/unit_transfer.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace axcfg {
class CUnitLink;
}

namespace axcfgui {

// "Connect to" the link's destination, Select slot..., Communication
// settings... and the question of the mode (0 download, 1 upload). Both
// buttons rebuild the "Connect to" line when their dialog ends with OK and
// call `changed` so that the frame refreshes its panes.
class CConnectConfirmDialog : public QDialog {
  Q_OBJECT
 public:
  CConnectConfirmDialog(axcfg::CUnitLink& link, int mode, QWidget* parent, std::function<void()> changed = {});
  QLabel* ConnectTo() const { return m_connectTo; }
  QPushButton* SlotButton() const { return m_slot; }
  QPushButton* SettingsButton() const { return m_settings; }
  void RebuildConnectTo();

 private:
  axcfg::CUnitLink& m_link;
  std::function<void()> m_changed;
  QLabel* m_connectTo;
  QPushButton* m_slot;
  QPushButton* m_settings;
};

// "Choose the data to download.": kind 1 or 2 and, for kind 2, all tables
// or a range. OK keeps the dialog open on a range that does not parse.
class CDownloadChoiceDialog : public QDialog {
  Q_OBJECT
 public:
  CDownloadChoiceDialog(const axcfg::DownloadSelection& selection, QWidget* parent);
  const axcfg::DownloadSelection& Selection() const { return m_selection; }
  QRadioButton* ParamsOnly() const { return m_kind1; }
  QRadioButton* WithTables() const { return m_kind2; }
  QRadioButton* All() const { return m_all; }
  QRadioButton* Range() const { return m_range; }
  QLineEdit* RangeText() const { return m_text; }
  void accept() override;

 private:
  void UpdateStates();
  axcfg::DownloadSelection m_selection;
  QRadioButton *m_kind1, *m_kind2, *m_all, *m_range;
  QLineEdit* m_text;
};

// The progress window of a transfer (modes 0 download, 1 upload, 2 verify).
// The work starts 50 ms after the window is first shown, on a worker
// thread; its steps arrive as queued calls. Cancel (also Enter, Escape and
// the close box) asks an upload or verify to stop before its next frame; a
// download cannot be cancelled. exec() returns the work's result.
class CTransferProgressDialog : public QDialog {
  Q_OBJECT
 public:
  using Work = std::function<int(axcfg::ITransferProgress&)>;
  CTransferProgressDialog(int mode, Work work, QWidget* parent);
  ~CTransferProgressDialog() override;
  QProgressBar* Bar() const { return m_bar; }
  QPushButton* CancelButton() const { return m_cancel; }
  bool CancelRequested() const { return m_cancelled; }
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  class CProgress;
  void Start();
  int m_mode;
  Work m_work;
  QProgressBar* m_bar;
  QPushButton* m_cancel;
  std::atomic<bool> m_cancelled{false};
  bool m_started = false;
  bool m_finished = false;
  std::unique_ptr<CProgress> m_progress;
  std::unique_ptr<class QThread> m_thread;
};

}  // namespace axcfgui
