// axcfg's setting file commands run as a user runs them.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/document_file.h"
#include "axcfg_run.h"
#include "file_bytes.h"
#include "test_home.h"

using namespace axcfg;

using keldtest::ReadBytes;

namespace {

using axcfg_test::Axcfg;
using axcfg_test::Result;

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class AxcfgFile : public ::testing::Test {
 protected:
  void SetUp() override { RegisterAxisCfgDataStrings(); }
  std::string dir = keldtest::FreshDir("cli");
  std::string Path(const std::string& name) const { return dir + "/" + name; }
};

TEST_F(AxcfgFile, NewInfoAndCheck) {
  Result made = Axcfg("new -o " + Path("plan") + " --layout A:1,2 B:3,4,5 6 7");
  ASSERT_EQ(made.exitCode, 0) << made.out;
  EXPECT_EQ(made.out, Path("plan.axc") + "\n");

  CAxisCfgDoc doc;
  ASSERT_EQ(OpenDocumentFile(doc, Path("plan.axc")).id, 0u);
  ASSERT_EQ(doc.GetAxisEntryCount(), 4);
  EXPECT_EQ(doc.GetAxisEntry(0), MakeGroupEntry(1, 0x03));
  EXPECT_EQ(doc.GetAxisEntry(1), MakeGroupEntry(2, 0x1C));
  EXPECT_EQ(doc.GetAxisEntry(3), MakeSingleAxisEntry(6));

  Result info = Axcfg("info " + Path("plan.axc"));
  ASSERT_EQ(info.exitCode, 0);
  EXPECT_TRUE(Contains(info.out, "format version:  0x0120\n")) << info.out;
  EXPECT_TRUE(Contains(info.out, "family:          0 (Positioning unit SRLX)\n"));
  EXPECT_TRUE(Contains(info.out, "axes:            1 axis [A], 2 axis [A], 3 axis [B], 4 axis [B], 5 axis [B], 6 axis, 7 axis\n"));

  Result check = Axcfg("check " + Path("plan.axc"));
  EXPECT_EQ(check.exitCode, 0);
  EXPECT_EQ(check.out, "There was no error.\n");

  // Groups come first whatever the order given; family 1 has axes 1 to 4.
  ASSERT_EQ(Axcfg("new -o " + Path("f1.axc") + " --family 1 --layout \"4 C:1,3\"").exitCode, 0);
  ASSERT_EQ(OpenDocumentFile(doc, Path("f1.axc")).id, 0u);
  EXPECT_EQ(doc.GetUnitFamily(), 1u);
  EXPECT_EQ(doc.GetAxisEntry(0), MakeGroupEntry(3, 0x05));
  EXPECT_EQ(doc.GetAxisEntry(1), MakeSingleAxisEntry(3));

  EXPECT_EQ(Axcfg("new -o " + Path("x.axc") + " --family 1 --layout 5").exitCode, 2);
  EXPECT_EQ(Axcfg("new -o " + Path("x.axc") + " --layout A:1,2,3,4").exitCode, 2);
  EXPECT_EQ(Axcfg("new -o " + Path("x.axc") + " --layout A:1").exitCode, 2);
  EXPECT_EQ(Axcfg("new -o " + Path("x.axc") + " --layout \"1 A:1,2\"").exitCode, 2);
  EXPECT_EQ(Axcfg("new -o " + Path("x.axc") + " --layout E:1,2").exitCode, 2);
  EXPECT_EQ(Axcfg("new -o " + Path("x.axc") + " --family 2").exitCode, 2);
  EXPECT_EQ(Axcfg("new --layout 1").exitCode, 2);
  EXPECT_EQ(Axcfg("new -o " + Path("plan.axc")).exitCode, 3) << "an existing file needs --force";
  EXPECT_EQ(Axcfg("new -o " + Path("plan.axc") + " --force").exitCode, 0);
}

TEST_F(AxcfgFile, CheckReportsTheFirstProblemWithItsPlace) {
  CAxisCfgDoc doc;
  CAxisLayout layout;
  layout.Clear();
  layout.Append(MakeSingleAxisEntry(0));
  layout.Append(MakeGroupEntry(1, 0x06));
  doc.SetLayout(layout);
  doc.GetPosData(4)->SetMoveAmount(2, 1073741824);
  ASSERT_EQ(SaveDocumentFile(doc, Path("table.axc")).id, 0u);
  Result r = Axcfg("check " + Path("table.axc"));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "An error was found in the following. : \nTable No. 5: Y axis(3) movement amount\nSheet: [A] 2,3Axis\n");

