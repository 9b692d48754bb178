// Log viewer timings on the real library's rings: snapshot and assembly of a
// full 10,000-line client ring, one repaint of a monitor view, the export of
// 10,000 lines, and a watch tick over 16 idle views.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "client_handles.h"
#include "commscope/monitor_document.h"
#include "commscope/record_text.h"
#include "monitor_view.h"
#include "platform/folders.h"
#include "tavinter/tavinter.h"

using namespace commscope;

int main(int argc, char** argv) {
  QTemporaryDir home;
  setenv("KELD_HOME", home.path().toUtf8().constData(), 1);
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);

  // This process serves port 326 with one client whose ring is full.
  constexpr int kPort = 326;
  TavAttachPort(kPort, TAV_ROLE_SERVER);
  TavAttachPortRecords(kPort);
  int handle = tavinter::AllocateClientHandle("bench client");
  TavAddClient(kPort, handle, "bench client");
  TavAttachClientRecords(handle);
  std::string frame = "%01#UR00000020001" + std::string(60, 'A');
  for (int i = 0; i < 5200; ++i)
    TavLogRecord(kPort, handle, i, i & 1, static_cast<int>(frame.size()), frame.data(), "", "");

  auto library = MakeTavViewerLibrary();
  CMonitorDocument client(*library, CMonitorDocument::ClientId(0), handle);
  if (client.Open() != 0) return 1;
  std::printf("client ring: %zu records from %d lines\n", client.Records().size(), client.Count());
  bench::Print("snapshot+assembly 10k", bench::MeasureMs(20, [&] {
                 TavLogRecord(kPort, handle, 0, 1, static_cast<int>(frame.size()), frame.data(), "", "");
                 client.Watch();
               }));

  CMonitorView view(client);
  view.resize(900, 700);
  view.show();
  QApplication::processEvents();
  bench::Print("repaint", bench::MeasureMs(50, [&] { view.viewport()->repaint(); }));

  std::string file = home.path().toStdString() + "/export.txt";
  bench::Print("export 10k lines", bench::MeasureMs(20, [&] { ExportText(client.Records(), file); }));

  std::vector<std::unique_ptr<CMonitorDocument>> idle;
  for (int i = 0; i < 16; ++i) {
    idle.push_back(std::make_unique<CMonitorDocument>(*library, CMonitorDocument::PortId(kPort - 1)));
    idle.back()->Open();
  }
  int open = 0;
  for (auto& d : idle) open += d->IsOpen() && !d->Ended(), d->Watch();
  std::printf("idle views watching: %d\n", open);
  bench::Print("watch tick, 16 idle", bench::MeasureMs(200, [&] {
                 for (auto& d : idle) d->Watch();
               }));
  idle.clear();
  client.Close();
  TavReleaseClient(handle);
  tavinter::FreeClientHandle(handle);
  TavReleasePort(kPort);
  TavReleasePortFinal(kPort);
  QDir(home.path()).removeRecursively();
  return 0;
}
