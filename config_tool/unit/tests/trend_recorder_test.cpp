// The trend's samples: the ring, the values and units of each channel, and
// the CSV rows of an export, a recording and the command line.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/position_units.h"
#include "axcfg_unit/monitor_strings.h"
#include "axcfg_unit/trend_csv.h"
#include "test_home.h"

using namespace axcfg;

namespace {

constexpr int kCur = static_cast<int>(TrendValue::CurrentValue), kSpeed = static_cast<int>(TrendValue::Speed),
              kTorque = static_cast<int>(TrendValue::Torque), kDev = static_cast<int>(TrendValue::Deviation);

TrendSample Sample(int64_t timeMs, int32_t position, uint16_t unitCode = kUnitUm01) {
  TrendSample s;
  s.timeMs = timeMs;
  s.axes[0].present = true;
  s.axes[0].unitCode = unitCode;
  s.axes[0].raw = {position, 1000, 305, -7};
  return s;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

struct TrendTest : ::testing::Test {
  void SetUp() override {
    RegisterAxisCfgDataStrings();
    RegisterMonitorStrings();
  }
};

TEST_F(TrendTest, RingKeepsTheNewestInOrderAndFindsTimesAfterWrapping) {
  CTrendRecorder r(5);
  EXPECT_TRUE(r.Empty());
  for (int i = 0; i < 12; ++i) r.Append(Sample(1000 + 100 * i, i));
  EXPECT_EQ(r.Size(), 5u);
  EXPECT_EQ(r.Appended(), 12u);
  EXPECT_EQ(r.OriginMs(), 1000);  // the zero of the time axis stays after the first sample left
  for (size_t i = 0; i < r.Size(); ++i) EXPECT_EQ(r.At(i).axes[0].raw[kCur], static_cast<int32_t>(7 + i));
  EXPECT_EQ(r.Latest().timeMs, 2100);
  EXPECT_EQ(r.LowerBound(0), 0u);
  EXPECT_EQ(r.LowerBound(1900), 2u);
  EXPECT_EQ(r.LowerBound(1901), 3u);
  EXPECT_EQ(r.LowerBound(5000), 5u);
  EXPECT_EQ(r.Nearest(1949), 2u);
  EXPECT_EQ(r.Nearest(1951), 3u);
  EXPECT_EQ(r.Nearest(-5), 0u);
  EXPECT_EQ(r.Nearest(9999), 4u);

  // A clock set back does not make time run backwards.
  r.Append(Sample(500, 99));
  EXPECT_EQ(r.Latest().timeMs, 2100);
  EXPECT_EQ(r.LowerBound(2100), 3u);  // the first of the two at 2100
}

TEST_F(TrendTest, ThirtyMinutesAtTheMonitorsRateFitInTheRing) {
  const size_t capacity = CTrendRecorder::CapacityFor(200);
  EXPECT_EQ(capacity, 9000u);
  EXPECT_EQ(CTrendRecorder::CapacityFor(300), 6000u);
  EXPECT_EQ(CTrendRecorder::CapacityFor(7, 1), 8572u);  // rounded up
  CTrendRecorder r(capacity);
  const int64_t start = 1'700'000'000'000;
  for (int i = 0; i <= 30 * 60 * 5 - 1; ++i) r.Append(Sample(start + 200LL * i, i));
  EXPECT_EQ(r.Size(), 9000u);
  EXPECT_EQ(r.At(0).timeMs, start);
  EXPECT_EQ(r.Latest().timeMs - r.At(0).timeMs, 30 * 60 * 1000 - 200);
  r.Append(Sample(start + 30 * 60 * 1000, 0));
  EXPECT_EQ(r.At(0).timeMs, start + 200);
}

TEST_F(TrendTest, SnapshotsGiveTheConnectedMonitoredAxes) {
  DataMonitorSnapshot snap;
  snap.connection = 0x0300;  // axes 1 and 2
  snap.axes[0] = {kUnitUm01, 11, 125, 305, 1500, 0, 0, 0, -3, 0, 0};
  snap.axes[1].currentValue = 9;
  const std::vector<MonitorAxis> axes = {{0, "1 axis"}, {2, "3 axis"}};
  EXPECT_FALSE(TrendSampleOf(snap, axes, 5).axes[0].present);  // not a successful cycle
  snap.valid = true;
  const TrendSample s = TrendSampleOf(snap, axes, 5);
  EXPECT_EQ(s.timeMs, 5);
  ASSERT_TRUE(s.axes[0].present);
  EXPECT_FALSE(s.axes[1].present);  // connected but not monitored
  EXPECT_FALSE(s.axes[2].present);  // monitored but not connected
  EXPECT_EQ(s.axes[0].raw[kCur], 125);
  EXPECT_EQ(s.axes[0].raw[kSpeed], 1500);
  EXPECT_EQ(s.axes[0].raw[kTorque], 305);
  EXPECT_EQ(s.axes[0].raw[kDev], -3);
}

TEST_F(TrendTest, ValuesUnitsAndTextsAsTheMonitorShowsThem) {
  TrendAxisSample a = Sample(0, -125).axes[0];
  EXPECT_DOUBLE_EQ(TrendNumber(a, TrendValue::CurrentValue), -12.5);
  EXPECT_DOUBLE_EQ(TrendNumber(a, TrendValue::Torque), 30.5);
  EXPECT_DOUBLE_EQ(TrendNumber(a, TrendValue::Speed), 1000);
  EXPECT_EQ(TrendNumberText(a, TrendValue::CurrentValue), "-12.5");
  EXPECT_EQ(TrendMonitorText(a, TrendValue::CurrentValue), "-12.5 um  Min. unit 0.1 um");
  EXPECT_EQ(TrendMonitorText(a, TrendValue::Torque), "30.5");
  EXPECT_EQ(TrendMonitorText(a, TrendValue::Deviation), "-7");
  EXPECT_EQ(TrendUnitText(TrendValue::CurrentValue, kUnitUm01), "um");
  EXPECT_EQ(TrendUnitText(TrendValue::CurrentValue, kUnitInch00001), "inch");
  EXPECT_EQ(TrendUnitText(TrendValue::CurrentValue, kUnitDegree1), "degree");
  EXPECT_EQ(TrendUnitText(TrendValue::Speed, kUnitUm01), "rpm");
  EXPECT_EQ(TrendUnitText(TrendValue::Torque, kUnitUm01), "%");
  EXPECT_EQ(TrendUnitText(TrendValue::Deviation, kUnitUm01), "pulse");

  a.unitCode = kUnitInch00001;
  a.raw[kCur] = 123456;
  EXPECT_DOUBLE_EQ(TrendNumber(a, TrendValue::CurrentValue), 1.23456);
  EXPECT_EQ(TrendNumberText(a, TrendValue::CurrentValue), "1.23456");

  // A code that is no unit of position has no current value, as in the monitor.
  a.unitCode = 0x0999;
  EXPECT_FALSE(TrendHasValue(a, TrendValue::CurrentValue));
  EXPECT_TRUE(TrendHasValue(a, TrendValue::Speed));
  EXPECT_EQ(TrendMonitorText(a, TrendValue::CurrentValue), "--------");
  a.present = false;
  EXPECT_EQ(TrendNumberText(a, TrendValue::Speed), "");
  EXPECT_EQ(TrendMonitorText(a, TrendValue::Speed), "--------");
}

TEST_F(TrendTest, CsvHasOneColumnPerChannelWithUnitsAndQuotesWhatNeedsIt) {
  const std::vector<MonitorAxis> axes = {{0, "X, \"left\""}, {1, "2 axis"}};
  CTrendCsvColumns cols({{0, TrendValue::CurrentValue}, {0, TrendValue::Torque}, {1, TrendValue::Speed}}, axes);
  TrendSample first = Sample(10'000, 125);
  cols.TakeUnits(first);
  cols.FixUnits();  // axis 2 has no sample yet: pulses
  EXPECT_EQ(cols.HeaderLine(),
            "Time [s],Clock,\"X, \"\"left\"\" Current value [um]\",\"X, \"\"left\"\" Torque [%]\","
            "2 axis Speed [rpm]\r\n");
  const std::string row = cols.RowLine(first, 7'500);
  EXPECT_EQ(row.substr(0, 6), "2.500,");
  EXPECT_TRUE(EndsWith(row, ",12.5,30.5,\r\n")) << row;  // axis 2 absent: empty field
  EXPECT_EQ(row.substr(6, TrendClockText(10'000).size()), TrendClockText(10'000));
  EXPECT_EQ(TrendClockText(10'000).size(), 23u);
  EXPECT_EQ(TrendClockText(10'042).substr(19), ".042");

  // A sample in another unit than its column's is not written under the wrong unit.
  TrendSample other = Sample(10'200, 50, kUnitInch0001);
  const std::string otherRow = cols.RowLine(other, 7'500);
  EXPECT_TRUE(EndsWith(otherRow, ",,30.5,\r\n")) << otherRow;
}

TEST_F(TrendTest, ExportWritesEveryKeptSampleAndReportsFailures) {
  CTrendRecorder r(3);
  for (int i = 0; i < 4; ++i) r.Append(Sample(1000 + 200 * i, 10 * i));
  const CTrendCsvColumns cols({{0, TrendValue::CurrentValue}, {0, TrendValue::Deviation}}, {{0, "1 axis"}});
  const std::string dir = keldtest::FreshDir("trend_export");
  std::string error;
  ASSERT_TRUE(ExportTrendCsv(r, cols, dir + "/t.csv", error)) << error;
  const std::string text = keldtest::ReadWholeFile(dir + "/t.csv");
  EXPECT_EQ(text.substr(0, text.find("\r\n")), "Time [s],Clock,1 axis Current value [um],1 axis Deviation [pulse]");
  // The ring kept the last three; times count from the first sample ever.
  EXPECT_NE(text.find("\r\n0.200,"), std::string::npos);
  EXPECT_NE(text.find(",1.0,-7\r\n0.400,"), std::string::npos) << text;
  EXPECT_EQ(text.find("\r\n0.000,"), std::string::npos);
  EXPECT_TRUE(EndsWith(text, ",3.0,-7\r\n"));

  EXPECT_FALSE(ExportTrendCsv(r, cols, dir + "/missing/t.csv", error));
  EXPECT_FALSE(error.empty());
}

TEST_F(TrendTest, StreamWritesTheHeaderOnceAndEachRowAtOnce) {
  const std::string path = keldtest::FreshDir("trend_stream") + "/rec.csv";
  CTrendCsvStream stream(CTrendCsvColumns({{0, TrendValue::Speed}}, {{0, "1 axis"}}), 1000);
  ASSERT_TRUE(stream.Open(path)) << stream.Error();
  EXPECT_EQ(keldtest::ReadWholeFile(path), "");
  ASSERT_TRUE(stream.Write(Sample(1000, 0)));
  ASSERT_TRUE(stream.Write(Sample(1200, 0)));
  // Readable while the stream is still open: nothing waits in a buffer.
  const std::string text = keldtest::ReadWholeFile(path);
  EXPECT_EQ(text.substr(0, text.find("\r\n")), "Time [s],Clock,1 axis Speed [rpm]");
  EXPECT_NE(text.find("\r\n0.200,"), std::string::npos);
  EXPECT_EQ(stream.Rows(), 2);
  EXPECT_TRUE(stream.Close());

  CTrendCsvStream bad(CTrendCsvColumns({{0, TrendValue::Speed}}, {{0, "1 axis"}}), 0);
  EXPECT_FALSE(bad.Open(keldtest::FreshDir("trend_stream2") + "/no/such/dir/x.csv"));
  EXPECT_FALSE(bad.Error().empty());
  EXPECT_FALSE(bad.Write(Sample(0, 0)));

  // A full disk: the failure is reported and the stream stays failed.
  CTrendCsvStream full(CTrendCsvColumns({{0, TrendValue::Speed}}, {{0, "1 axis"}}), 0);
  struct stat st{};
  if (stat("/dev/full", &st) == 0) {
    ASSERT_TRUE(full.Open("/dev/full"));
    EXPECT_FALSE(full.Write(Sample(0, 0)));
    EXPECT_FALSE(full.Error().empty());
    EXPECT_FALSE(full.Write(Sample(200, 0)));
    EXPECT_FALSE(full.Close());
  }
}

}  // namespace
