// The motion profile of a table sequence, against values worked out by hand:
// trapezoid and triangle times, S-shaped ramps, C, P and jump chains, group
// paths, and where invalid rows stop it.
#include <gtest/gtest.h>

#include <cmath>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/motion_profile.h"
#include "axcfg_data/position_units.h"

using namespace axcfg;

namespace {

constexpr double kEps = 1e-6;

// Axis 1 alone, and group A of axes 2 and 3.
CAxisCfgDoc& Layout(CAxisCfgDoc& doc) {
  CAxisLayout layout;
  layout.Clear();
  layout.Append(MakeSingleAxisEntry(0));
  layout.Append(MakeGroupEntry(1, 0x06));
  doc.SetLayout(layout);
  return doc;
}

const uint32_t kSingle = MakeSingleAxisEntry(0);

struct Row {
  uint8_t method = kCtrlEnd;
  int64_t move = 0;
  int64_t speed = 1000;
  int32_t accel = 100, decel = 100, dwell = 0;
  uint8_t sShape = 0;
  int16_t jump = 0;
  uint8_t mode = kPosIncrement;
};

// Writes the row-wide fields into every given axis and one movement amount each.
void Put(CAxisCfgDoc& doc, int tableNo, const Row& r, std::initializer_list<int> axes = {0},
         std::initializer_list<int64_t> moves = {}) {
  CPosData& row = *doc.GetPosData(tableNo - 1);
  auto amount = moves.begin();
  for (int axis : axes) {
    row.SetControlMethod(axis, r.method);
    row.SetMoveAmount(axis, amount != moves.end() ? *amount++ : r.move);
    row.SetTargetSpeed(axis, r.speed);
    row.SetAccelTime(axis, r.accel);
    row.SetDecelTime(axis, r.decel);
    row.SetDwellTime(axis, r.dwell);
    row.SetAccelPattern(axis, r.sShape);
    row.SetJumpNo(axis, r.jump);
    row.SetPositionMode(axis, r.mode);
  }
}

}  // namespace

TEST(MotionProfile, SingleEndMoveIsATrapezoid) {
  CAxisCfgDoc doc;
  Layout(doc);
  // 10000 pulses at 10000 pulse/s: 200 ms up (1000 pulses), 100 ms down
  // (500 pulses), 8500 pulses at full speed take 0.85 s.
  Put(doc, 7, {.method = kCtrlEnd, .move = 10000, .speed = 10000, .accel = 200, .decel = 100});
  CMotionProfile p(doc, kSingle, 7);
  ASSERT_EQ(p.Moves().size(), 1u);
  EXPECT_EQ(p.End(), ProfileEnd::Ended);
  const MovePlan& plan = p.Moves()[0].plan;
  EXPECT_NEAR(plan.rampUp, 0.2, kEps);
  EXPECT_NEAR(plan.constant, 0.85, kEps);
  EXPECT_NEAR(plan.rampDown, 0.1, kEps);
  EXPECT_NEAR(plan.peakSpeed, 10000, kEps);
  EXPECT_NEAR(p.Duration(), 1.15, kEps);
  EXPECT_NEAR(p.At(0.1).speed[0], 5000, 1e-3);
  EXPECT_NEAR(p.At(0.2).position[0], 1000, 1e-3);
  EXPECT_NEAR(p.At(1.1).speed[0], 5000, 1e-3);
  EXPECT_NEAR(p.At(1.15).position[0], 10000, 1e-3);
  EXPECT_NEAR(p.At(1.15).speed[0], 0.0, 1e-6);
  // Before the start and after the end the axis stands.
  EXPECT_EQ(p.At(-1).position[0], 0.0);
  EXPECT_NEAR(p.At(5).position[0], 10000, 1e-3);
}

