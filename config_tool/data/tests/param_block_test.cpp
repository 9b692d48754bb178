// Bit encodings, value kinds that follow other values, formatting, and the
// refusal of values that the record cannot hold.
#include <gtest/gtest.h>

#include <vector>

#include "axcfg_data/axis_layout.h"
#include "axcfg_data/le_bytes.h"
#include "axcfg_data/param_block.h"
#include "axcfg_data/position_units.h"

using namespace axcfg;

namespace {

std::vector<uint8_t> Bytes(const CParamBlock& b, int axis) {
  return std::vector<uint8_t>(b.RecordBytes(axis), b.RecordBytes(axis) + kParamRecordBytes);
}

uint16_t Word(const CParamBlock& b, int axis, int offset) { return GetLe16(b.RecordBytes(axis) + offset); }

// Sets a value and checks that exactly the expected 16-bit word changed.
void ExpectWord(CParamBlock& b, int no, uint32_t value, int offset, uint16_t word) {
  std::vector<uint8_t> before = Bytes(b, 2);
  ASSERT_TRUE(b.SetParam(no, 2, value)) << "parameter " << no << " value " << value;
  EXPECT_EQ(Word(b, 2, offset), word) << "parameter " << no << " value " << value;
  EXPECT_EQ(b.GetParam(no, 2), value) << "parameter " << no;
  std::vector<uint8_t> after = Bytes(b, 2);
  for (size_t i = 0; i < kParamRecordBytes; ++i) {
    if (i != static_cast<size_t>(offset) && i != static_cast<size_t>(offset) + 1) {
      EXPECT_EQ(after[i], before[i]) << "parameter " << no << " touched offset " << i;
    }
  }
}

}  // namespace

TEST(ParamBits, FlagWordsAndMultiBitChoices) {
  CParamBlock b;
  // Pulse input flags at 14 (reset 0x20): direction bit 0, mode bits 2-3,
  // multiple bits 4-5, purpose bits 6-7; 0/1/2 as 00/01/10.
  ExpectWord(b, 17, 1, 14, 0x21);
  ExpectWord(b, 18, 2, 14, 0x29);
  ExpectWord(b, 19, 0, 14, 0x09);
  ExpectWord(b, 16, 2, 14, 0x89);
  ExpectWord(b, 16, 1, 14, 0x49);
  // Torque and speed judgment at 56: 0/1/2 as 00/01/11.
  ExpectWord(b, 25, 2, 56, 0x03);
  ExpectWord(b, 27, 1, 56, 0x07);
  ExpectWord(b, 27, 2, 56, 0x0F);
  ExpectWord(b, 25, 0, 56, 0x0C);
  // Software limit flags at 22.
  ExpectWord(b, 13, 1, 22, 0x04);
  ExpectWord(b, 11, 1, 22, 0x05);
  // Flags at 40 (reset 1) and 42 (reset 0x30).
  ExpectWord(b, 5, 0, 40, 0x00);
  ExpectWord(b, 8, 1, 40, 0x04);
  ExpectWord(b, 3, 1, 42, 0x31);
  ExpectWord(b, 9, 1, 42, 0x35);
  ExpectWord(b, 10, 1, 42, 0x3D);
  ExpectWord(b, 6, 0, 42, 0x2D);
  ExpectWord(b, 7, 0, 42, 0x0D);
  ExpectWord(b, 45, 1, 82, 0x02);
  ExpectWord(b, 53, 1, 130, 0x02);
  // Unit codes.
  ExpectWord(b, 0, 3, 0, 0x0200);
  ExpectWord(b, 0, 6, 0, 0x0301);
}

TEST(ParamBits, JudgmentPatternTenAndUnknownUnitCodes) {
  CParamBlock b;
  uint8_t rec[kParamRecordBytes];
  std::copy_n(b.RecordBytes(0), kParamRecordBytes, rec);
  PutLe16(rec + 56, 0x02);    // torque judgment bits 10: no choice
  PutLe16(rec + 0, 0x0505);   // not a unit code
  ASSERT_TRUE(b.SetRecordBytes(0, rec, sizeof rec));
  EXPECT_EQ(b.GetParam(25, 0), 3u);
  EXPECT_EQ(b.GetChoiceText(25, 3), "");
  EXPECT_FALSE(b.CheckAll(0x01).ok);
  EXPECT_EQ(b.GetParam(0, 0), 0u);  // reads as pulse
  EXPECT_EQ(b.GetDecimals(14, 0), 0);
}