  doc.GetPosData(4)->SetMoveAmount(2, 0);
  doc.GetPosData(8)->SetJumpNo(0, 601);
  ASSERT_EQ(SaveDocumentFile(doc, Path("jump.axc")).id, 0u);
  r = Axcfg("check " + Path("jump.axc"));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "Failed in the error check.\nTable No. 9: Jump No.\nSheet: 1Axis\n");

  doc.GetPosData(8)->SetJumpNo(0, 0);
  doc.GetParamBlock().SetParam(24, 1, 40000);
  ASSERT_EQ(SaveDocumentFile(doc, Path("param.axc")).id, 0u);
  r = Axcfg("check " + Path("param.axc"));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out,
            "The value in the unallowable range was set.\nChange the settings.\n"
            "Parameter: Completion width (pulse), 2 axis [A]\n");

  doc.GetSyncGroups()[0] = {1, 0, 0x01, 0x01, 10000, 0};
  ASSERT_EQ(SaveDocumentFile(doc, Path("sync.axc")).id, 0u);
  r = Axcfg("check " + Path("sync.axc"));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "The setting for the synchronous group \"1\" is incorrect.\n");
}

TEST_F(AxcfgFile, FileErrorsGiveTheMessagesOfTheReader) {
  ASSERT_EQ(Axcfg("new -o " + Path("ok.axc")).exitCode, 0);
  std::string bytes = ReadBytes(Path("ok.axc"));
  std::ofstream(Path("cut.axc"), std::ios::binary) << bytes.substr(0, 500);
  std::string magic = bytes;
  magic[1] = 'Y';
  std::ofstream(Path("magic.axc"), std::ios::binary) << magic;
  std::ofstream(Path("text.txt"), std::ios::binary) << bytes;

  Result cut = Axcfg("check " + Path("cut.axc"));
  EXPECT_EQ(cut.exitCode, 3);
  EXPECT_EQ(cut.out, "An error occurred in reading the file.\nThe file may be damaged.\n");
  Result m = Axcfg("info " + Path("magic.axc"));
  EXPECT_EQ(m.exitCode, 3);
  EXPECT_TRUE(Contains(m.out, "The file may not be correctly specified or may be damaged.")) << m.out;
  EXPECT_EQ(Axcfg("dump " + Path("text.txt")).out, "This type of file cannot be read.\n");
  Result missing = Axcfg("check " + Path("missing.axc"));
  EXPECT_EQ(missing.exitCode, 3);
  EXPECT_TRUE(Contains(missing.out, Path("missing.axc"))) << missing.out;

  for (const char* c : {"new", "info", "check", "export-csv", "verify", "convert", "dump", "diff"}) {
    Result help = Axcfg(std::string(c) + " --help");
    EXPECT_EQ(help.exitCode, 0) << c;
    EXPECT_TRUE(Contains(help.out, std::string("Usage: axcfg ") + c)) << c;
  }
  EXPECT_EQ(Axcfg("check").exitCode, 2);
  EXPECT_EQ(Axcfg("check a.axc b.axc").exitCode, 2);
  EXPECT_EQ(Axcfg("check --bogus " + Path("ok.axc")).exitCode, 2);
  EXPECT_EQ(Axcfg("verify " + Path("ok.axc")).exitCode, 2);
}