TEST(MotionProfile, ValuesAreInTheAxisUnits) {
  CAxisCfgDoc doc;
  Layout(doc);
  // um [Min 0.1]: 100000 least units are 10000.0 um; the speed is in um/s.
  doc.GetParamBlock().SetUnitCode(0, kUnitUm01);
  Put(doc, 1, {.move = 100000, .speed = 10000, .accel = 200, .decel = 100});
  CMotionProfile um(doc, kSingle, 1);
  EXPECT_NEAR(um.Duration(), 1.15, kEps);
  EXPECT_NEAR(um.At(5).position[0], 10000.0, 1e-6);
  EXPECT_EQ(um.Axes()[0].decimals, 1);
  // inch [Min 0.00001] with speeds of 3 decimals: 1 inch at 1 inch/s.
  doc.GetParamBlock().SetUnitCode(0, kUnitInch00001);
  Put(doc, 1, {.move = 100000, .speed = 1000, .accel = 0, .decel = 0});
  CMotionProfile inch(doc, kSingle, 1);
  EXPECT_NEAR(inch.Duration(), 1.0, kEps);
  EXPECT_NEAR(inch.At(0.5).speed[0], 1.0, kEps);
  EXPECT_NEAR(inch.At(0.5).position[0], 0.5, kEps);
}

TEST(MotionProfile, TriangleWhenTheSpeedIsNeverReached) {
  CAxisCfgDoc doc;
  Layout(doc);
  // 50 pulses need 100 to reach 1000 pulse/s and stop again with 100 ms
  // ramps: the peak is sqrt(2 * 10000 * 50 / 2) = 707.1 after 70.7 ms.
  Put(doc, 1, {.move = 50, .speed = 1000});
  CMotionProfile p(doc, kSingle, 1);
  const MovePlan& plan = p.Moves()[0].plan;
  EXPECT_NEAR(plan.peakSpeed, std::sqrt(500000.0), 1e-6);
  EXPECT_NEAR(plan.rampUp, 0.0707107, 1e-6);
  EXPECT_NEAR(plan.rampDown, 0.0707107, 1e-6);
  EXPECT_NEAR(plan.constant, 0.0, kEps);
  EXPECT_NEAR(p.At(plan.rampUp).position[0], 25.0, 1e-6);
  EXPECT_NEAR(p.At(p.Duration()).position[0], 50.0, 1e-6);
  // Negative movement: the same times, the speed below zero.
  Put(doc, 1, {.move = -50, .speed = 1000});
  CMotionProfile back(doc, kSingle, 1);
  EXPECT_NEAR(back.At(back.Moves()[0].plan.rampUp).speed[0], -std::sqrt(500000.0), 1e-6);
}

TEST(MotionProfile, SShapedRampsTakeTheSameTimeOverTheSameDistance) {
  CAxisCfgDoc doc;
  Layout(doc);
  Put(doc, 1, {.move = 10000, .speed = 10000, .accel = 200, .decel = 200, .sShape = 1});
  CMotionProfile s(doc, kSingle, 1);
  EXPECT_NEAR(s.Moves()[0].plan.rampUp, 0.2, kEps);
  EXPECT_NEAR(s.Duration(), 1.2, kEps);
  // A quarter into the ramp a half cosine has reached (1 - cos 45 deg) / 2.
  EXPECT_NEAR(s.At(0.05).speed[0], 10000 * (1 - std::cos(M_PI / 4)) / 2, 1e-3);
  EXPECT_NEAR(s.At(0.1).speed[0], 5000, 1e-3);
  EXPECT_NEAR(s.At(0.2).position[0], 1000, 1e-3);
  EXPECT_NEAR(s.At(1.15).speed[0], 10000 * (1 - std::cos(M_PI / 4)) / 2, 1e-3);
  // The same row linear is a quarter of the speed at a quarter of the ramp.
  Put(doc, 1, {.move = 10000, .speed = 10000, .accel = 200, .decel = 200, .sShape = 0});
  EXPECT_NEAR(CMotionProfile(doc, kSingle, 1).At(0.05).speed[0], 2500, 1e-3);
}

