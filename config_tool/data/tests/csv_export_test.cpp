// CSV export: file names, the order of the name checks, the contents of the
// parameter and sheet files, overwriting and protected files.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <sys/stat.h>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/csv_export.h"
#include "axcfg_data/pos_columns.h"
#include "axcfg_data/pos_row_text.h"
#include "axcfg_data/pos_sheets.h"
#include "file_bytes.h"
#include "test_home.h"

using namespace axcfg;

using keldtest::ReadBytes;

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
    lines.push_back(text.substr(start, at - start));
  EXPECT_EQ(start, text.size()) << "every line ends with CR LF";
  return lines;
}

// Axis 3 alone and group B of axes 1 and 2.
void Layout3AndB(CAxisCfgDoc& doc) {
  CAxisLayout layout;
  layout.Clear();
  layout.Append(MakeSingleAxisEntry(2));
  layout.Append(MakeGroupEntry(2, 0x03));
  doc.SetLayout(layout);
}

TEST(CsvExport, FileNamesPerSheet) {
  CAxisCfgDoc doc;
  Layout3AndB(doc);
  std::string dir = keldtest::FreshDir("csvnames");
  CsvNameCheck c = CheckCsvExport(doc.GetLayout(), dir, "abc");
  ASSERT_EQ(c.verdict, CsvNameVerdict::Ok);
  EXPECT_EQ(c.names.All(), (std::vector<std::string>{dir + "/abcP.csv", dir + "/abc3.csv", dir + "/abcB.csv"}));
  CsvNameCheck ext = CheckCsvExport(doc.GetLayout(), dir + "/", "abc.txt");
  EXPECT_EQ(ext.base, "abc");
  EXPECT_EQ(ext.names.parameterFile, dir + "/abcP.csv");
  // No folder: the program's own folder.
  EXPECT_TRUE(MakeCsvFileNames(doc.GetLayout(), "", "x").parameterFile.ends_with("/xP.csv"));
}

TEST(CsvExport, NameChecksInTheirOrder) {
  CAxisCfgDoc doc;
  const CAxisLayout& l = doc.GetLayout();
  EXPECT_EQ(CheckCsvExport(l, "/tmp", "").messageId, 29051u);
  EXPECT_EQ(CheckCsvExport(l, "/tmp", "   ").messageId, 29053u);
  for (const char* bad : {"a\\b", "a/b", "a:b", "a,b", "a;b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b", "  ;"})
    EXPECT_EQ(CheckCsvExport(l, "/tmp", bad).messageId, 29052u) << bad;
  EXPECT_EQ(CheckCsvExport(l, "/tmp", "a b").verdict, CsvNameVerdict::Ok);
  std::string longFolder = "/tmp/" + std::string(249, 'f');  // + "/aP.csv" = 261
  CsvNameCheck tooLong = CheckCsvExport(l, longFolder, "a");
  EXPECT_EQ(tooLong.messageId, 29054u);
  EXPECT_EQ(tooLong.verdict, CsvNameVerdict::Invalid);
  EXPECT_EQ(CheckCsvExport(l, longFolder.substr(0, longFolder.size() - 1), "a").verdict, CsvNameVerdict::Ok);
}

TEST(CsvExport, ParameterFile) {
  CAxisCfgDoc doc;
  Layout3AndB(doc);
  CParamBlock& p = doc.GetParamBlock();
  p.SetParam(kParamUnit, 2, 1);                         // axis 3: um [Min 0.1]
  p.SetParam(kParamUpperLimit, 2, 1073741823);
  p.SetParam(kParamAuxOutputMode, 0, 2);                // axis 1: delay mode shows the delay rate
  doc.GetSyncGroups()[1] = {1, 1, 0x04, 0x02, 10000, 0};  // master axis 3, slave axis 2, Mode B
  doc.GetSyncGroups()[0] = {0, 0, 0x01, 0x02, 10000, 0};  // off: no members

  const std::vector<std::string> lines = Lines(BuildParameterCsv(doc));
  ASSERT_EQ(lines.size(), 4u + 44);
  EXPECT_EQ(lines[0], "\"Parameter setting data\"");
  EXPECT_EQ(lines[1], ",3 axis,1 axis [B],2 axis [B]");
  EXPECT_EQ(lines[2], "Synchronous goup,2/ Master,--------,2/ Slave");
  EXPECT_EQ(lines[3], "Synchronous mode,Mode B,--------,Mode B");
  EXPECT_EQ(lines[4], "Unit setting,M:um [Min 0.1],P:pulse,P:pulse");
  EXPECT_EQ(lines[5], "Pulse number per roration,1,--------,--------") << "kind 8 for pulse units";
  EXPECT_EQ(lines[4 + p.ParamToRow(kParamUpperLimit)],
            "Upper limit of software limit,107374182.3,1073741823,1073741823");
  EXPECT_EQ(lines[4 + p.ParamToRow(kParamAuxDelayRate)], "Auxiliary output delay rate (%),--------,0,--------");

  doc.SetUnitFamily(1);
  EXPECT_EQ(Lines(BuildParameterCsv(doc)).size(), 4u + 52);
}

