// The viewer library interface on KELD_TAVINTER.
#include "commscope/viewer_library.h"
#include "tavinter/ethernet_links.h"

namespace commscope {

namespace {

class CTavViewerLibrary : public IViewerLibrary {
 public:
  int RegisterViewer() override { return TavRegisterViewer(); }
  int GetStatus(TavStatusSnapshot& status) override { return TavGetStatus(&status); }
  int AttachPort(int port) override { return TavAttachPort(port, TAV_ROLE_VIEWER); }
  int DetachPort(int port) override { return TavDetachPort(port, TAV_ROLE_VIEWER); }
  int AttachRecords(RingRef r) override { return r.client ? TavAttachClientRecords(r.id) : TavAttachPortRecords(r.id); }
  int DetachRecords(RingRef r) override { return r.client ? TavDetachClientRecords(r.id) : TavDetachPortRecords(r.id); }
  int StatusByte(RingRef r) override { return r.client ? TavClientStatusByte(r.id) : TavPortStatusByte(r.id); }
  int MarkSeen(RingRef r) override { return r.client ? TavMarkClientSeen(r.id) : TavMarkPortSeen(r.id); }
  int ClearRecords(RingRef r) override { return r.client ? TavClearClientRecords(r.id) : TavClearPortRecords(r.id); }
  int Snapshot(RingRef r, TavRingSnapshot& state, char* lines, int lineCapacity) override {
    return r.client ? TavSnapshotClientRecords(r.id, &state, lines, lineCapacity)
                    : TavSnapshotPortRecords(r.id, &state, lines, lineCapacity);
  }
  int PortConfig(int port, uint8_t* config) override { return TavGetPortConfig(port, config); }
  int ClientEthernetLink(int handle, uint8_t* record) override {
    return TavGetClientEthernetLink(handle, nullptr, record, nullptr);
  }
};

}  // namespace

std::unique_ptr<IViewerLibrary> MakeTavViewerLibrary() { return std::make_unique<CTavViewerLibrary>(); }

}  // namespace commscope