TEST(MotionProfile, ContinuationStopsAndDwellsBeforeTheNextTable) {
  CAxisCfgDoc doc;
  Layout(doc);
  // 1000 at 1000/s with 100 ms ramps takes 1.1 s, then 0.5 s of dwell.
  Put(doc, 1, {.method = kCtrlContinue, .move = 1000, .dwell = 500});
  Put(doc, 2, {.method = kCtrlEnd, .move = -1000});
  CMotionProfile p(doc, kSingle, 1);
  ASSERT_EQ(p.Moves().size(), 2u);
  EXPECT_EQ(p.Moves()[0].tableNo, 1);
  EXPECT_EQ(p.Moves()[1].tableNo, 2);
  EXPECT_NEAR(p.Moves()[0].MoveEnd(), 1.1, kEps);
  EXPECT_NEAR(p.Moves()[1].startTime, 1.6, kEps);
  EXPECT_NEAR(p.Duration(), 2.7, kEps);
  // Standing still at 1000 during the dwell.
  EXPECT_EQ(p.At(1.3).speed[0], 0.0);
  EXPECT_NEAR(p.At(1.3).position[0], 1000, 1e-6);
  EXPECT_EQ(p.At(1.3).move, 0);
  EXPECT_NEAR(p.At(2.15).speed[0], -1000, 1e-6);
  EXPECT_NEAR(p.At(2.7).position[0], 0, 1e-6);
}

TEST(MotionProfile, PassHandsItsSpeedToTheNextTable) {
  CAxisCfgDoc doc;
  Layout(doc);
  // P: up to 1000/s in 0.1 s (50), then 950 at speed: 1.05 s, no stop and
  // no dwell. E: from 1000/s to 2000/s at 20000/s^2 (0.05 s, 75), down in
  // 0.2 s (200), the other 1725 at 2000/s take 0.8625 s.
  Put(doc, 1, {.method = kCtrlPass, .move = 1000, .dwell = 300});
  Put(doc, 2, {.method = kCtrlEnd, .move = 2000, .speed = 2000, .accel = 100, .decel = 200});
  CMotionProfile p(doc, kSingle, 1);
  ASSERT_EQ(p.Moves().size(), 2u);
  EXPECT_NEAR(p.Moves()[0].plan.endSpeed, 1000, kEps);
  EXPECT_NEAR(p.Moves()[1].startTime, 1.05, kEps);
  const MovePlan& second = p.Moves()[1].plan;
  EXPECT_NEAR(second.startSpeed, 1000, kEps);
  EXPECT_NEAR(second.rampUp, 0.05, kEps);
  EXPECT_NEAR(second.constant, 0.8625, kEps);
  EXPECT_NEAR(second.rampDown, 0.2, kEps);
  // Never below the pass speed across the change of table.
  for (double t = 0.1; t < 1.1; t += 0.01) EXPECT_GE(p.At(t).speed[0], 1000 - 1e-6) << t;
  EXPECT_NEAR(p.At(5).position[0], 3000, 1e-6);
  // A pass table too short for its speed hands on what it reached.
  Put(doc, 1, {.method = kCtrlPass, .move = 20});
  CMotionProfile shortPass(doc, kSingle, 1);
  EXPECT_NEAR(shortPass.Moves()[0].plan.endSpeed, std::sqrt(2 * 10000.0 * 20), 1e-6);
  // Slowing into a slower table uses that table's deceleration.
  Put(doc, 1, {.method = kCtrlPass, .move = 1000, .speed = 2000});
  Put(doc, 2, {.method = kCtrlEnd, .move = 2000, .speed = 1000, .accel = 100, .decel = 100});
  EXPECT_NEAR(CMotionProfile(doc, kSingle, 1).Moves()[1].plan.rampUp, 0.1, kEps);
}