TEST(CsvExport, SheetFileHoldsTheCellTextsOfTheGrid) {
  CAxisCfgDoc doc;
  Layout3AndB(doc);
  doc.GetParamBlock().SetParam(kParamUnit, 0, 4);  // group B: inch [Min 0.0001]
  CPosData& row = *doc.GetPosData(1);
  for (int axis : {0, 1}) {
    row.SetControlMethod(axis, kCtrlContinue);
    row.SetInterpPattern(axis, 0x11);
    row.SetPositionMode(axis, kPosAbsolute);
    row.SetTargetSpeed(axis, 12345);
    row.SetComment(axis, "go, fast");
  }
  row.SetMoveAmount(0, -5);
  row.SetAuxPoint(1, 123456);

  const uint32_t group = MakeGroupEntry(2, 0x03);
  const std::vector<std::string> lines = Lines(BuildSheetCsv(doc, group));
  ASSERT_EQ(lines.size(), 2u + 600);
  EXPECT_EQ(lines[0], "\"Positioning setting data : [B] 1,2Axis\"");
  EXPECT_EQ(lines[1],
            "Table No.,Pattern,Interpolation operation,Control method,X axis(1) movement amount,X axis(1) auxiliary "
            "point,Y axis(2) movement amount,Y axis(2) auxiliary point,Accel./decel. pattern,Acceleration time (ms),"
            "Deceleration time (ms),Interpolation Speed,Dwell Time(ms),AUX OUT,Comment");
  EXPECT_EQ(lines[3],
            "2,C: Continuation,T: Circular (Center point/CCW direction),A: Absolute,-0.0005,0.0000,0.0000,12.3456,"
            "L: Linear,100,100,12.345,0,0,\"go, fast\"");
  EXPECT_EQ(lines[601].substr(0, 4), "600,");

  // The same texts the grid takes for a line (the comment quoted).
  std::string joined = "2";
  for (const std::string& cell : SheetCellTexts(row, doc.GetParamBlock(), group))
    joined += "," + (cell == "go, fast" ? "\"" + cell + "\"" : cell);
  EXPECT_EQ(lines[3], joined);

  const std::vector<std::string> single = Lines(BuildSheetCsv(doc, MakeSingleAxisEntry(2)));
  EXPECT_EQ(single[0], "\"Positioning setting data : 3Axis\"");
  EXPECT_EQ(single[2], "1,E: End,I: Increment,0,L: Linear,100,100,1000,0,0,");
}

// Splits CSV text into records of fields the way RFC 4180 readers do.
std::vector<std::vector<std::string>> ReadCsv(const std::string& text) {
  std::vector<std::vector<std::string>> records(1, std::vector<std::string>(1));
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    std::string& field = records.back().back();
    if (quoted) {
      if (c != '"') field += c;
      else if (i + 1 < text.size() && text[i + 1] == '"') field += text[++i];
      else quoted = false;
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      records.back().emplace_back();
    } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      ++i;
      records.emplace_back(1);
    } else {
      field += c;
    }
  }
  records.pop_back();  // after the last line end
  return records;
}

TEST(CsvExport, CellsWithCommaQuoteOrLineBreakAreQuotedAndReadBack) {
  CAxisCfgDoc doc;
  Layout3AndB(doc);
  // A comment keeps no line break, so commas and quotes are what it can bring.
  const std::string comments[] = {"to A, then B", "the \"home\" point", "plain"};
  for (int k = 0; k < 3; ++k)
    for (int axis : {0, 1, 2}) doc.GetPosData(k)->SetComment(axis, comments[k]);

  for (uint32_t entry : {MakeSingleAxisEntry(2), MakeGroupEntry(2, 0x03)}) {
    const std::string csv = BuildSheetCsv(doc, entry);
    const auto records = ReadCsv(csv);
    ASSERT_EQ(records.size(), 2u + 600);
    for (size_t r = 1; r < records.size(); ++r)
      ASSERT_EQ(records[r].size(), records[1].size()) << "record " << r;
    for (int k = 0; k < 3; ++k) EXPECT_EQ(records[2 + k].back(), comments[k]);
    EXPECT_NE(csv.find(",\"the \"\"home\"\" point\"\r\n"), std::string::npos);
    // Only cells that need it are quoted: the plain line is as before.
    const std::vector<std::string> lines = Lines(csv);
    EXPECT_EQ(lines[4].substr(lines[4].size() - 6), ",plain");
  }
  const auto params = ReadCsv(BuildParameterCsv(doc));
  for (size_t r = 2; r < params.size(); ++r) EXPECT_EQ(params[r].size(), params[1].size()) << "record " << r;
}

