#pragma once
// The start dialog: create, open, upload or leave.
#include <QDialog>

namespace axcfgui {

// What the start dialog asks: create, open, upload or leave.
enum class StartChoice { Closed, New, Open, Upload, Exit };

class CStartDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CStartDialog(QWidget* parent);
  StartChoice Choice() const { return m_choice; }
  // Upload is offered only while the transfer command is available.
  void EnableUpload(bool enable);

 private:
  StartChoice m_choice = StartChoice::Closed;
};

}  // namespace axcfgui