TEST(MotionProfile, LoopsAndJumpsAreFollowedOnceAround) {
  CAxisCfgDoc doc;
  Layout(doc);
  // 1 -> 3 (jump) -> 4 -> back to 1.
  Put(doc, 1, {.method = kCtrlContinue, .move = 100, .jump = 3});
  Put(doc, 2, {.method = kCtrlContinue, .move = 999});
  Put(doc, 3, {.method = kCtrlPass, .move = 100});
  Put(doc, 4, {.method = kCtrlContinue, .move = -200, .jump = 1});
  CMotionProfile p(doc, kSingle, 1);
  ASSERT_EQ(p.Moves().size(), 3u);
  EXPECT_EQ(p.Moves()[1].tableNo, 3);
  EXPECT_EQ(p.Moves()[2].tableNo, 4);
  EXPECT_EQ(p.End(), ProfileEnd::Repeats);
  EXPECT_EQ(p.RepeatsFrom(), 1);
  EXPECT_NEAR(p.At(p.Duration()).position[0], 0, 1e-6);
  // Starting inside the loop repeats from where the loop closes on itself.
  CMotionProfile inner(doc, kSingle, 4);
  EXPECT_EQ(inner.Moves().size(), 3u);
  EXPECT_EQ(inner.RepeatsFrom(), 4);
  // A table that jumps to itself runs once.
  Put(doc, 10, {.method = kCtrlContinue, .move = 5, .jump = 10});
  CMotionProfile self(doc, kSingle, 10);
  EXPECT_EQ(self.Moves().size(), 1u);
  EXPECT_EQ(self.RepeatsFrom(), 10);
}

TEST(MotionProfile, JogPositioningEndsTheChain) {
  CAxisCfgDoc doc;
  Layout(doc);
  Put(doc, 1, {.method = kCtrlContinue, .move = 100});
  Put(doc, 2, {.method = kCtrlJog, .move = 100});
  Put(doc, 3, {.method = kCtrlContinue, .move = 100});
  CMotionProfile p(doc, kSingle, 1);
  EXPECT_EQ(p.Moves().size(), 2u);
  EXPECT_EQ(p.End(), ProfileEnd::Ended);
}

TEST(MotionProfile, InvalidRowsStopWithTheCheckMessage) {
  CAxisCfgDoc doc;
  Layout(doc);
  Put(doc, 1, {.method = kCtrlContinue, .move = 100});
  Put(doc, 2, {.method = kCtrlEnd, .move = 100, .speed = 0});
  CMotionProfile p(doc, kSingle, 1);
  EXPECT_EQ(p.Moves().size(), 1u);
  EXPECT_EQ(p.End(), ProfileEnd::Invalid);
  EXPECT_EQ(p.InvalidTableNo(), 2);
  EXPECT_EQ(p.Message(), "An error was found in the following. : \r\nTable No. 2: Axis Speed");

  // A movement amount of the second group member, and J in a group.
  const uint32_t group = MakeGroupEntry(1, 0x06);
  Put(doc, 5, {.method = kCtrlEnd}, {1, 2}, {0, 1073741824});
  EXPECT_EQ(CMotionProfile(doc, group, 5).Message(),
            "An error was found in the following. : \r\nTable No. 5: Y axis(3) movement amount");
  Put(doc, 5, {.method = kCtrlJog}, {1, 2}, {0, 0});
  EXPECT_EQ(CMotionProfile(doc, group, 5).Message(), "An error was found in the following. : \r\nTable No. 5: Pattern");

  // A jump table No. out of range, which no column shows.
  Put(doc, 8, {.method = kCtrlContinue, .jump = 601});
  CMotionProfile jump(doc, kSingle, 8);
  EXPECT_TRUE(jump.Moves().empty());
  EXPECT_EQ(jump.Message(), "Failed in the error check.\r\nTable No. 8: Jump No.");

  // A start outside the tables.
  EXPECT_EQ(CMotionProfile(doc, kSingle, 0).End(), ProfileEnd::Invalid);
  EXPECT_EQ(CMotionProfile(doc, kSingle, 601).End(), ProfileEnd::Invalid);
}