TEST(ParamBits, DirectionBitFollowsTheFamily) {
  CParamBlock b;
  ASSERT_TRUE(b.SetParam(4, 0, 1));
  EXPECT_EQ(Word(b, 0, 40), 0x03);
  EXPECT_EQ(Word(b, 0, 42), 0x30);
  b.SetFamily(1);
  EXPECT_EQ(b.GetParam(4, 0), 0u);  // family 1 keeps it at offset 42
  ASSERT_TRUE(b.SetParam(4, 0, 1));
  EXPECT_EQ(Word(b, 0, 42), 0x32);
  EXPECT_EQ(Word(b, 0, 40), 0x03);
}

TEST(ParamBits, HomeReturnCodeAcrossFamilies) {
  CParamBlock b;
  b.SetFamily(1);
  ASSERT_TRUE(b.SetParam(34, 0, 6));  // "8:Data set"
  EXPECT_EQ(Word(b, 0, 64), 8);
  EXPECT_EQ(b.FormatParam(34, 0), "8:Data set");
  EXPECT_FALSE(b.SetParam(34, 0, 7));  // family 1 has 7 choices
  b.SetFamily(0);
  EXPECT_EQ(b.GetParam(34, 0), 8u);
  EXPECT_EQ(b.FormatParam(34, 0), "8:Data set");

  // Stop-on-contact codes stored in family 0 are no choice of family 1.
  ASSERT_TRUE(b.SetParam(34, 1, 6));
  ASSERT_TRUE(b.SetParam(34, 2, 7));
  b.SetFamily(1);
  EXPECT_EQ(b.GetParam(34, 1), 9u);
  EXPECT_EQ(b.GetParam(34, 2), 9u);
  EXPECT_EQ(b.GetChoiceText(34, 9), "");
  ParamCheckResult r = b.CheckAll();
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.param, 34);
  EXPECT_EQ(r.axis, 1);
}

TEST(ParamBits, BadValuesAreRefusedAndChangeNothing) {
  CParamBlock b;
  const CParamBlock before = b;
  EXPECT_FALSE(b.SetParam(21, 0, 300));      // 8-bit field
  EXPECT_FALSE(b.SetParam(24, 0, 70000));    // 16-bit field
  EXPECT_FALSE(b.SetParam(0, 0, 7));         // 7 units only
  EXPECT_FALSE(b.SetParam(5, 0, 2));
  EXPECT_FALSE(b.SetParam(16, 0, 3));
  EXPECT_FALSE(b.SetParam(25, 0, 3));
  EXPECT_FALSE(b.SetParam(52, 0, 3));        // the fourth pulser input is family 1's
  EXPECT_FALSE(b.SetParam(35, 0, 1));        // defined, but no field
  EXPECT_FALSE(b.SetParam(61, 0, 1));
  EXPECT_FALSE(b.SetParam(-1, 0, 1));
  EXPECT_FALSE(b.SetParam(1, 8, 5));
  EXPECT_FALSE(b.SetParam(1, -1, 5));
  EXPECT_EQ(b, before);
  EXPECT_EQ(b.GetParam(61, 0), 0u);
  EXPECT_EQ(b.GetParam(0, 9), 0u);
  EXPECT_EQ(b.RecordBytes(8), nullptr);
  EXPECT_EQ(b.GetParamName(61), "");
  EXPECT_EQ(b.FormatParam(99, 0), "");
  EXPECT_FALSE(b.IsInRange(61, 0, 0));
  uint8_t shortRecord[10] = {};
  EXPECT_FALSE(b.SetRecordBytes(0, shortRecord, sizeof shortRecord));
  EXPECT_EQ(b, before);
}

TEST(ParamBits, DeviationCounterClearTimeTouchesNothingElse) {
  CParamBlock b;
  b.SetFamily(1);
  std::vector<uint8_t> before = Bytes(b, 5);
  ASSERT_TRUE(b.SetParam(44, 5, 77));
  std::vector<uint8_t> after = Bytes(b, 5);
  for (size_t i = 0; i < kParamRecordBytes; ++i)
    if (i != 80 && i != 81) { EXPECT_EQ(after[i], before[i]) << i; }
  EXPECT_EQ(Word(b, 5, 80), 77);
  for (int no = 0; no < kParamCount; ++no)
    if (no != 44) { EXPECT_EQ(b.GetParam(no, 5), CParamBlock().GetParam(no, 5)) << no; }
}