TEST(CsvExport, WritingOverwritingAndProtectedFiles) {
  CAxisCfgDoc doc;
  Layout3AndB(doc);
  doc.GetPosData(0)->SetComment(2, "原点");
  const std::string dir = keldtest::FreshDir("csvwrite");
  CsvNameCheck first = CheckCsvExport(doc.GetLayout(), dir, "abc");
  ASSERT_EQ(first.verdict, CsvNameVerdict::Ok);
  CsvWriteResult w = WriteCsvFiles(doc, first.names);
  EXPECT_EQ(w.messageId, 0u);
  EXPECT_EQ(w.filesWritten, 3);
  const std::string sheet3 = ReadBytes(dir + "/abc3.csv");
  EXPECT_NE(sheet3.find(",\x8c\xb4\x93\x5f\r\n"), std::string::npos) << "comments are code page 932";

  CsvNameCheck second = CheckCsvExport(doc.GetLayout(), dir, "abc");
  EXPECT_EQ(second.verdict, CsvNameVerdict::AskOverwrite);
  EXPECT_EQ(second.messageId, 29056u);
  EXPECT_EQ(second.existing.size(), 3u);
  EXPECT_NE(second.message.find("\n" + dir + "/abcB.csv"), std::string::npos);

  ASSERT_EQ(::chmod((dir + "/abcB.csv").c_str(), 0444), 0);
  CsvNameCheck third = CheckCsvExport(doc.GetLayout(), dir, "abc");
  EXPECT_EQ(third.verdict, CsvNameVerdict::Protected);
  EXPECT_EQ(third.messageId, 29055u);
  EXPECT_EQ(third.existing, std::vector<std::string>{dir + "/abcB.csv"});

  // A file that cannot be created stops the export; the files before it stay.
  CsvFileNames broken = first.names;
  broken.sheetFiles[1] = dir + "/missing/abcB.csv";
  ::unlink((dir + "/abc3.csv").c_str());
  CsvWriteResult failed = WriteCsvFiles(doc, broken);
  EXPECT_EQ(failed.messageId, 29058u);
  EXPECT_EQ(failed.message, "The exported file of positioning setting data  [B] 1,2Axis  cannot be open.");
  EXPECT_EQ(failed.filesWritten, 2);
  EXPECT_FALSE(ReadBytes(dir + "/abc3.csv").empty());
  broken.parameterFile = dir + "/missing/abcP.csv";
  EXPECT_EQ(WriteCsvFiles(doc, broken).messageId, 29057u);
}

}  // namespace

namespace {

// The per-sheet cell cache gives exactly the grid's cell texts, whatever
// codes the rows hold and in whatever order they come.
TEST(CsvExport, SheetCellsAgreeWithTheCellTextOfEveryCode) {
  CParamBlock params;
  params.SetParam(kParamUnit, 1, 5);  // degree [Min 0.1] on axis 2
  for (uint32_t entry : {MakeSingleAxisEntry(1), MakeGroupEntry(1, 0x06), MakeGroupEntry(3, 0x8A)}) {
    CSheetCells cells(params, entry);
    for (int code = 255; code >= 0; --code) {
      CPosData row;
      for (int axis = 0; axis < 8; ++axis) {
        row.SetControlMethod(axis, static_cast<uint8_t>(code));
        row.SetInterpPattern(axis, static_cast<uint8_t>((code * 7) & 0xFF));
        row.SetPositionMode(axis, static_cast<uint8_t>(code ^ 1));
        row.SetAccelPattern(axis, static_cast<uint8_t>(255 - code));
        row.SetMoveAmount(axis, code * 1001 - 5000);
        row.SetComment(axis, "c" + std::to_string(code));
      }
      const ColumnSet set = GetColumnSet(entry);
      std::string line;
      cells.AppendCells(row, ',', line);
      std::string expected;
      for (int i = 0; i < set.count; ++i) {
        const std::string text = RowCellText(row, params, entry, set.columns[i]);
        ASSERT_EQ(cells.Cell(row, i), text) << std::hex << entry << " code " << code << " column " << set.columns[i];
        expected += "," + text;
      }
      ASSERT_EQ(line, expected);
      ASSERT_EQ(SheetCellTexts(row, params, entry), cells.Cells(row));
    }
  }
}

}  // namespace