TEST(MotionProfile, GroupMovesAlongALine) {
  CAxisCfgDoc doc;
  Layout(doc);
  const uint32_t group = MakeGroupEntry(1, 0x06);
  // 3000 by 4000 at 1000/s along the path, no ramps: 5 s, X at 600/s, Y at 800/s.
  Put(doc, 1, {.method = kCtrlEnd, .speed = 1000, .accel = 0, .decel = 0}, {1, 2}, {3000, 4000});
  CMotionProfile p(doc, group, 1);
  ASSERT_EQ(p.Axes().size(), 2u);
  EXPECT_EQ(p.Axes()[1].axis, 2);
  EXPECT_EQ(p.Axes()[1].letter, 'Y');
  EXPECT_NEAR(p.Duration(), 5.0, kEps);
  ProfileState mid = p.At(2.5);
  EXPECT_NEAR(mid.position[0], 1500, 1e-6);
  EXPECT_NEAR(mid.position[1], 2000, 1e-6);
  EXPECT_NEAR(mid.speed[0], 600, 1e-6);
  EXPECT_NEAR(mid.speed[1], 800, 1e-6);
  // Long-axis speed: Y runs at 1000/s, so 4 s.
  for (int axis : {1, 2}) doc.GetPosData(0)->SetInterpPattern(axis, 0x01);
  CMotionProfile longAxis(doc, group, 1);
  EXPECT_NEAR(longAxis.Duration(), 4.0, kEps);
  EXPECT_NEAR(longAxis.At(2).speed[1], 1000, 1e-6);
  EXPECT_NEAR(longAxis.At(2).speed[0], 750, 1e-6);
  // Absolute mode goes to the positions themselves.
  Put(doc, 2, {.method = kCtrlEnd, .speed = 1000, .accel = 0, .decel = 0, .mode = kPosAbsolute}, {1, 2}, {100, 100});
  Put(doc, 1, {.method = kCtrlContinue, .speed = 1000, .accel = 0, .decel = 0}, {1, 2}, {3000, 4000});
  CMotionProfile absolute(doc, group, 1);
  EXPECT_NEAR(absolute.At(100).position[0], 100, 1e-6);
  EXPECT_NEAR(absolute.At(100).position[1], 100, 1e-6);
}

TEST(MotionProfile, CircularPathsTurnTheWayThePatternSays) {
  // Centre 100 to the right of the start, end 100 up from the centre.
  const MotionPoint start{0, 0, 0}, end{100, 100, 0}, centre{100, 0, 0};
  CMotionPath cw = CMotionPath::Make(2, 0x10, start, end, centre);
  EXPECT_TRUE(cw.IsArc());
  EXPECT_NEAR(cw.Length(), 100 * M_PI / 2, 1e-9);
  EXPECT_NEAR(cw.At(0.5)[0], 100 - 100 / std::sqrt(2.0), 1e-9);
  EXPECT_NEAR(cw.At(0.5)[1], 100 / std::sqrt(2.0), 1e-9);
  CMotionPath ccw = CMotionPath::Make(2, 0x11, start, end, centre);
  EXPECT_NEAR(ccw.Length(), 100 * 3 * M_PI / 2, 1e-9);
  EXPECT_LT(ccw.At(0.5)[1], 0);
  // Through a pass point: the half circle over the top.
  CMotionPath pass = CMotionPath::Make(2, 0x20, start, {200, 0, 0}, {100, 100, 0});
  EXPECT_NEAR(pass.Length(), 100 * M_PI, 1e-9);
  EXPECT_NEAR(pass.At(0.5)[1], 100, 1e-9);
  // A spiral turning in X-Y while Z rises.
  CMotionPath spiral = CMotionPath::Make(3, 0x54, start, {100, 100, 50}, centre);
  EXPECT_NEAR(spiral.Length(), std::hypot(100 * M_PI / 2, 50), 1e-9);
  EXPECT_NEAR(spiral.At(0.5)[2], 25, 1e-9);
  // A whole circle back to the start.
  EXPECT_NEAR(CMotionPath::Make(2, 0x11, start, start, centre).Length(), 200 * M_PI, 1e-9);
}

