// Measures the block commands on a whole sheet of 600 lines and 28 columns:
// copy to the clipboard, paste back (every cell converted and reported), and
// a replace-all pass over every cell.
#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "axview/helpers.h"
#include "axview/table_view.h"
#include "demo_table.h"

namespace {

double MedianMs(int runs, const std::function<void()>& prepare, const std::function<void()>& work) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    prepare();
    QElapsedTimer t;
    t.start();
    work();
    times.push_back(t.nsecsElapsed() / 1e6);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  CTableView view;
  axview_demo::FillDemoTable(view);
  view.OnInitialUpdate();
  view.resize(1920, 1080);
  view.show();
  QApplication::processEvents();
  const int lines = view.GetLineCount(0), columns = view.GetColumnCount(0);
  const CRect all(0, 0, columns - 1, lines - 1);
  auto selectAll = [&] { view.SetSel(all, CPoint(0, 0)); };

  const double copy = MedianMs(9, selectAll, [&] { view.OnEditCopy(); });
  std::string text;
  GetClipboardText(nullptr, text);
  const double paste = MedianMs(9, selectAll, [&] { view.OnEditPaste(); });

  const std::string find = "0", replace = "0";
  CRect area = all;
  const double replaceAll = MedianMs(9, [&] { view.SetSel(CRect(0, 0, 0, 0), CPoint(0, 0)); area = all; }, [&] {
    CSearchRequest request;
    request.find = &find;
    request.replace = &replace;
    request.flags = FIND_ACTION_REPLACE_ALL;
    request.area = &area;
    view.OnSearchRequest(request);
  });
  std::printf("sheet of %d lines x %d columns, clipboard text %zu bytes (median of 9):\n", lines, columns, text.size());
  std::printf("  copy        %.2f ms\n  paste       %.2f ms\n  replace all %.2f ms\n", copy, paste, replaceAll);
  return 0;
}
