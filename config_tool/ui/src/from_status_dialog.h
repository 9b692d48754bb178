#pragma once
// "Check the status of writing to FROM": follows a FROM write the unit has
// accepted until the unit reports its end. It checks once on opening and
// ends at once when the write is no longer running; otherwise it checks
// every 500 ms, blinking "Writing to FROM", and gives up after 30 s.
// Results: 1 finished, 2 failed or timed out, 3 communication error (or no
// link), 7 an unexpected handshake value.
#include <QDialog>
#include <memory>

class QLabel;
class QTimer;

namespace axcfg {
class CUnitLink;
class CFromWriteWatch;
}

namespace axcfgui {

class CFromStatusDialog : public QDialog {
  Q_OBJECT

 public:
  // A null link ends the dialog at once with 3.
  CFromStatusDialog(axcfg::CUnitLink* link, QWidget* parent);
  ~CFromStatusDialog() override;

  int exec() override;
  QLabel* WritingLabel() const { return m_writing; }
  void SetTickMs(int ms) { m_tickMs = ms; }

 private:
  void OnTick();

  std::unique_ptr<axcfg::CFromWriteWatch> m_watch;
  QLabel* m_writing;
  QTimer* m_timer;
  int m_tickMs;
};

}  // namespace axcfgui
