#pragma once
// What the two monitor windows share: the grid with "&Close" and "&Help",
// and the refresh loop. The window opens with every value empty and runs one
// read cycle at a time on a worker thread, 200 ms after the previous one
// ended; the worker only reads into a snapshot, and the window thread takes
// the snapshot and draws it. A failed cycle is reported once and monitoring
// stays stopped with the last values. Closing stops the loop, disables the
// buttons and waits for a running worker before the window goes.
#include <QDialog>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "axcfg_unit/unit_axis_config.h"

class QPushButton;
class QTimer;
class QEventLoop;
class QHBoxLayout;
class QVBoxLayout;

namespace axcfg {
class CUnitLink;
}

namespace axcfgui {

class CMonitorGrid;

class CMonitorDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kPeriodMs = 200;

  ~CMonitorDialog() override;

  CMonitorGrid* Grid() const { return m_grid; }
  QPushButton* CloseButton() const { return m_close; }
  QPushButton* HelpButton() const { return m_help; }
  void SetHelpFile(std::string helpFile) { m_helpFile = std::move(helpFile); }
  // The period between the end of one cycle and the start of the next.
  void SetPeriod(int ms) { m_periodMs = ms; }
  bool IsMonitoring() const { return !m_stop; }
  bool IsCycleRunning() const { return m_worker.joinable(); }
  // Cycles that were drawn.
  int DrawnCycles() const { return m_drawn; }

  void done(int result) override;

 protected:
  // `grid` (null: a plain monitor grid) becomes the window's.
  CMonitorDialog(QWidget* parent, axcfg::CUnitLink& link, int helpContext, CMonitorGrid* grid = nullptr);
  // `cycle` runs on the worker thread and reads into storage it shares with
  // nothing else while it runs; `take` runs on the window thread after a
  // successful cycle and draws it.
  void SetCycle(std::function<int()> cycle, std::function<void()> take) {
    m_cycle = std::move(cycle);
    m_take = std::move(take);
  }
  // Runs a `Cycle` over the axes on the worker, into a snapshot only the
  // worker touches; after a successful cycle `shown` gets a copy and `draw` runs.
  template <typename Cycle, typename Snapshot>
  void UseCycle(const std::vector<axcfg::MonitorAxis>& axes, Snapshot& shown, std::function<void()> draw) {
    struct Work {
      Cycle cycle;
      Snapshot snapshot;
    };
    auto work = std::make_shared<Work>();
    axcfg::CUnitLink& link = m_link;
    SetCycle([work, axes, &link] { return work->cycle.Read(link, axes, work->snapshot); },
             [work, &shown, draw] {
               shown = work->snapshot;
               draw();
             });
  }
  // Puts a button of the window's own left of "&Close".
  void AddButton(QPushButton* button);
  // Sizes the window to the grid's wish.
  void FitToGrid();
  axcfg::CUnitLink& Link() { return m_link; }

  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  // A cycle failed; monitoring has stopped. Shows the error once.
  virtual void CycleFailed(int rc);

 private:
  void OnTick();
  void OnCycleDone(int rc);
  void StopAndWait();

  axcfg::CUnitLink& m_link;
  int m_helpContext;
  std::string m_helpFile;
  std::function<int()> m_cycle;
  std::function<void()> m_take;
  CMonitorGrid* m_grid;
  QPushButton* m_close;
  QPushButton* m_help;
  QHBoxLayout* m_buttons;
  QTimer* m_timer;
  std::thread m_worker;
  std::atomic<bool> m_stop{false};
  bool m_closing = false;
  bool m_started = false;
  QEventLoop* m_waitLoop = nullptr;
  int m_periodMs = kPeriodMs;
  int m_drawn = 0;
};

}  // namespace axcfgui