TEST(MotionProfile, AnyValidChainEndsWhereItsTablesSayWithFiniteValues) {
  // Valid values from the edges of their ranges: zero ramps, the slowest and
  // fastest speeds, zero and long movements, every pattern of the group.
  CAxisCfgDoc doc;
  Layout(doc);
  const uint32_t group = MakeGroupEntry(1, 0x06);
  const uint8_t patterns[] = {0x00, 0x01, 0x10, 0x11, 0x20};
  const int64_t amounts[] = {0, 1, -1, 1000, -250000, 1073741823};
  const int64_t speeds[] = {1, 1000, 32767000};
  const int32_t times[] = {0, 1, 100, 10000};
  uint32_t seed = 12345;
  const auto next = [&seed](uint32_t n) {
    seed = seed * 1664525u + 1013904223u;
    return (seed >> 8) % n;
  };
  for (int round = 0; round < 40; ++round) {
    for (int k = 0; k < 12; ++k) {
      CPosData& row = *doc.GetPosData(k);
      const uint8_t method = k == 11 ? kCtrlEnd : static_cast<uint8_t>(next(2) ? kCtrlPass : kCtrlContinue);
      const uint8_t pattern = patterns[next(5)];
      const int64_t speed = speeds[next(3)];
      const int32_t accel = times[next(4)], decel = times[next(4)];
      const uint8_t mode = static_cast<uint8_t>(next(2));
      for (int axis : {1, 2}) {
        row.SetControlMethod(axis, method);
        row.SetInterpPattern(axis, pattern);
        row.SetPositionMode(axis, mode);
        row.SetMoveAmount(axis, amounts[next(6)]);
        row.SetAuxPoint(axis, amounts[next(6)]);
        row.SetTargetSpeed(axis, speed);
        row.SetAccelTime(axis, accel);
        row.SetDecelTime(axis, decel);
        row.SetAccelPattern(axis, static_cast<uint8_t>(next(2)));
      }
    }
    CMotionProfile p(doc, group, 1);
    ASSERT_EQ(p.End(), ProfileEnd::Ended) << p.Message();
    ASSERT_EQ(p.Moves().size(), 12u);
    ASSERT_TRUE(std::isfinite(p.Duration()));
    for (const ProfileMove& m : p.Moves()) {
      ASSERT_TRUE(std::isfinite(m.plan.Duration())) << round << " table " << m.tableNo;
      ASSERT_GE(m.plan.rampUp, 0);
      ASSERT_GE(m.plan.constant, 0);
      ASSERT_GE(m.plan.rampDown, 0);
      // The distance of the plan is the path's, and a stop ends at rest.
      EXPECT_NEAR(m.plan.DistanceAt(m.plan.Duration() * (1 - 1e-12)), m.path.SpeedLength(),
                  1e-6 * std::max(1.0, m.path.SpeedLength()))
          << m.plan.startSpeed << " " << m.plan.peakSpeed << " " << m.plan.endSpeed << " " << m.plan.rampUp << " "
          << m.plan.constant << " " << m.plan.rampDown << " " << m.plan.sShaped << " " << m.controlMethod + 0;
      if (m.controlMethod != kCtrlPass) EXPECT_EQ(m.plan.endSpeed, 0.0);
    }
    for (const ProfileState& s : p.Sample(200))
      for (int i = 0; i < 2; ++i) ASSERT_TRUE(std::isfinite(s.position[i]) && std::isfinite(s.speed[i]));
    const MotionPoint last = p.At(p.Duration() + 1).position;
    const MotionPoint end = p.Moves().back().path.End();
    EXPECT_EQ(last[0], end[0]);
    EXPECT_EQ(last[1], end[1]);
  }
}
