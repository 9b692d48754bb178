#pragma once
// The calls of the interface library the viewer uses, behind an interface so
// the cores can be tested on a scripted library. A ring is named by whether
// it belongs to a client and by the port number or client handle.
#include <cstdint>
#include <memory>

#include "tavinter/tavinter.h"

namespace commscope {

struct RingRef {
  bool client = false;
  int id = 0;  // port number (1..326) or client handle
};

class IViewerLibrary {
 public:
  virtual ~IViewerLibrary() = default;
  virtual int RegisterViewer() = 0;
  virtual int GetStatus(TavStatusSnapshot& status) = 0;
  // Watching a listed port (viewer role of attach and detach).
  virtual int AttachPort(int port) = 0;
  virtual int DetachPort(int port) = 0;
  // Using a ring's records; 0 when there is a record area.
  virtual int AttachRecords(RingRef ring) = 0;
  virtual int DetachRecords(RingRef ring) = 0;
  virtual int StatusByte(RingRef ring) = 0;
  virtual int MarkSeen(RingRef ring) = 0;
  virtual int ClearRecords(RingRef ring) = 0;
  // State and, with lines, the lines of the ring (see TavSnapshotPortRecords).
  virtual int Snapshot(RingRef ring, TavRingSnapshot& state, char* lines, int lineCapacity) = 0;
  virtual int PortConfig(int port, uint8_t* config) = 0;
  // The link record (TAV_LINK_RECORD_SIZE bytes) of an Ethernet client; TAV_E_NOT_OPEN when it has none.
  virtual int ClientEthernetLink(int handle, uint8_t* record) = 0;
};

// The real library.
std::unique_ptr<IViewerLibrary> MakeTavViewerLibrary();

}  // namespace commscope
