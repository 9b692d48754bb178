// Times of a full phone book (4,096 entries): load and fill the window's
// list, save, sort by each column. Runs offscreen in a scratch KELD_HOME.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_timing.h"
#include "modem_book/tel_connect_doc.h"
#include "modem_frame.h"
#include "tel_connect_view.h"

using namespace modembook;

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  char home[] = "/tmp/bench-modem-XXXXXX";
  if (!mkdtemp(home)) return 1;
  setenv("KELD_HOME", home, 1);
  QApplication app(argc, argv);

  const std::string path = std::string(home) + "/KELD_TavModem.dat";
  {
    CTelConnectDoc doc;
    doc.SetPath(path);
    for (int i = 0; i < 4096; ++i) {
      CPhoneBookEntry e;
      e.SetTitle("支店 " + std::to_string((i * 7919) % 4096));
      e.SetPhone("06" + std::to_string(10000000 + (i * 104729) % 9000000));
      e.SetBaudIndex(static_cast<int16_t>(i % 8));
      doc.Add(e);
    }
    if (doc.Save() != 0) return 1;
  }

  CTelConnectDoc doc;
  doc.SetPath(path);
  doc.ReadPortSettings();
  CModemFrame frame(doc, nullptr, home, false);
  std::printf("phone book of 4096 entries\n");
  bench::Print("load", bench::MeasureMs(10, [&] { doc.Load(); }));
  bench::Print("load + list fill", bench::MeasureMs(10, [&] {
                 doc.Load();
                 frame.View()->InitialUpdate();
               }));
  bench::Print("list fill", bench::MeasureMs(10, [&] { frame.View()->RefreshList(0); }));
  bench::Print("save", bench::MeasureMs(10, [&] {
                 doc.SetBookModified(true);
                 doc.Save();
               }));
  for (int column = 0; column < 3; ++column) {
    const char* names[] = {"sort by title", "sort by phone", "sort by property"};
    doc.SortByColumn((column + 1) % 3);  // start from another order
    bench::Print(names[column], bench::MeasureMs(1, [&] { doc.SortByColumn(column); }));
  }
  // What a column click costs: the sort and the list filled again.
  int click = 0;
  bench::Print("column click", bench::MeasureMs(9, [&] { frame.View()->SortByColumn(click++ % 3); }));
  std::string cleanup = std::string("rm -rf ") + home;
  return std::system(cleanup.c_str()) == 0 ? 0 : 1;
}