TEST(ParamKinds, KindsFollowUnitLimitSwitchAuxModeAndHomeMethod) {
  CParamBlock b;
  EXPECT_EQ(b.GetParamKind(1, 0), kKindNotUsed);
  EXPECT_EQ(b.GetParamKind(2, 0), kKindNotUsed);
  ASSERT_TRUE(b.SetParam(0, 0, 1));  // um [Min 0.1]
  EXPECT_EQ(b.GetParamKind(1, 0), kKindUnsigned);
  EXPECT_EQ(b.GetParamKind(2, 0), kKindUnsigned);
  EXPECT_EQ(b.GetParamKind(14, 0), kKindSignedFixed);
  EXPECT_EQ(b.GetParamKind(41, 0), kKindUnsigned);
  ASSERT_TRUE(b.SetParam(0, 0, 4));  // inch [Min 0.0001]
  EXPECT_EQ(b.GetParamKind(2, 0), kKindFixed);
  EXPECT_EQ(b.GetDecimals(2, 0), 4);
  EXPECT_EQ(b.GetParamKind(41, 0), kKindFixed);
  EXPECT_EQ(b.GetDecimals(41, 0), 3);
  EXPECT_EQ(b.GetDecimals(14, 0), 4);
  EXPECT_EQ(b.RangeText(2, 0), "0.0001 - 6.5535");
  ASSERT_TRUE(b.SetParam(0, 0, 6));  // degree [Min 1]
  EXPECT_EQ(b.GetParamKind(14, 0), kKindSigned);
  EXPECT_EQ(b.GetParamKind(2, 0), kKindUnsigned);
  EXPECT_EQ(b.GetParamKind(33, 0), kKindFixed);
  EXPECT_EQ(b.RangeText(33, 0), "0.000 - 32767.000");

  EXPECT_EQ(b.GetParamKind(8, 0), kKindChoiceUnavailable);
  ASSERT_TRUE(b.SetParam(5, 0, 0));
  EXPECT_EQ(b.GetParamKind(8, 0), kKindChoice);

  EXPECT_EQ(b.GetParamKind(22, 0), kKindNotUsed);
  ASSERT_TRUE(b.SetParam(20, 0, 2));
  EXPECT_EQ(b.GetParamKind(22, 0), kKindUnsigned);

  for (uint32_t code = 0; code <= 8; ++code) {
    ASSERT_TRUE(b.SetParam(34, 0, code));
    int expected = (code == 6 || code == 7) ? kKindUnsigned : kKindNotUsed;
    EXPECT_EQ(b.GetParamKind(36, 0), expected) << code;
    EXPECT_EQ(b.GetParamKind(37, 0), expected) << code;
  }
}

TEST(ParamFormat, ValuesShowWithTheDecimalsOfTheirUnit) {
  CParamBlock b;
  ASSERT_TRUE(b.SetParam(0, 0, 1));  // um [Min 0.1]
  EXPECT_EQ(b.FormatParam(14, 0), "107374182.3");
  EXPECT_EQ(b.FormatParam(15, 0), "-107374182.3");
  ASSERT_TRUE(b.SetParam(0, 0, 6));  // degree [Min 1]
  EXPECT_EQ(b.FormatParam(14, 0), "1073741823");
  EXPECT_EQ(b.FormatParam(15, 0), "-1073741823");
  EXPECT_EQ(b.FormatParam(26, 0), "500.0");
  EXPECT_EQ(b.FormatParam(5, 0), "N:Not available");
  EXPECT_EQ(b.FormatParam(0, 0), "D:degree [Min 1]");
  ASSERT_TRUE(b.SetParam(0, 1, 3));  // inch [Min 0.00001]
  ASSERT_TRUE(b.SetParam(48, 1, 5));
  EXPECT_EQ(b.FormatParam(48, 1), "0.005");
  EXPECT_EQ(b.FormatParam(43, 1), "0");
  ASSERT_TRUE(b.SetParam(43, 1, static_cast<uint32_t>(-5)));
  EXPECT_EQ(b.FormatParam(43, 1), "-5");
  EXPECT_EQ(b.GetParamValue(43, 1), -5);
  ASSERT_TRUE(b.SetParam(29, 1, 0xFFFFFFFFu));  // unsigned fields are not sign-extended
  EXPECT_EQ(b.GetParamValue(29, 1), 4294967295LL);
  EXPECT_FALSE(b.IsInRange(29, 1, b.GetParamValue(29, 1)));
}

TEST(ParamFormat, EditLengths) {
  CParamBlock b;
  EXPECT_EQ(b.GetEditLength(0, 0), 0);
  EXPECT_EQ(b.GetEditLength(1, 0), 0);   // kind 8 with pulse
  EXPECT_EQ(b.GetEditLength(14, 0), 11);
  EXPECT_EQ(b.GetEditLength(21, 0), 3);
  EXPECT_EQ(b.GetEditLength(28, 0), 4);
  EXPECT_EQ(b.GetEditLength(33, 0), 8);
  EXPECT_EQ(b.GetEditLength(41, 0), 10);
  EXPECT_EQ(b.GetEditLength(46, 0), 5);
  EXPECT_EQ(b.GetEditLength(26, 0), 5);  // kind 5
  ASSERT_TRUE(b.SetParam(0, 0, 1));
  EXPECT_EQ(b.GetEditLength(14, 0), 12);
  ASSERT_TRUE(b.SetParam(0, 0, 5));
  EXPECT_EQ(b.GetEditLength(33, 0), 9);
  EXPECT_EQ(b.GetEditLength(41, 0), 11);
}

