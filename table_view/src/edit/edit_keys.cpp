#include "edit_keys.h"

#include "axview/table_view.h"

namespace axview {

unsigned EditCommandOfKey(int key, Qt::KeyboardModifiers modifiers) {
  const Qt::KeyboardModifiers mods = modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
  struct Accel {
    int key;
    Qt::KeyboardModifiers mods;
    unsigned command;
  };
  static const Accel kTable[] = {
      {Qt::Key_C, Qt::ControlModifier, CTableView::ID_EDIT_COPY},     {Qt::Key_Insert, Qt::ControlModifier, CTableView::ID_EDIT_COPY},
      {Qt::Key_F, Qt::ControlModifier, CTableView::ID_EDIT_FIND},     {Qt::Key_H, Qt::ControlModifier, CTableView::ID_EDIT_REPLACE},
      {Qt::Key_V, Qt::ControlModifier, CTableView::ID_EDIT_PASTE},    {Qt::Key_Insert, Qt::ShiftModifier, CTableView::ID_EDIT_PASTE},
      {Qt::Key_Backspace, Qt::AltModifier, CTableView::ID_EDIT_UNDO}, {Qt::Key_Z, Qt::ControlModifier, CTableView::ID_EDIT_UNDO},
      {Qt::Key_Y, Qt::ControlModifier, CTableView::ID_EDIT_REDO},
      {Qt::Key_Delete, Qt::ShiftModifier, CTableView::ID_EDIT_CUT},   {Qt::Key_X, Qt::ControlModifier, CTableView::ID_EDIT_CUT},
  };
  for (const Accel& a : kTable)
    if (a.key == key && a.mods == mods) return a.command;
  return 0;
}

}  // namespace axview