TEST_F(AxcfgFile, ExportCsv) {
  ASSERT_EQ(Axcfg("new -o " + Path("e.axc") + " --layout 3 B:1,2").exitCode, 0);
  const std::string out = dir + "/out";
  ::mkdir(out.c_str(), 0755);
  Result first = Axcfg("export-csv " + Path("e.axc") + " --dir " + out + " --name abc.txt");
  ASSERT_EQ(first.exitCode, 0) << first.out;
  EXPECT_EQ(first.out, out + "/abcP.csv\n" + out + "/abcB.csv\n" + out + "/abc3.csv\n");
  const std::string sheet = ReadBytes(out + "/abc3.csv");
  EXPECT_EQ(sheet.substr(0, 36), "\"Positioning setting data : 3Axis\"\r\n");
  EXPECT_TRUE(Contains(sheet, "\r\n600,E: End,I: Increment,0,L: Linear,100,100,1000,0,0,\r\n"));
  EXPECT_TRUE(Contains(ReadBytes(out + "/abcP.csv"), "\r\n,1 axis [B],2 axis [B],3 axis\r\n"));

  Result again = Axcfg("export-csv " + Path("e.axc") + " --dir " + out + " --name abc");
  EXPECT_EQ(again.exitCode, 3);
  EXPECT_TRUE(Contains(again.out, "The following type of exported file already exists.")) << again.out;
  EXPECT_EQ(Axcfg("export-csv " + Path("e.axc") + " --dir " + out + " --name abc --force").exitCode, 0);

  ::chmod((out + "/abcB.csv").c_str(), 0444);
  Result ro = Axcfg("export-csv " + Path("e.axc") + " --dir " + out + " --name abc --force");
  EXPECT_EQ(ro.exitCode, 3);
  EXPECT_TRUE(Contains(ro.out, "protected not to be overwritten.\nSpecify a different file name.\n" + out + "/abcB.csv"))
      << ro.out;

  Result bad = Axcfg("export-csv " + Path("e.axc") + " --dir " + out + " --name \"a;b\"");
  EXPECT_EQ(bad.exitCode, 2);
  EXPECT_EQ(bad.out, "Improper characters are included in the exported file name.\nInput the output file name again.\n");
  EXPECT_EQ(Axcfg("export-csv " + Path("e.axc") + " --dir " + out + " --name \"  \"").exitCode, 2);
  EXPECT_EQ(Axcfg("export-csv " + Path("e.axc") + " --name abc").exitCode, 2);
  Result noDir = Axcfg("export-csv " + Path("e.axc") + " --dir " + dir + "/none --name abc");
  EXPECT_EQ(noDir.exitCode, 3);
  EXPECT_TRUE(Contains(noDir.out, "The exported file of parameter setting data cannot be open.")) << noDir.out;
}

// Comments holding commas and quotes come back whole through a standard
// CSV reader: every table line keeps the fields of the header line.
TEST_F(AxcfgFile, ExportedCsvReadsBackWithAStandardReader) {
  ASSERT_EQ(Axcfg("new -o " + Path("q.axc") + " --layout 1 A:2,3").exitCode, 0);
  CAxisCfgDoc doc;
  ASSERT_EQ(OpenDocumentFile(doc, Path("q.axc")).id, 0u);
  for (int axis : {0, 1, 2}) {
    doc.GetPosData(0)->SetComment(axis, "to A, then B");
    doc.GetPosData(1)->SetComment(axis, "the \"home\" point, 2");
  }
  ASSERT_EQ(SaveDocumentFile(doc, Path("q.axc")).id, 0u);
  ::mkdir((dir + "/q").c_str(), 0755);
  ASSERT_EQ(Axcfg("export-csv " + Path("q.axc") + " --dir " + dir + "/q --name q").exitCode, 0);
  const std::string script =
      "import csv, sys\n"
      "for name in sys.argv[1:]:\n"
      "    rows = list(csv.reader(open(name, encoding='cp932', newline='')))\n"
      "    widths = {len(r) for r in rows[1:]}\n"
      "    print(name.rsplit('/', 1)[1], len(rows), sorted(widths), rows[2][-1], '|', rows[3][-1])\n";
  std::ofstream(Path("read.py")) << script;
  FILE* p = popen(("python3 " + Path("read.py") + " " + dir + "/q/q1.csv " + dir + "/q/qA.csv 2>&1").c_str(), "r");
  ASSERT_NE(p, nullptr);
  std::string out;
  std::array<char, 512> buf;
  for (size_t n; (n = fread(buf.data(), 1, buf.size(), p)) > 0;) out.append(buf.data(), n);
  ASSERT_EQ(pclose(p), 0) << out;
  EXPECT_EQ(out,
            "q1.csv 602 [11] to A, then B | the \"home\" point, 2\n"
            "qA.csv 602 [15] to A, then B | the \"home\" point, 2\n");
}

