#include "commscope/monitor_document.h"

#include "commscope/record_text.h"

namespace commscope {

CMonitorDocument::CMonitorDocument(IViewerLibrary& library, int id, int handle)
    : library_(library), id_(id), handle_(handle) {}

CMonitorDocument::~CMonitorDocument() { Close(); }

int CMonitorDocument::Capacity() const { return IsClient() ? kClientViewLines : kPortViewLines; }

int CMonitorDocument::Open() {
  if (open_) return 0;
  if (IsClient() ? handle_ <= 0 : (id_ < 0 || id_ >= 326)) return TAV_E_BAD_ARGUMENT;
  int rc = library_.AttachRecords(Ring());
  if (rc != 0) return rc;
  TavRingSnapshot state{};
  rc = library_.Snapshot(Ring(), state, nullptr, 0);
  if (rc != 0 || state.capacity <= 0 || state.capacity > Capacity()) {
    library_.DetachRecords(Ring());
    return rc != 0 ? rc : TAV_E_BAD_ARGUMENT;
  }
  open_ = true;
  ended_ = false;
  lines_.assign(static_cast<size_t>(state.capacity) * kLineBytes, 0);
  state_ = state;
  TakeSnapshot();
  return 0;
}

void CMonitorDocument::Close() {
  if (!open_) return;
  // A ring that already went to someone else is not ours to detach from.
  if (!ended_) library_.DetachRecords(Ring());
  open_ = false;
}

void CMonitorDocument::TakeSnapshot() {
  TavRingSnapshot state{};
  int rc = library_.Snapshot(Ring(), state, lines_.data(), static_cast<int>(lines_.size() / kLineBytes));
  if (rc == TAV_E_SEGMENT) return;  // the segment is busy: the next tick tries again
  if (rc != 0 || state.serial != state_.serial || state.owner != state_.owner) {
    ended_ = true;
    changed_ = true;
    return;
  }
  state_ = state;
  records_ = AssembleRecords(lines_.data(), state.capacity, state.start, state.count, Capacity());
  changed_ = true;
}

bool CMonitorDocument::Watch() {
  if (!open_ || ended_ || paused_) return false;
  TavRingSnapshot state{};
  int rc = library_.Snapshot(Ring(), state, nullptr, 0);
  if (rc == TAV_E_SEGMENT) return false;  // busy, not gone
  bool gone = rc != 0 || state.serial != state_.serial || state.owner != state_.owner;
  if (gone) {
    ended_ = true;
    changed_ = true;
    NotifyViews();
    return true;
  }
  int statusByte = library_.StatusByte(Ring());
  bool flagged = statusByte >= 0 && (statusByte & 0x80) != 0;
  if (!flagged && state.count == state_.count && state.appended == state_.appended && state.start == state_.start)
    return false;
  TakeSnapshot();
  NotifyViews();
  library_.MarkSeen(Ring());
  return true;
}

int CMonitorDocument::Clear() {
  if (!open_ || ended_) return TAV_E_NOT_OPEN;
  int rc = library_.ClearRecords(Ring());
  if (rc == 0) {
    TakeSnapshot();
    NotifyViews();
  }
  return rc;
}

int CMonitorDocument::AddView(std::function<void()> redraw) {
  views_.emplace_back(nextToken_, std::move(redraw));
  return nextToken_++;
}

void CMonitorDocument::RemoveView(int token) {
  std::erase_if(views_, [&](const auto& v) { return v.first == token; });
}

void CMonitorDocument::NotifyViews() {
  auto views = views_;  // a view may remove itself while redrawn
  for (auto& v : views) v.second();
}

}  // namespace commscope
