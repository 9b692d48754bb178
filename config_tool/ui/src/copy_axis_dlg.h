#pragma once
// "Specify the axis to copy": a source and a destination among the shown
// axes, listed by their labels.
#include <QDialog>
#include <string>
#include <vector>

class QComboBox;

namespace axcfgui {

class CCopyAxisDlg : public QDialog {
  Q_OBJECT

 public:
  // labels[i] names column i; the source starts at `current`.
  CCopyAxisDlg(QWidget* parent, const std::vector<std::string>& labels, int current);
  int Source() const;
  int Destination() const;
  QComboBox* SourceList() const { return m_source; }
  QComboBox* DestinationList() const { return m_destination; }

 private:
  QComboBox* m_source;
  QComboBox* m_destination;
};

}  // namespace axcfgui
