#pragma once
// The motion profile preview: the chain of tables that a start from one
// table runs through, worked out from the document, with position and speed
// of each axis against time and, for a group, the path in the X-Y plane.
// The window follows the document: it works the profile out again after
// every change of the tables.
#include <QDialog>
#include <memory>
#include <string>

#include "axcfg_data/document.h"
#include "axcfg_data/motion_profile.h"

class QComboBox;
class QLabel;
class QSpinBox;
class QTableWidget;

namespace axcfg {
class CAxisCfgDoc;
}

namespace axcfgui {

class CProfilePathPlot;
class CProfileTimePlot;

class CMotionProfileWindow : public QDialog, public axcfg::CView {
  Q_OBJECT

 public:
  CMotionProfileWindow(QWidget* parent, const std::string& helpFile);
  ~CMotionProfileWindow() override;

  // Shows the sequence from a table No. of the sheet of `entry` (the first
  // sheet when the layout has no such entry).
  void ShowFrom(axcfg::CAxisCfgDoc& doc, uint32_t entry, int tableNo);
  // Works the profile out again from the document.
  void Refresh();
  void OnUpdate(axcfg::CView* sender, long hint, void* hintObject) override;

  const axcfg::CMotionProfile* Profile() const { return m_profile.get(); }
  QComboBox* SheetBox() const { return m_sheet; }
  QSpinBox* TableBox() const { return m_table; }
  QTableWidget* ChainList() const { return m_chain; }
  QLabel* EndLabel() const { return m_end; }
  CProfileTimePlot* TimePlot() const { return m_timePlot; }
  CProfilePathPlot* PathPlot() const { return m_pathPlot; }

 private:
  void FillSheets(uint32_t entry);
  void FillChain();
  axcfg::CAxisCfgDoc* Document() const;

  std::string m_helpFile;
  std::unique_ptr<axcfg::CMotionProfile> m_profile;
  QComboBox* m_sheet;
  QSpinBox* m_table;
  QTableWidget* m_chain;
  QLabel* m_end;
  CProfileTimePlot* m_timePlot;
  CProfilePathPlot* m_pathPlot;
  bool m_filling = false;
};

}  // namespace axcfgui
