// The parameter settings dialog on 8 axes of the interpolation family (52
// rows, 416 cells): building and showing it until its grid is painted, a
// full repaint of the grid, and a scroll by one row with its repaint.
// Prints the median and the fastest of several runs, in wall-clock time and
// in the CPU time of the thread (the figure a loaded machine disturbs least).
//
//   bench_param_editor [runs]     (runs offscreen unless QT_QPA_PLATFORM is set)
#include <QApplication>
#include <QScrollBar>
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <vector>
#include <memory>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/param_edit_model.h"
#include "bench_timing.h"
#include "param_edit_grid.h"
#include "param_settings_dlg.h"
#include "ui_strings.h"

namespace {

double ThreadCpuMs() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

// Runs the step and prints wall-clock and CPU figures.
template <typename F>
void Measure(const char* what, int runs, F&& step) {
  std::vector<double> cpu;
  const bench::Timing wall = bench::MeasureMs(runs, [&] {
    const double t0 = ThreadCpuMs();
    step();
    cpu.push_back(ThreadCpuMs() - t0);
  });
  std::sort(cpu.begin(), cpu.end());
  bench::Print(what, wall);
  std::printf("%-22s median %8.3f ms   fastest %8.3f ms   (thread CPU)\n", "", cpu[cpu.size() / 2], cpu.front());
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  axcfgui::RegisterAxisCfgUiStrings();
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;

  axcfg::CAxisCfgDoc doc;
  doc.SetUnitFamily(1);
  axcfg::CAxisLayout layout;
  layout.Clear();
  for (int a = 0; a < axcfg::kAxisCount; ++a) layout.Append(axcfg::MakeSingleAxisEntry(a));
  doc.SetLayout(layout);
  for (int a = 0; a < axcfg::kAxisCount; ++a) doc.GetParamBlock().SetParam(axcfg::kParamUnit, a, a % 7);

  std::printf("cells %d x %d\n", axcfg::CParamEditModel(doc).ColumnCount(), axcfg::CParamEditModel(doc).RowCount());
  Measure("open until painted", runs, [&] {
                 axcfg::CParamEditModel model(doc);
                 axcfgui::CParamSettingsDlg dialog(nullptr, model, false, std::string());
                 dialog.show();
                 dialog.Grid()->repaint();
               });

  axcfg::CParamEditModel model(doc);
  axcfgui::CParamSettingsDlg dialog(nullptr, model, false, std::string());
  dialog.resize(1400, 900);
  dialog.show();
  QApplication::processEvents();
  axcfgui::CParamEditGrid* grid = dialog.Grid();
  Measure("full repaint", runs, [&] { grid->repaint(); });
  int step = 1;
  Measure("one-row scroll", runs, [&] {
                 if (grid->FirstVisibleRow() + step < 0 || !grid->VerticalBar()->isEnabled()) step = -step;
                 const int before = grid->FirstVisibleRow();
                 grid->SetFirstVisibleRow(before + step);
                 if (grid->FirstVisibleRow() == before) {
                   step = -step;
                   grid->SetFirstVisibleRow(before + step);
                 }
                 grid->repaint();
               });
  return 0;
}