TEST(ParamCheck, PulseUnitSkipsParametersOneAndTwo) {
  CParamBlock b;
  ASSERT_TRUE(b.SetParam(1, 0, 0));  // below the range, stored all the same
  ASSERT_TRUE(b.SetParam(2, 0, 70000));
  EXPECT_TRUE(b.CheckAll().ok);
  ASSERT_TRUE(b.SetParam(0, 0, 2));
  ParamCheckResult r = b.CheckAll();
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.param, 1);
  EXPECT_EQ(r.axis, 0);
}

TEST(ParamCheck, AxisOrderRowOrderAndAxisMask) {
  CParamBlock b;
  ASSERT_TRUE(b.SetParam(48, 5, 0));   // JOG target speed 0
  ASSERT_TRUE(b.SetParam(60, 3, 40000000));
  ASSERT_TRUE(b.SetParam(24, 3, 40000));
  ParamCheckResult r = b.CheckAll();
  EXPECT_EQ(r.axis, 3);
  EXPECT_EQ(r.param, 24);  // row 14 comes before row 43
  r = b.CheckAll(0x20);
  EXPECT_EQ(r.axis, 5);
  EXPECT_EQ(r.param, 48);
  EXPECT_TRUE(b.CheckAll(0x07).ok);
  b.SetFamily(1);  // completion width is not a family-1 row
  r = b.CheckAll(0x08);
  EXPECT_EQ(r.param, 60);
}

TEST(ParamBlockOps, ResetCopyAndGroupUnits) {
  CParamBlock b;
  ASSERT_TRUE(b.SetParam(46, 0, 555));
  ASSERT_TRUE(b.SetParam(46, 1, 666));
  ASSERT_TRUE(b.SetParam(46, 7, 777));
  b.ResetAxes(0x02);
  EXPECT_EQ(b.GetParam(46, 0), 555u);
  EXPECT_EQ(b.GetParam(46, 1), 100u);
  b.CopyAxis(0, 4);
  EXPECT_EQ(Bytes(b, 4), Bytes(b, 0));
  const CParamBlock before = b;
  b.CopyAxis(0, 8);
  b.CopyAxis(-1, 2);
  EXPECT_EQ(b, before);
  b.ResetAxes(0xFFFF);
  EXPECT_EQ(b, CParamBlock());

  CAxisLayout layout;
  layout.Clear();
  layout.Append(MakeGroupEntry(1, 0x03));
  layout.Append(MakeSingleAxisEntry(2));
  ASSERT_TRUE(SetGroupUnit(b, layout, 0, 1));
  EXPECT_EQ(b.GetUnitCode(1), kUnitUm01);
  EXPECT_EQ(b.GetUnitCode(2), kUnitPulse);
  ASSERT_TRUE(SetGroupUnit(b, layout, 2, 3));
  EXPECT_EQ(b.GetUnitCode(0), kUnitUm01);
  EXPECT_FALSE(SetGroupUnit(b, layout, 1, 9));
  EXPECT_EQ(b.GetUnitCode(1), kUnitUm01);
  b.SetUnitCode(1, kUnitDegree1);
  AlignGroupUnit(b, layout, 1);
  EXPECT_EQ(b.GetUnitCode(0), kUnitDegree1);
}

TEST(PositionUnits, TextsAndDecimals) {
  EXPECT_EQ(UnitShortText(kUnitUm01), "um [Min 0.1]");
  EXPECT_EQ(UnitShortText(kUnitPulse), "pulse");
  EXPECT_EQ(UnitSpeedText(kUnitInch00001), "inch");
  EXPECT_EQ(UnitSpeedText(kUnitUm1), "um");
  EXPECT_EQ(UnitSpeedText(kUnitDegree01), "degree");
  EXPECT_EQ(UnitName(0x0777), "pulse");
  EXPECT_EQ(UnitDecimals(0x0777), 0);
  const int decimals[] = {0, 1, 0, 5, 4, 1, 0};
  for (int c = 0; c < kUnitChoiceCount; ++c) {
    uint16_t code = 0;
    ASSERT_TRUE(UnitCodeOfChoice(c, code));
    EXPECT_EQ(UnitChoiceOfCode(code), c);
    EXPECT_EQ(UnitDecimals(code), decimals[c]);
  }
}
