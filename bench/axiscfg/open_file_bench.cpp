// Opens a setting file of 8 axes (8 single-axis sheets, then a layout with
// groups) into a document with its table view and rebuilds all sheets, as
// File Open does. Prints the median and worst time of several runs.
//
//   bench_axiscfg_open [runs]     (runs offscreen unless QT_QPA_PLATFORM is set)
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/document_file.h"
#include "axiscfg_view.h"
#include "ui_strings.h"

namespace {

std::string MakeFile(const std::string& dir, const char* name, const axcfg::CAxisLayout& layout) {
  axcfg::CAxisCfgDoc doc;
  doc.SetLayout(layout);
  doc.CreateDefaultRows();
  for (int k = 0; k < doc.GetRowCount(); ++k)
    for (int a = 0; a < axcfg::kAxisCount; ++a) {
      doc.GetPosData(k)->SetMoveAmount(a, 1000 * k + a);
      doc.GetPosData(k)->SetComment(a, "table " + std::to_string(k + 1));
    }
  const std::string path = dir + "/" + name;
  if (!axcfg::SaveDocumentFile(doc, path).Succeeded()) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    std::exit(1);
  }
  return path;
}

void Run(const char* label, const std::string& path, int runs) {
  axcfg::CAxisCfgDoc doc;
  axcfgui::CAxisCfgView view;
  view.resize(1200, 700);
  doc.AddView(&view);
  std::vector<double> ms, loadMs;
  using Clock = std::chrono::steady_clock;
  auto since = [](Clock::time_point t) { return std::chrono::duration<double, std::milli>(Clock::now() - t).count(); };
  for (int i = 0; i < runs; ++i) {
    const auto start = Clock::now();
    if (!axcfg::OpenDocumentFile(doc, path).Succeeded()) {
      std::fprintf(stderr, "cannot open %s\n", path.c_str());
      std::exit(1);
    }
    loadMs.push_back(since(start));
    doc.UpdateAllViews(nullptr, axcfg::kHintRebuildAll);
    ms.push_back(since(start));
  }
  std::sort(ms.begin(), ms.end());
  std::sort(loadMs.begin(), loadMs.end());
  std::printf("%-34s sheets %d  lines %d  median %7.1f ms (file %5.1f ms)  worst %7.1f ms\n", label,
              view.GetSheetCount(), view.GetSheetCount() ? view.GetLineCount(0) * view.GetSheetCount() : 0,
              ms[ms.size() / 2], loadMs[loadMs.size() / 2], ms.back());
  doc.RemoveView(&view);
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  axcfgui::RegisterAxisCfgUiStrings();
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  const std::string dir = (std::filesystem::temp_directory_path() / "bench_axiscfg_open").string();
  std::filesystem::create_directories(dir);

  axcfg::CAxisLayout singles;
  singles.Clear();
  for (int a = 0; a < axcfg::kAxisCount; ++a) singles.Append(axcfg::MakeSingleAxisEntry(a));
  axcfg::CAxisLayout groups;
  groups.Clear();
  groups.Append(axcfg::MakeGroupEntry(1, 0x07));
  groups.Append(axcfg::MakeGroupEntry(2, 0x18));
  for (int a = 5; a < axcfg::kAxisCount; ++a) groups.Append(axcfg::MakeSingleAxisEntry(a));

  Run("8 single axes", MakeFile(dir, "singles.axc", singles), runs);
  Run("groups A(1-3), B(4,5), axes 6-8", MakeFile(dir, "groups.axc", groups), runs);
  std::filesystem::remove_all(dir);
  return 0;
}
