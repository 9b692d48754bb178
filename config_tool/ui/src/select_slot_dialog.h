#pragma once
// "Select slot": the slot of the positioning unit in the PLC, 0 to 28. OK
// takes the slot only when a connection with it works; otherwise the link
// has reported why and the dialog stays open with the old slot kept.
#include <QDialog>

class QComboBox;

namespace axcfg {
class CUnitLink;
}

namespace axcfgui {

class CSelectSlotDialog : public QDialog {
  Q_OBJECT

 public:
  CSelectSlotDialog(QWidget* parent, axcfg::CUnitLink& link);
  QComboBox* SlotList() const { return m_slots; }

  void accept() override;

 private:
  axcfg::CUnitLink& m_link;
  QComboBox* m_slots;
};

}  // namespace axcfgui