TEST_F(AxcfgFile, VerifyAndConvert) {
  ASSERT_EQ(Axcfg("new -o " + Path("v.axc") + " --layout A:1,2").exitCode, 0);
  Result same = Axcfg("verify " + Path("v.axc") + " " + Path("v.axc"));
  EXPECT_EQ(same.exitCode, 0);
  EXPECT_EQ(same.out, "Target : " + Path("v.axc") +
                          "\nAxis infomation - Agree\nParameter data - Agree\nPositioninng data - Agree\n"
                          "Result of verification - Agree\n");

  CAxisCfgDoc doc;
  ASSERT_EQ(OpenDocumentFile(doc, Path("v.axc")).id, 0u);
  doc.GetPosData(2)->SetComment(0, "only a comment");
  ASSERT_EQ(SaveDocumentFile(doc, Path("w.axc")).id, 0u);
  Result differs = Axcfg("verify " + Path("v.axc") + " " + Path("w.axc") + " --list");
  EXPECT_EQ(differs.exitCode, 1);
  EXPECT_TRUE(Contains(differs.out, "Positioninng data - Disagree\nResult of verification - Disagree\n"))
      << differs.out;
  EXPECT_TRUE(Contains(differs.out, "Table [A] 1,2Axis No. 3 Comment:  | only a comment\n")) << differs.out;

  EXPECT_EQ(Axcfg("verify " + Path("v.axc") + " " + Path("none.axc")).out, "The file to be verified cannot be open.\n");

  // An old version: verify compares it as read, convert converts it.
  std::string old = ReadBytes(Path("v.axc"));
  old[6] = 0x10;
  old[7] = 0x01;
  std::ofstream(Path("old.axc"), std::ios::binary) << old;
  Result asRead = Axcfg("verify " + Path("v.axc") + " " + Path("old.axc"));
  EXPECT_EQ(asRead.exitCode, 0) << asRead.out;
  Result converted = Axcfg("convert " + Path("old.axc") + " -o " + Path("new.axc"));
  EXPECT_EQ(converted.exitCode, 0) << converted.out;
  EXPECT_TRUE(Contains(converted.out, "a part of the setting was initialized.\nPresent file name old(after conversion).axc"))
      << converted.out;
  EXPECT_TRUE(Contains(Axcfg("info " + Path("new.axc")).out, "format version:  0x0120\n"));
  EXPECT_EQ(Axcfg("convert " + Path("old.axc") + " -o " + Path("new.axc")).exitCode, 3);
  EXPECT_EQ(Axcfg("convert " + Path("old.axc")).exitCode, 2);
}

TEST_F(AxcfgFile, DumpIsJsonWithTheWholeDocument) {
  CAxisCfgDoc doc;
  doc.SetUnitFamily(1);
  CAxisLayout layout;
  layout.Clear();
  layout.Append(MakeGroupEntry(4, 0x0C));
  layout.Append(MakeSingleAxisEntry(0));
  doc.SetLayout(layout);
  doc.SetCreator("me \"q\"");
  doc.GetParamBlock().SetParam(kParamLowerLimit, 3, static_cast<uint32_t>(-77));
  doc.GetPosData(599)->SetComment(7, "tab\there \\ 原点");
  doc.GetPosData(10)->SetAuxPoint(2, -5000000000LL);
  doc.ExtraData() = {3, 65535};
  ASSERT_EQ(SaveDocumentFile(doc, Path("d.axc")).id, 0u);
  Result r = Axcfg("dump " + Path("d.axc"));
  ASSERT_EQ(r.exitCode, 0);
  QJsonParseError error{};
  QJsonDocument json = QJsonDocument::fromJson(QByteArray::fromStdString(r.out), &error);
  ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
  QJsonObject o = json.object();
  EXPECT_EQ(o["family"].toInt(), 1);
  EXPECT_EQ(o["creator"].toString().toStdString(), "me \"q\"");
  QJsonArray lay = o["layout"].toArray();
  ASSERT_EQ(lay.size(), 2);
  EXPECT_EQ(lay[0].toObject()["group"].toString(), "D");
  EXPECT_EQ(lay[0].toObject()["axes"].toArray(), (QJsonArray{3, 4}));
  EXPECT_TRUE(lay[1].toObject()["group"].isNull());
  EXPECT_EQ(o["syncGroups"].toArray()[1].toObject()["difference"].toInt(), 10000);
  QJsonArray params = o["parameters"].toArray();
  ASSERT_EQ(params.size(), 8);
  ASSERT_EQ(params[3].toObject()["values"].toArray().size(), 61);
  EXPECT_EQ(params[3].toObject()["values"].toArray()[15].toInt(), -77);
  EXPECT_EQ(params[3].toObject()["record"].toString().size(), 304);
  QJsonArray rows = o["rows"].toArray();
  ASSERT_EQ(rows.size(), 600);
  QJsonObject e = rows[599].toObject()["elements"].toArray()[7].toObject();
  EXPECT_EQ(e["axis"].toInt(), 8);
  EXPECT_EQ(e["comment"].toString().toStdString(), "tab\there \\ 原点");
  EXPECT_EQ(rows[10].toObject()["elements"].toArray()[2].toObject()["auxPoint"].toDouble(), -5000000000.0);
  EXPECT_EQ(o["extraData"].toArray(), (QJsonArray{3, 65535}));

  // Keys always come in the same order.
  size_t last = 0;
  for (const char* key : {"\"family\"", "\"creator\"", "\"comment\"", "\"layout\"", "\"syncGroups\"", "\"parameters\"",
                          "\"rows\"", "\"extraData\""}) {
    size_t at = r.out.find(key);
    ASSERT_NE(at, std::string::npos) << key;
    EXPECT_GT(at, last) << key;
    last = at;
  }
}

}  // namespace

