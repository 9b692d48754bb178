#pragma once
// The table view's undo list: records of earlier line texts, used as a stack
// (records are taken from the tail). The view keeps the list, enables its
// Undo command by it and empties it on request; owners push and apply the
// records.
#include <list>
#include <memory>
#include <string>

#include "axview/win_types.h"

// One undo record: the text a line of a sheet had before a change.
class AXVIEW_API CUndoObj {
 public:
  CUndoObj() = default;
  CUndoObj(int sheet, int line, std::string text) : m_sheet(sheet), m_line(line), m_text(std::move(text)) {}
  int m_sheet = -1;
  int m_line = -1;
  std::string m_text;
};

class AXVIEW_API CUndoList {
 public:
  void AddTail(std::unique_ptr<CUndoObj> record) { m_records.push_back(std::move(record)); }
  // Takes the newest record off the list; null when the list is empty.
  std::unique_ptr<CUndoObj> RemoveTail() {
    if (m_records.empty()) return nullptr;
    std::unique_ptr<CUndoObj> r = std::move(m_records.back());
    m_records.pop_back();
    return r;
  }
  bool IsEmpty() const { return m_records.empty(); }
  size_t GetCount() const { return m_records.size(); }

 private:
  std::list<std::unique_ptr<CUndoObj>> m_records;
};
