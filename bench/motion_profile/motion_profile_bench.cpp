// Benchmark of the motion profile. Prints the median and the fastest of
// several runs of each step in milliseconds:
//   profile 600 tables   CMotionProfile over a chain through all 600 tables
//                        of a 2-axis group (C and P, linear and circular,
//                        linear and S-shaped ramps), table 600 ending it
//   sample 1500 states   the states the time chart draws
//
//   bench_motion_profile [RUNS]
#include <cstdio>
#include <cstdlib>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/motion_profile.h"
#include "bench_timing.h"

using namespace axcfg;

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
  RegisterAxisCfgDataStrings();

  CAxisCfgDoc doc;
  CAxisLayout layout;
  layout.Clear();
  layout.Append(MakeGroupEntry(1, 0x03));
  doc.SetLayout(layout);
  const uint8_t patterns[] = {0x00, 0x11, 0x01, 0x20, 0x10};
  for (int k = 0; k < kTableRowCount; ++k) {
    CPosData& row = *doc.GetPosData(k);
    for (int axis : {0, 1}) {
      row.SetControlMethod(axis, k == kTableRowCount - 1 ? kCtrlEnd : (k % 3 == 0 ? kCtrlContinue : kCtrlPass));
      row.SetInterpPattern(axis, patterns[k % 5]);
      row.SetMoveAmount(axis, axis == 0 ? 1000 + k : (k % 2 ? 500 : -300));
      row.SetAuxPoint(axis, axis == 0 ? 400 : 800);
      row.SetTargetSpeed(axis, 1000 + 10 * k);
      row.SetAccelTime(axis, 50 + k % 200);
      row.SetDecelTime(axis, 80 + k % 150);
      row.SetAccelPattern(axis, static_cast<uint8_t>(k % 2));
      row.SetDwellTime(axis, k % 3 == 0 ? 100 : 0);
    }
  }
  const uint32_t entry = doc.GetAxisEntry(0);

  size_t moves = 0;
  bench::Timing profile = bench::MeasureMs(runs, [&] {
    CMotionProfile p(doc, entry, 1);
    moves = p.Moves().size();
  });
  CMotionProfile p(doc, entry, 1);
  size_t states = 0;
  bench::Timing sample = bench::MeasureMs(runs, [&] { states = p.Sample(1500).size(); });

  std::printf("runs per step: %d; %zu tables in the chain, %.1f s of motion, end %d\n", runs, moves, p.Duration(),
              static_cast<int>(p.End()));
  bench::Print("profile 600 tables", profile);
  bench::Print("sample 1500 states", sample);
  return moves == kTableRowCount && states == 1500 ? 0 : 1;
}