TEST_F(AxcfgFile, DiffListsEachItemOnceAndAsVerifyDoes) {
  ASSERT_EQ(Axcfg("new -o " + Path("a.axc") + " --layout A:1,2 3").exitCode, 0);
  Result same = Axcfg("diff " + Path("a.axc") + " " + Path("a.axc"));
  EXPECT_EQ(same.exitCode, 0);
  EXPECT_EQ(same.out, "");
  EXPECT_EQ(Axcfg("diff " + Path("a.axc") + " " + Path("a.axc") + " --json").out, "[]\n");

  CAxisCfgDoc doc;
  ASSERT_EQ(OpenDocumentFile(doc, Path("a.axc")).id, 0u);
  doc.GetPosData(2)->SetComment(2, "moved");
  doc.GetPosData(4)->SetMoveAmount(1, 250);
  doc.GetParamBlock().SetParam(48, 2, 2500);
  ASSERT_EQ(SaveDocumentFile(doc, Path("b.axc")).id, 0u);

  const std::string lines =
      "Parameter JOG operation - Target speed (3 axis): 1000 | 2500\n"
      "Table [A] 1,2Axis No. 5 Y axis(2) movement amount: 0 | 250\n"
      "Table 3Axis No. 3 Comment:  | moved\n";
  Result differs = Axcfg("diff " + Path("a.axc") + " " + Path("b.axc"), false);
  EXPECT_EQ(differs.exitCode, 1);
  EXPECT_EQ(differs.out, lines);
  Result noComments = Axcfg("diff " + Path("a.axc") + " " + Path("b.axc") + " --no-comments", false);
  EXPECT_EQ(noComments.exitCode, 1);
  EXPECT_EQ(noComments.out, lines.substr(0, lines.find("Table 3Axis")));

  Result json = Axcfg("diff " + Path("a.axc") + " " + Path("b.axc") + " --json", false);
  EXPECT_EQ(json.exitCode, 1);
  const QJsonArray items = QJsonDocument::fromJson(QByteArray::fromStdString(json.out)).array();
  ASSERT_EQ(items.size(), 3) << json.out;
  const QJsonObject cell = items[1].toObject();
  EXPECT_EQ(cell["part"].toString(), "Table");
  EXPECT_EQ(cell["where"].toString(), "[A] 1,2Axis");
  EXPECT_EQ(cell["table"].toInt(), 5);
  EXPECT_EQ(cell["item"].toString(), "Y axis(2) movement amount");
  EXPECT_EQ(cell["first"].toString(), "0");
  EXPECT_EQ(cell["second"].toString(), "250");

  // verify --list prints the same list after its result lines.
  Result verify = Axcfg("verify " + Path("a.axc") + " " + Path("b.axc") + " --list", false);
  EXPECT_EQ(verify.exitCode, 1);
  EXPECT_TRUE(Contains(verify.out, "Result of verification - Disagree\n" + lines)) << verify.out;

  Result missing = Axcfg("diff " + Path("a.axc") + " " + Path("none.axc"));
  EXPECT_EQ(missing.exitCode, 3);
  EXPECT_EQ(missing.out, "The file to be verified cannot be open.\n");
  EXPECT_EQ(Axcfg("diff " + Path("none.axc") + " " + Path("a.axc")).exitCode, 3);
  std::ofstream(Path("x.txt")) << "AXCF";
  EXPECT_EQ(Axcfg("diff " + Path("a.axc") + " " + Path("x.txt")).exitCode, 3);
  EXPECT_EQ(Axcfg("diff " + Path("a.axc")).exitCode, 2);
  EXPECT_EQ(Axcfg("diff " + Path("a.axc") + " " + Path("b.axc") + " --bogus").exitCode, 2);
}
