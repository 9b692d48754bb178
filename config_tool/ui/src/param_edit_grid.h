#pragma once
// The parameter grid of the parameter settings dialog: a CParamGrid whose
// cells, editors and commits come from a CParamEditModel. A refused commit
// shows its message and keeps the edit open with the wrong entry selected.
#include "axcfg_data/param_edit_model.h"
#include "param_grid.h"

namespace axcfgui {

class CParamEditGrid : public CParamGrid {
  Q_OBJECT

 public:
  CParamEditGrid(axcfg::CParamEditModel& model, QWidget* parent = nullptr);

  // Rows, columns and widths from the model.
  void Reload();
  // Commits an open edit; negative when it was refused (the edit stays open).
  int CommitEdit();
  // Redraws the columns a step of the model changed.
  void RedrawColumns(const std::vector<int>& columns);

 signals:
  // A commit changed the model.
  void cellCommitted();

 protected:
  void GetColumnTitle(int column, QString& text) override;
  void GetRowTitle(int row, QString& text) override;
  unsigned GetCellText(int column, int row, QString& text) override;
  int EndCellEdit(int key, bool final, int move) override;
  int GetCellEditKind(int column, int row) override;
  bool PrepareCellEditor(QWidget* editor, int column, int row) override;

 private:
  axcfg::CParamEditModel& m_model;
};

}  // namespace axcfgui
