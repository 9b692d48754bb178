// The texts and colours the monitor windows draw for the unit's values.
#include <gtest/gtest.h>

#include "axcfg_data/axcfg_strings.h"
#include "axcfg_unit/monitor_cells.h"

using namespace axcfg;

namespace {

struct MonitorCellsTest : ::testing::Test {
  void SetUp() override { RegisterAxisCfgDataStrings(); }
  DataMonitorSnapshot Snapshot() {
    DataMonitorSnapshot s;
    s.valid = true;
    s.connection = 0xFF00;
    return s;
  }
  // The cell of a row by its label.
  static MonitorCell Cell(const std::vector<MonitorRow>& rows, const std::vector<MonitorCell>& cells,
                          const std::string& label) {
    for (size_t i = 0; i < rows.size(); ++i)
      if (rows[i].label == label) return cells[i];
    ADD_FAILURE() << "no row " << label;
    return {};
  }
  MonitorCell Data(const DataMonitorSnapshot& s, int axis, const std::string& label, uint32_t family = 0) {
    return Cell(DataMonitorRows(family), DataMonitorCells(s, family, {axis, "label"}), label);
  }
};

TEST_F(MonitorCellsTest, CodeVersionAndIdentificationTexts) {
  EXPECT_EQ(MonitorCodeText(0x0001002A), "00001-E002A");
  EXPECT_EQ(MonitorCodeText(0), "--------");
  EXPECT_EQ(MonitorCodeText(0xFFFFFFFF), "65535-EFFFF");
  EXPECT_EQ(VersionText(0x0105), " 1.05");
  EXPECT_EQ(VersionText(0x1AFF), "1A.FF");
  IdentText text{};
  const char bytes[] = "AB\x81Z";
  std::copy(bytes, bytes + 4, text.begin());
  EXPECT_EQ(IdentTextString(text), "AB.Z");
  text.fill('x');
  EXPECT_EQ(IdentTextString(text), std::string(16, 'x'));  // no NUL: all 16 characters
}

TEST_F(MonitorCellsTest, ConvertedValueForEveryUnitCodeAndAnUnknownOne) {
  EXPECT_EQ(ConvertedValueText(-5, 0x0000), "-5 pulse");
  EXPECT_EQ(ConvertedValueText(12345, 0x0100), "1234.5 um  Min. unit 0.1 um");
  EXPECT_EQ(ConvertedValueText(12345, 0x0101), "12345 um  unit 1 um");
  EXPECT_EQ(ConvertedValueText(12345, 0x0200), "0.12345 inch  Min. unit 0.00001 inch");
  EXPECT_EQ(ConvertedValueText(-12345, 0x0201), "-1.2345 inch  Min. unit 0.0001 inch");
  EXPECT_EQ(ConvertedValueText(3600, 0x0300), "360.0 degree  Min. unit 0.1 degree");
  EXPECT_NE(ConvertedValueText(360, 0x0301).find("360 degree"), std::string::npos);
  EXPECT_EQ(ConvertedValueText(1, 0x0102), "--------");
  EXPECT_EQ(ConvertedValueText(1, 0x0400), "--------");
}

TEST_F(MonitorCellsTest, BothColumnSets) {
  auto s = Snapshot();
  s.axes[0] = {0x0000, 1000, 1000, -5, -300, 12, 40000, -7, 8, 0, 0};
  EXPECT_EQ(Data(s, 0, "AMP current value (pulse)").text, "1000");
  EXPECT_EQ(Data(s, 0, "Torque command (%)").text, "-0.5");
  EXPECT_EQ(Data(s, 0, "Actual speed (rpm)").text, "-300");
  EXPECT_EQ(Data(s, 0, "Active table No.").text, "12");
  EXPECT_EQ(Data(s, 0, "Auxiliary output code").text, "40000");
  EXPECT_EQ(Data(s, 0, "Current value", 1).text, "1000");
  EXPECT_EQ(Data(s, 0, "Puls input value", 1).text, "-7");
  EXPECT_EQ(Data(s, 0, "deviation", 1).text, "8");
  const auto rows = DataMonitorRows(1);
  EXPECT_EQ(rows.size(), 18u);
  EXPECT_TRUE(rows[9].numeric);
  EXPECT_FALSE(rows[13].numeric);
  EXPECT_EQ(rows[15].kind, RowKind::Button);
  EXPECT_EQ(rows[4].kind, RowKind::Spacer);
}

TEST_F(MonitorCellsTest, StatePrecedenceAndNotConnectedAxes) {
  auto s = Snapshot();
  s.connection = 0x0100;  // only axis 1 connected
  s.busy = 0x0300;
  s.axes[1].errorCode = 0x0001002A;
  EXPECT_EQ(Data(s, 0, "State of axis").text, "Active");
  EXPECT_EQ(Data(s, 0, "State of axis").colour, CellColour::Active);
  // Axis 2 is not connected: values are dashes, the label and codes stay.
  EXPECT_EQ(Data(s, 1, "State of axis").text, "Not connected");
  EXPECT_EQ(Data(s, 1, "State of axis").colour, CellColour::Face);
  EXPECT_EQ(Data(s, 1, "Axis[Group]").text, "label");
  EXPECT_EQ(Data(s, 1, "AMP current value (pulse)").text, "--------");
  EXPECT_EQ(Data(s, 1, "Synchronous goup").text, "--------");
  EXPECT_EQ(Data(s, 1, "Error code").text, "00001-E002A");
  EXPECT_EQ(Data(s, 1, "Warning code").text, "--------");
  // The unit flags an error on it: red wins, also over a warning.
  s.errorWarning = 0x0202;
  EXPECT_EQ(Data(s, 1, "State of axis").text, "An error occurred");
  EXPECT_EQ(Data(s, 1, "State of axis").colour, CellColour::Error);
  s.errorWarning = 0x0003;
  EXPECT_EQ(Data(s, 1, "State of axis").colour, CellColour::Warning);
  EXPECT_EQ(Data(s, 0, "State of axis").text, "Warning");
  s.errorWarning = 0;
  s.busy = 0;
  EXPECT_EQ(Data(s, 0, "State of axis").text, "Inactive");
  // Before the first cycle: only the axis label.
  DataMonitorSnapshot empty;
  for (const auto& cell : DataMonitorCells(empty, 0, {0, "1 axis"}))
    EXPECT_TRUE(cell.text.empty() || cell.text == "1 axis");
}

TEST_F(MonitorCellsTest, SynchronousGroups) {
  auto s = Snapshot();
  s.sync[0] = {1, 0x01, 0x02, 1};  // mode B; mode word 1 is never asynchronous
  s.sync[1] = {2, 0x04, 0x08, 1};  // mode B, asynchronous
  EXPECT_EQ(Data(s, 0, "Synchronous goup").text, "1/ Master");
  EXPECT_EQ(Data(s, 1, "Synchronous goup").text, "1/ Slave");
  EXPECT_EQ(Data(s, 0, "Synchronous mode").text, "Mode B");
  EXPECT_EQ(Data(s, 0, "Synchronous condition").text, "Synchronous");
  EXPECT_EQ(Data(s, 3, "Synchronous goup").text, "2/ Slave");
  EXPECT_EQ(Data(s, 2, "Synchronous condition").text, "Asynchronous");
  s.sync[1] = {0, 0x04, 0x08, 0};
  EXPECT_EQ(Data(s, 2, "Synchronous mode").text, "Mode A");
  EXPECT_EQ(Data(s, 2, "Synchronous condition").text, "Synchronous");
  EXPECT_EQ(Data(s, 4, "Synchronous mode").text, "--------");
  EXPECT_EQ(Data(s, 4, "Synchronous condition").text, "--------");
}

TEST_F(MonitorCellsTest, StatusCellsAndUnitLines) {
  StatusMonitorSnapshot s;
  s.valid = true;
  s.modelCode = 5154;
  s.fromWrites = 3;
  s.firmware = 0x0105;
  s.hardware = 0x0200;
  s.homeInput = 0x00FE;  // axis 1 home on
  s.axes[0].flags = kStatConnected | kStatServoLocked | kStatLimitMinus;
  s.axes[0].brand = {'K', 'E', 'L', 'D'};
  const auto rows = StatusMonitorRows();
  auto cells = StatusMonitorCells(s, {0, "1 axis"});
  EXPECT_EQ(Cell(rows, cells, "Connection status").text, "Connection");
  EXPECT_EQ(Cell(rows, cells, "Connection status").colour, CellColour::Set);
  EXPECT_EQ(Cell(rows, cells, "Brand name").text, "KELD");
  EXPECT_EQ(Cell(rows, cells, "Servo free").text, "Lock");
  EXPECT_EQ(Cell(rows, cells, "Status").text, "Inactive");
  EXPECT_EQ(Cell(rows, cells, "Status").colour, CellColour::Face);
  EXPECT_EQ(Cell(rows, cells, "Home").text, "Home");
  EXPECT_EQ(Cell(rows, cells, "Limit +").text, "OFF");
  EXPECT_EQ(Cell(rows, cells, "Limit -").text, "Limit -");
  cells = StatusMonitorCells(s, {1, "2 axis"});
  EXPECT_EQ(Cell(rows, cells, "Connection status").text, "No connection");
  EXPECT_EQ(Cell(rows, cells, "Connection status").colour, CellColour::Face);
  EXPECT_EQ(Cell(rows, cells, "Home").text, "--------");
  EXPECT_EQ(Cell(rows, cells, "Brand name").text, "--------");
  const auto lines = StatusMonitorUnitLines(s);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].label, "Model");
  EXPECT_EQ(lines[0].text, "QX2 Positioning unit SRLX 8-axis type (KMU517230)");
  EXPECT_EQ(lines[1].text, "3");
  EXPECT_EQ(lines[2].text, " 1.05");
  EXPECT_EQ(lines[3].text, " 2.00");
}

}  // namespace
