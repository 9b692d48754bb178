// Measures filling the grid (8 sheets of 600 lines with SetLineText) and
// painting a full-screen view (1920 x 1080) 100 times.
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "axview/table_view.h"
#include "demo_table.h"

namespace {

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  const QStringList args = app.arguments();
  const bool fill = !args.contains("--paint-only"), paint = !args.contains("--fill-only");

  // Fill: the lines of 8 sheets into a model without a window, and into a
  // shown view (the current sheet's view is kept up to date while it fills).
  // The owner's texts are made beforehand: only the grid's work is measured.
  std::vector<std::vector<std::string>> texts(axview_demo::kSheets);
  for (int s = 0; s < axview_demo::kSheets; ++s)
    for (int l = 0; l < axview_demo::kLines; ++l) texts[s].push_back(axview_demo::DemoLineText(s, l));
  auto fillLines = [&](CTableModel& table) {
    for (int s = 0; s < axview_demo::kSheets; ++s)
      for (int l = 0; l < axview_demo::kLines; ++l) {
        table.InsertLine(s, l, "");
        table.SetLineText(s, l, texts[s][l].c_str());
      }
  };
  std::vector<double> modelFill, viewFill;
  for (int run = 0; fill && run < 15; ++run) {
    CTableModel model;
    axview_demo::AddDemoSheets(model);
    QElapsedTimer t;
    t.start();
    fillLines(model);
    modelFill.push_back(t.nsecsElapsed() / 1e6);

    CTableView view;
    view.resize(1920, 1080);
    view.show();
    axview_demo::AddDemoSheets(view);
    view.OnInitialUpdate();
    t.restart();
    fillLines(view);
    viewFill.push_back(t.nsecsElapsed() / 1e6);
  }
  if (fill) {
  std::printf("fill 8 x 600 lines x 28 columns (InsertLine + SetLineText):\n");
  std::printf("  model only : median %.2f ms, best %.2f ms\n", Median(modelFill),
              *std::min_element(modelFill.begin(), modelFill.end()));
  std::printf("  shown view : median %.2f ms, best %.2f ms\n", Median(viewFill),
              *std::min_element(viewFill.begin(), viewFill.end()));
  }
  if (!paint) return 0;

  // Paint: the whole view (data area, headers, tab bar) at 1920 x 1080.
  CTableView view;
  axview_demo::FillDemoTable(view);
  view.SetWindowTextA("No.");
  view.OnInitialUpdate();
  view.SetSel(CRect(2, 3, 6, 20), CPoint(2, 3));
  view.resize(1920, 1080);
  view.show();
  QApplication::processEvents();
  QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
  view.render(&image);  // warm-up: fonts and glyph caches
  std::vector<double> paints;
  for (int i = 0; i < 100; ++i) {
    // Scroll a little every frame so that every paint draws other texts.
    view.EnsureVisible((i * 7) % axview_demo::kLines, 0);
    QElapsedTimer t;
    t.start();
    view.render(&image);
    paints.push_back(t.nsecsElapsed() / 1e6);
  }
  double total = 0;
  for (double p : paints) total += p;
  std::printf("paint 1920 x 1080, %d visible lines, 100 times:\n", view.GetPageLines());
  std::printf("  mean %.2f ms, median %.2f ms, worst %.2f ms per paint\n", total / paints.size(), Median(paints),
              *std::max_element(paints.begin(), paints.end()));
  return 0;
}
