// Benchmark of the setting file and the CSV export on a full document: 8
// single axes, 600 tables with every value set and comments of 100
// characters. Prints the median and the fastest of several runs of each
// step in milliseconds:
//   build file image   BuildSettingFile (all sections, in memory)
//   save               SaveDocumentFile (image, temporary file, flush, rename)
//   read file image    ReadSettingData from memory
//   load               OpenDocumentFile (read from disk and apply)
//   csv texts          the parameter file and the 8 sheet files as text
//   csv export         WriteCsvFiles (texts, code page 932, 9 files written)
//   diff equal         ListDifferences of the document and its saved file
//   diff one axis      ... and a file with axis 1's movement amounts and comments changed
//   diff every axis    ... and a file with every movement amount and comment changed
// Usage: bench_data_file [folder]   (default: a temporary folder)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "axcfg_data/axcfg_doc.h"
#include "bench_timing.h"
#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/csv_export.h"
#include "axcfg_data/difference_list.h"
#include "axcfg_data/document_file.h"
#include "axcfg_data/pos_sheets.h"
#include "axcfg_data/setting_file.h"

using namespace axcfg;

namespace {

using bench::MeasureMs;
using bench::Print;

// `shift` moves the values of the axes in `shifted` (bit n = axis n), so
// that two documents differ in those axes' movement amounts and comments.
void Fill(CAxisCfgDoc& doc, int shift = 0, uint8_t shifted = 0) {
  CAxisLayout layout;
  layout.Clear();
  for (int axis = 0; axis < 8; ++axis) layout.Append(MakeSingleAxisEntry(axis));
  doc.SetLayout(layout);
  CParamBlock& params = doc.GetParamBlock();
  for (int axis = 0; axis < 8; ++axis) params.SetParam(kParamUnit, axis, static_cast<uint32_t>(axis % 7));
  for (int k = 0; k < kTableRowCount; ++k) {
    CPosData* row = doc.GetPosData(k);
    for (int axis = 0; axis < 8; ++axis) {
      row->SetControlMethod(axis, static_cast<uint8_t>(k % 3));
      const int delta = (shifted >> axis & 1) ? shift : 0;
      row->SetMoveAmount(axis, (k * 7919 + axis * 104729) % 2000000 - 1000000 + delta);
      row->SetTargetSpeed(axis, 1 + k * 100);
      row->SetAccelTime(axis, k % 10000);
      std::string comment = "table " + std::to_string(k + 1) + " axis " + std::to_string(axis + 1) + " ";
      comment.resize(100, static_cast<char>('a' + (k + axis + delta) % 26));
      row->SetComment(axis, comment);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  RegisterAxisCfgDataStrings();
  std::filesystem::path dir =
      argc > 1 ? std::filesystem::path(argv[1]) : std::filesystem::temp_directory_path() / "keld_bench_data_file";
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "full.axc").string();
  const int runs = 30;

  CAxisCfgDoc doc;
  Fill(doc);
  std::string image;
  Print("build file image", MeasureMs(runs, [&] { BuildSettingFile(doc, kAllSections, image); }));
  std::printf("  (file of %zu bytes)\n", image.size());
  Print("save", MeasureMs(runs, [&] {
          if (!SaveDocumentFile(doc, path).Succeeded()) std::exit(1);
        }));
  Print("read file image", MeasureMs(runs, [&] {
          CMemoryByteSource source(image);
          CSettingDataSet set;
          if (ReadSettingData(source, set) != 0) std::exit(1);
        }));
  Print("load", MeasureMs(runs, [&] {
          CAxisCfgDoc loaded;
          if (OpenDocumentFile(loaded, path).id != 0) std::exit(1);
        }));
  Print("csv texts", MeasureMs(runs, [&] {
          size_t bytes = BuildParameterCsv(doc).size();
          for (uint32_t entry : GetSheetEntries(doc.GetLayout())) bytes += BuildSheetCsv(doc, entry).size();
          if (bytes == 0) std::exit(1);
        }));
  const CsvFileNames names = MakeCsvFileNames(doc.GetLayout(), dir.string(), "bench");
  Print("csv export", MeasureMs(runs, [&] {
          if (WriteCsvFiles(doc, names).messageId != 0) std::exit(1);
        }));

  // Two full files compared item by item, as axcfg diff and the verify
  // windows' "Details..." do.
  auto diffAgainst = [&](const char* what, int shift, uint8_t shifted, size_t expected) {
    CAxisCfgDoc other;
    Fill(other, shift, shifted);
    const std::string otherPath = (dir / "other.axc").string();
    if (!SaveDocumentFile(other, otherPath).Succeeded()) std::exit(1);
    CSettingDataSet set;
    if (ReadSettingFile(otherPath, set).id != 0) std::exit(1);
    size_t items = 0;
    Print(what, MeasureMs(runs, [&] { items = ListDifferences(doc, set).size(); }));
    std::printf("  (%zu items)\n", items);
    if (items < expected) std::exit(1);
  };
  diffAgainst("diff equal", 0, 0, 0);
  diffAgainst("diff one axis", 1, 0x01, 2 * kTableRowCount);
  diffAgainst("diff every axis", 3, 0xFF, 2 * 8 * kTableRowCount);
  return 0;
}
