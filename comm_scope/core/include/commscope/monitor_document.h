#pragma once
// One monitored record ring: a port's (id = port index) or a client's
// (id = 1000 + client slot). The document reads the ring only through the
// library's locked snapshot and keeps the records of the last one; when the
// ring's owner is gone, or the ring was handed to another owner, it keeps the
// last records and is marked ended. Views register to be redrawn when the
// records change.
#include <functional>
#include <string>
#include <vector>

#include "commscope/viewer_library.h"

namespace commscope {

class CMonitorDocument {
 public:
  static constexpr int kClientIdBase = 1000;

  // A port document: port index 0..325.
  static int PortId(int portIndex) { return portIndex; }
  // A client document: slot 0..511 and the client's handle.
  static int ClientId(int slot) { return kClientIdBase + slot; }

  CMonitorDocument(IViewerLibrary& library, int id, int handle = 0);
  ~CMonitorDocument();
  CMonitorDocument(const CMonitorDocument&) = delete;
  CMonitorDocument& operator=(const CMonitorDocument&) = delete;

  // Attaches to the ring and takes the first snapshot; an error (no record
  // area) leaves the document closed.
  int Open();
  // Detaches (once); the records stay.
  void Close();
  // One watch tick: a new count, a new append counter or the status byte's
  // top bit takes a snapshot, redraws the views and marks the ring seen.
  // True when the records changed (or the document just ended).
  bool Watch();
  // Empties the ring's records.
  int Clear();

  int Id() const { return id_; }
  bool IsClient() const { return id_ >= kClientIdBase; }
  int Port() const { return IsClient() ? 0 : id_ + 1; }
  int Slot() const { return IsClient() ? id_ - kClientIdBase : -1; }
  int Handle() const { return handle_; }
  RingRef Ring() const { return {IsClient(), IsClient() ? handle_ : id_ + 1}; }
  int Capacity() const;  // 3,000 for a port, 10,000 for a client
  bool IsOpen() const { return open_; }
  bool Ended() const { return ended_; }
  int Count() const { return static_cast<int>(state_.count); }
  int Oldest() const { return static_cast<int>(state_.start); }
  bool Changed() const { return changed_; }
  bool FirstDisplay() const { return firstDisplay_; }
  void SetDisplayed() { firstDisplay_ = false, changed_ = false; }
  // Watching can be paused per document (the view's "Start Monitoring").
  bool Paused() const { return paused_; }
  void SetPaused(bool paused) { paused_ = paused; }

  const std::vector<std::string>& Records() const { return records_; }

  // Views: each is called after the records changed. Returns a token for removal.
  int AddView(std::function<void()> redraw);
  void RemoveView(int token);
  int ViewCount() const { return static_cast<int>(views_.size()); }

 private:
  void TakeSnapshot();
  void NotifyViews();

  IViewerLibrary& library_;
  int id_;
  int handle_;
  bool open_ = false;
  bool ended_ = false;
  bool changed_ = false;
  bool firstDisplay_ = true;
  bool paused_ = false;
  TavRingSnapshot state_{};
  std::vector<char> lines_;
  std::vector<std::string> records_;
  std::vector<std::pair<int, std::function<void()>>> views_;
  int nextToken_ = 1;
};

}  // namespace commscope
