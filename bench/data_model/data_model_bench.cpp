// Benchmark of the setting data model. Prints the median and the fastest of
// several runs of each step in milliseconds (the fastest run is the figure
// least disturbed by other work on the machine):
//   new document       CAxisCfgDoc::OnNewDocument (reset, 600 rows)
//   build row texts    the row text of all 600 rows for 8 single axes
//   parse row texts    the same 4,800 texts parsed back into the rows
//   check parameters   CParamBlock::CheckAll over all 8 axes
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "axcfg_data/axcfg_doc.h"
#include "bench_timing.h"
#include "axcfg_data/axcfg_strings.h"

using namespace axcfg;

namespace {

using bench::MeasureMs;
using bench::Print;
using bench::Timing;

void FillTables(CAxisCfgDoc& doc) {
  CParamBlock& params = doc.GetParamBlock();
  for (int axis = 0; axis < 8; ++axis) params.SetParam(kParamUnit, axis, static_cast<uint32_t>(axis % 7));
  for (int k = 0; k < kTableRowCount; ++k) {
    CPosData* row = doc.GetPosData(k);
    for (int axis = 0; axis < 8; ++axis) {
      row->SetControlMethod(axis, static_cast<uint8_t>(k % 4));
      row->SetMoveAmount(axis, (k * 7919 + axis * 104729) % 2000000 - 1000000);
      row->SetTargetSpeed(axis, 1 + k * 100);
      row->SetAccelTime(axis, k % 10000);
      row->SetComment(axis, "table " + std::to_string(k + 1));
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 25;
  RegisterAxisCfgDataStrings();

  CAxisCfgDoc doc;
  Timing newDoc = MeasureMs(runs, [&] { doc.OnNewDocument(); });

  CAxisLayout eightSingles;
  eightSingles.Clear();
  for (int axis = 0; axis < 8; ++axis) eightSingles.Append(MakeSingleAxisEntry(axis));
  doc.SetLayout(eightSingles);
  FillTables(doc);

  std::vector<std::string> texts(8 * kTableRowCount);
  Timing build = MeasureMs(runs, [&] {
    for (int e = 0; e < 8; ++e)
      for (int k = 0; k < kTableRowCount; ++k) texts[e * kTableRowCount + k] = doc.BuildRowText(doc.GetAxisEntry(e), k);
  });
  size_t failures = 0;
  Timing parse = MeasureMs(runs, [&] {
    for (int e = 0; e < 8; ++e)
      for (int k = 0; k < kTableRowCount; ++k)
        failures += !doc.ParseRowText(doc.GetAxisEntry(e), k, texts[e * kTableRowCount + k]);
  });
  // The texts must survive the round trip unchanged.
  size_t mismatches = 0;
  for (int e = 0; e < 8; ++e)
    for (int k = 0; k < kTableRowCount; ++k)
      mismatches += doc.BuildRowText(doc.GetAxisEntry(e), k) != texts[e * kTableRowCount + k];

  ParamCheckResult result;
  Timing check = MeasureMs(runs * 20, [&] { result = doc.GetParamBlock().CheckAll(0xFF); });

  std::printf("runs per step: %d\n", runs);
  Print("new document", newDoc);
  Print("build 4800 row texts", build);
  Print("parse 4800 row texts", parse);
  Print("check parameters", check);
  std::printf("parameter check result: %s\n", result.ok ? "all in range" : "out of range");
  if (failures || mismatches) {
    std::printf("ERROR: %zu parse failures, %zu texts changed in the round trip\n", failures, mismatches);
    return 1;
  }
  return 0;
}
