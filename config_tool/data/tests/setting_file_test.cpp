// The setting file: what the writer puts where, files built by hand byte by
// byte, every refusal of the reader, the old-version conversion and saves
// that fail half-way.
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>

#include "axc_test_file.h"
#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/document_file.h"
#include "axcfg_data/le_bytes.h"
#include "axcfg_data/setting_file.h"
#include "file_bytes.h"
#include "test_home.h"

using namespace axcfg;
using namespace axctest;

using keldtest::ReadBytes;
using keldtest::WriteBytes;

namespace {

std::vector<std::string> FilesIn(const std::string& dir) {
  std::vector<std::string> names;
  if (DIR* d = opendir(dir.c_str())) {
    while (dirent* e = readdir(d))
      if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") names.push_back(e->d_name);
    closedir(d);
  }
  return names;
}

// A document that uses most of what a file can hold.
void FillDocument(CAxisCfgDoc& doc) {
  // Axes 5 and 6 exist only in units of family 0.
  doc.SetUnitFamily(0);
  CAxisLayout layout;
  layout.Clear();
  layout.Append(MakeGroupEntry(1, 0x03));
  layout.Append(MakeSingleAxisEntry(2));
  layout.Append(MakeGroupEntry(2, 0x38));
  doc.SetLayout(layout);
  SyncGroups sync{};
  sync[0] = {1, 1, 0x04, 0x40, 1234, 2};
  sync[1].difference = 77;
  doc.SetSyncGroups(sync);
  CParamBlock& p = doc.GetParamBlock();
  p.SetParam(kParamUnit, 2, 3);
  p.SetParam(kParamUpperLimit, 2, static_cast<uint32_t>(-5));
  p.SetParam(kParamHomeCode, 7, 6);
  for (int k = 0; k < kTableRowCount; ++k) {
    CPosData* row = doc.GetPosData(k);
    for (int axis = 0; axis < 8; ++axis) {
      row->SetControlMethod(axis, static_cast<uint8_t>((k + axis) % 4));
      row->SetJumpNo(axis, static_cast<int16_t>(k % 601));
      row->SetMoveAmount(axis, (k % 2 ? -1 : 1) * (int64_t{k} * 1000003 + axis));
      row->SetAuxPoint(axis, -int64_t{k} << 33);
      row->SetTargetSpeed(axis, 32767000 - k);
      row->SetAuxCode(axis, 65535 - k);
    }
  }
  doc.GetPosData(0)->SetComment(0, "start, then move");
  doc.GetPosData(5)->SetComment(3, "原点へ戻る ｶﾅ");
  doc.GetPosData(599)->SetComment(7, std::string(100, 'c'));
  doc.ExtraData() = {1, 0xFFFF, 42};
  doc.SetCreator("Tanaka");
  doc.SetComment(std::string(40, 'x'));
}

void ExpectSameData(const CAxisCfgDoc& a, const CAxisCfgDoc& b) {
  EXPECT_EQ(a.GetUnitFamily(), b.GetUnitFamily());
  EXPECT_TRUE(a.GetLayout() == b.GetLayout());
  EXPECT_TRUE(a.GetSyncGroups() == b.GetSyncGroups());
  for (int axis = 0; axis < 8; ++axis)
    EXPECT_EQ(0, std::memcmp(a.GetParamBlock().RecordBytes(axis), b.GetParamBlock().RecordBytes(axis), 152)) << axis;
  ASSERT_EQ(a.GetRowCount(), b.GetRowCount());
  for (int k = 0; k < a.GetRowCount(); ++k) ASSERT_TRUE(*a.GetPosData(k) == *b.GetPosData(k)) << "row " << k;
  EXPECT_EQ(a.ExtraData(), b.ExtraData());
  EXPECT_EQ(a.GetCreatorField(), b.GetCreatorField());
  EXPECT_EQ(a.GetCommentField(), b.GetCommentField());
}

class SettingFile : public ::testing::Test {
 protected:
  std::string dir = keldtest::FreshDir("axc");
  std::string Path(const std::string& name) const { return dir + "/" + name; }
};

TEST_F(SettingFile, SavedFilesLoadBackEqualAndSaveAgainToTheSameBytes) {
  CAxisCfgDoc doc;
  FillDocument(doc);
  doc.SetModifiedFlag(true);
  ASSERT_EQ(SaveDocumentFile(doc, Path("full.axc")).id, 0u);
  EXPECT_FALSE(doc.IsModified());
  EXPECT_EQ(doc.GetPathName(), Path("full.axc"));

  CAxisCfgDoc loaded;
  FileStatus st = OpenDocumentFile(loaded, Path("full.axc"));
  ASSERT_EQ(st.id, 0u) << FileStatusText(st, Path("full.axc"));
  ExpectSameData(doc, loaded);
  EXPECT_EQ(loaded.GetTitle(), "full.axc");
  EXPECT_EQ(loaded.GetComment(), std::string(40, 'x'));
  EXPECT_EQ(loaded.GetPosData(5)->GetComment(3), "原点へ戻る ｶﾅ");

  ASSERT_EQ(SaveDocumentFile(loaded, Path("again.axc")).id, 0u);
  EXPECT_EQ(ReadBytes(Path("full.axc")), ReadBytes(Path("again.axc")));
}

TEST_F(SettingFile, WriterPutsEveryFieldWhereTheFormatSays) {
  CAxisCfgDoc doc;
  doc.SetUnitFamily(1);
  doc.SetCreator("abc");
  doc.SetComment("Zcomment");
  doc.GetPosData(0)->SetComment(0, "hi");
  std::string f;
  ASSERT_EQ(BuildSettingFile(doc, kAllSections, f), 0u);
  const auto* b = reinterpret_cast<const uint8_t*>(f.data());
  EXPECT_EQ(f.substr(0, 4), "AXCF");
  EXPECT_EQ(GetLe16(b + 4), 0xEFFE);
  EXPECT_EQ(GetLe16(b + 6), 0x0120);
  EXPECT_EQ(GetLe32(b + 8), 83u);
  EXPECT_EQ(GetLe16(b + 12), 4);
  EXPECT_EQ(f.substr(14, 9), std::string("Zcomment\0", 9));
  EXPECT_EQ(f.substr(54, 4), std::string("abc\0", 4));
  EXPECT_EQ(b[65], 'Z');  // the creator slot ends with the comment's first byte
  EXPECT_EQ(GetLe16(b + 66), 1);
  EXPECT_EQ(f.substr(68, 15), std::string(15, '\0'));

  uint32_t offsets[4];
  for (int i = 0; i < 4; ++i) {
    const uint8_t* e = b + 83 + 7 * i;
    EXPECT_EQ(GetLe16(e), i + 1);
    EXPECT_EQ(e[2], 0x10);
    offsets[i] = GetLe32(e + 3);
  }
  EXPECT_EQ(offsets[0], 83u + 28);
  EXPECT_EQ(offsets[1] - offsets[0], 68u);
  EXPECT_EQ(offsets[2] - offsets[1], 2u + 8 * 160);
  EXPECT_EQ(GetLe16(b + offsets[0]), 1);
  EXPECT_EQ(GetLe32(b + offsets[0] + 2), 0x00010001u);
  EXPECT_EQ(GetLe16(b + offsets[0] + 34 + 10), 10000);  // difference value of a reset group

  const uint8_t* rows = b + offsets[2];
  EXPECT_EQ(GetLe16(rows), 600);
  EXPECT_EQ(GetLe16(rows + 2), 8);
  EXPECT_EQ(GetLe32(rows + 4), 70u);           // "hi" + 68
  EXPECT_EQ(GetLe16(rows + 4 + 70), 2);
  EXPECT_EQ(GetLe32(rows + 4 + 74), 68u);      // the next element has no comment
  EXPECT_EQ(GetLe16(rows + 4 + 74 + 70), 0);
  // 600 rows of 8 elements, one of them with 2 comment bytes, then the extra list.
  EXPECT_EQ(offsets[3] - offsets[2], 2u + 600 * (2 + 8 * 72) + 2);
  EXPECT_EQ(f.size(), offsets[3] + 2u);

  // A row missing from the list is written at its reset values.
  doc.Rows()[7].reset();
  std::string withGap;
  ASSERT_EQ(BuildSettingFile(doc, kAllSections, withGap), 0u);
  EXPECT_EQ(withGap, f);

  EXPECT_EQ(BuildSettingFile(doc, 0, f), kMsgNothingToSave);
  EXPECT_EQ(SaveSections(doc, Path("none.axc"), 0).id, kMsgNothingToSave);
}

TEST_F(SettingFile, HandBuiltFileInAnyDirectoryOrderGivesTheSameData) {
  Element e;
  e.ctrl = 2; e.jump = 17; e.interp = 0x11; e.posMode = 1; e.move = -1073741823; e.aux = 5000000000LL;
  e.accPattern = 1; e.acc = 250; e.dec = 9999; e.speed = 32767000; e.dwell = 32767; e.auxCode = 40000;
  e.comment = "c,1";
  Element empty;
  std::string sync(28, '\0');
  sync[0] = 1; sync[6] = 0x01; sync[8] = 0x02; sync[10] = 0x10; sync[11] = 0x27;
  std::string rec(152, '\0');
  rec[0] = 0x00; rec[1] = 0x01;  // um [Min 0.1]
  Section s1{1, LayoutSection(1, {MakeGroupEntry(1, 0x03)}, sync)};
  Section s2{2, ParamSection(2, {rec, rec})};
  Section s3{3, RowSection(2, {{e, e}, {empty}})};
  Section s4{4, Bytes().U16(2).U32(0xABCD0007).U32(9).data};
  WriteBytes(Path("a.axc"), File({s1, s2, s3, s4}, 0x0120, 1, "note", "me"));
  WriteBytes(Path("b.AXC"), File({s4, s3, s1, s2}, 0x0120, 1, "note", "me"));

  CAxisCfgDoc a, b;
  ASSERT_EQ(OpenDocumentFile(a, Path("a.axc")).id, 0u);
  ASSERT_EQ(OpenDocumentFile(b, Path("b.AXC")).id, 0u);
  ExpectSameData(a, b);

  EXPECT_EQ(a.GetUnitFamily(), 1u);
  EXPECT_EQ(a.GetAxisEntryCount(), 1);
  EXPECT_EQ(a.GetAxisEntry(0), MakeGroupEntry(1, 0x03));
  EXPECT_EQ(a.GetSyncGroups()[0].operation, 1u);
  EXPECT_EQ(a.GetSyncGroups()[0].difference, 10000);
  EXPECT_EQ(a.GetParamBlock().GetUnitCode(1), 0x0100);
  EXPECT_EQ(a.GetParamBlock().GetUnitCode(2), 0) << "records the file does not carry are zero-filled as read";
  EXPECT_EQ(a.GetCreator(), "me");
  EXPECT_EQ(a.GetComment(), "note");
  EXPECT_EQ(a.ExtraData(), (std::vector<uint16_t>{7, 9}));
  ASSERT_EQ(a.GetRowCount(), 600) << "tables the file lacks are at their reset values";
  const CPosData& r = *a.GetPosData(0);
  for (int axis = 0; axis < 2; ++axis) {
    EXPECT_EQ(r.GetControlMethod(axis), 2);
    EXPECT_EQ(r.GetJumpNo(axis), 17);
    EXPECT_EQ(r.GetInterpPattern(axis), 0x11);
    EXPECT_EQ(r.GetPositionMode(axis), 1);
    EXPECT_EQ(r.GetMoveAmount(axis), -1073741823);
    EXPECT_EQ(r.GetAuxPoint(axis), 5000000000LL);
    EXPECT_EQ(r.GetAccelPattern(axis), 1);
    EXPECT_EQ(r.GetAccelTime(axis), 250);
    EXPECT_EQ(r.GetDecelTime(axis), 9999);
    EXPECT_EQ(r.GetTargetSpeed(axis), 32767000);
    EXPECT_EQ(r.GetDwellTime(axis), 32767);
    EXPECT_EQ(r.GetAuxCode(axis), 40000);
    EXPECT_EQ(r.GetComment(axis), "c,1");
  }
  EXPECT_TRUE(r.Element(2) == PosElement());
  for (int k = 1; k < 600; ++k) ASSERT_TRUE(*a.GetPosData(k) == CPosData()) << k;
}

TEST_F(SettingFile, OnlyLayoutAndParametersOrTooManyRows) {
  WriteBytes(Path("two.axc"), File({{1, LayoutSection(1, {MakeSingleAxisEntry(4)}, "")}, {2, ParamSection(8, {})}}));
  CAxisCfgDoc doc;
  doc.GetPosData(3)->SetMoveAmount(0, 55);
  ASSERT_EQ(OpenDocumentFile(doc, Path("two.axc")).id, 0u);
  EXPECT_EQ(doc.GetAxisEntry(0), MakeSingleAxisEntry(4));
  ASSERT_EQ(doc.GetRowCount(), 600);
  EXPECT_TRUE(*doc.GetPosData(3) == CPosData()) << "no table comes from the file";

  std::vector<std::vector<Element>> rows(601, std::vector<Element>(1));
  rows[599][0].move = 599;
  rows[600][0].move = 600;
  WriteBytes(Path("many.axc"), File({{3, RowSection(601, rows)}}));
  CSettingDataSet set;
  ASSERT_EQ(LoadFile(doc, Path("many.axc"), &set, false).id, 0u);
  ASSERT_EQ(set.RowCount(), 600);
  EXPECT_EQ(set.rows[599]->GetMoveAmount(0), 599);
}

TEST_F(SettingFile, DamagedAndForeignFilesAreRefusedAndTheDocumentKeepsItsData) {
  const std::string good = File({{1, LayoutSection(1, {1}, "")}, {3, RowSection(1, {{Element(), Element()}})}});
  const size_t rowsStart = 83 + 14 + 68;
  struct Case {
    const char* what;
    std::string bytes;
    uint32_t id;
  };
  auto with = [&](size_t offset, char byte) {
    std::string s = good;
    s[offset] = byte;
    return s;
  };
  Element longCount;
  longCount.comment = "abc";
  std::string wrongLength = File({{3, RowSection(1, {{longCount}})}});
  wrongLength[83 + 7 + 2 + 2] = 70;  // says 70, the comment makes it 71
  const std::vector<Case> cases = {
      {"short header", good.substr(0, 82), kMsgFileDamaged},
      {"magic changed", with(2, 'X'), kMsgNotASettingFile},
      {"byte order mark changed", with(4, 0x00), kMsgNotASettingFile},
      {"no sections", with(12, 0), kMsgNoSections},
      {"newer format", with(6, 0x21), kMsgNewerFormat},
      {"newer section", with(83 + 2, 0x11), kMsgSectionVersion},
      {"truncated inside a row", good.substr(0, rowsStart + 2 + 2 + 72 + 30), kMsgFileDamaged},
      {"truncated directory", good.substr(0, 83 + 10), kMsgFileDamaged},
      {"section beyond the end", with(83 + 6, 0x7F), kMsgFileDamaged},
      {"header size beyond the end", with(10, 0x10), kMsgFileDamaged},
      {"element length disagrees", wrongLength, kMsgFileDamaged},
      {"nine parameter records", File({{2, ParamSection(9, {})}}), kMsgFileDamaged},
      {"nine elements in a row", File({{3, RowSection(1, {std::vector<Element>(9)})}}), kMsgFileDamaged},
      {"nine layout entries", File({{1, LayoutSection(9, {1}, "")}}), kMsgFileDamaged},
      {"layout entry naming no single axis", File({{1, LayoutSection(1, {0x00FF00FF}, "")}}), kMsgFileDamaged},
      {"axis above 8", File({{1, LayoutSection(1, {0x00010100}, "")}}), kMsgFileDamaged},
      {"axis used twice", File({{1, LayoutSection(2, {0x00010001, MakeGroupEntry(1, 0x03)}, "")}}), kMsgFileDamaged},
      {"group of four axes", File({{1, LayoutSection(1, {MakeGroupEntry(1, 0x0F)}, "")}}), kMsgFileDamaged},
      {"group number used twice",
       File({{1, LayoutSection(2, {MakeGroupEntry(1, 0x03), MakeGroupEntry(1, 0x0C)}, "")}}), kMsgFileDamaged},
      {"no layout entry", File({{1, LayoutSection(0, {}, "")}}), kMsgFileDamaged},
      {"axis 5 in an interpolation-family unit", File({{1, LayoutSection(1, {0x00010010}, "")}}, 0x0120, 1),
       kMsgFileDamaged},
      {"empty file", "", kMsgFileDamaged},
  };
  for (const Case& c : cases) {
    WriteBytes(Path("bad.axc"), c.bytes);
    CAxisCfgDoc doc;
    FillDocument(doc);
    doc.SetPathName("/keep/old.axc");
    CAxisCfgDoc reference;
    FillDocument(reference);
    FileStatus st = OpenDocumentFile(doc, Path("bad.axc"));
    EXPECT_EQ(st.id, c.id) << c.what;
    EXPECT_EQ(doc.GetLoadError(), c.id) << c.what;
    EXPECT_EQ(doc.GetPathName(), "/keep/old.axc") << c.what;
    ExpectSameData(doc, reference);
    EXPECT_EQ(FileStatusText(st, "x"), AxisCfgText(c.id)) << c.what;
  }
  // The seeds of the reader's fuzz target are these same cases.
  WriteBytes(Path("good.axc"), good);
  CAxisCfgDoc doc;
  EXPECT_EQ(OpenDocumentFile(doc, Path("good.axc")).id, 0u);
  EXPECT_EQ(doc.GetLoadError(), 0u);
}

TEST_F(SettingFile, ExtensionUnknownSectionsAndMissingFiles) {
  CAxisCfgDoc doc;
  ASSERT_EQ(SaveDocumentFile(doc, Path("n.axc")).id, 0u);
  std::string bytes = ReadBytes(Path("n.axc"));
  WriteBytes(Path("n.txt"), bytes);
  EXPECT_EQ(OpenDocumentFile(doc, Path("n.txt")).id, kMsgWrongFileType);
  EXPECT_EQ(OpenDocumentFile(doc, Path("n.axcx")).id, kMsgWrongFileType);

  FileStatus missing = OpenDocumentFile(doc, Path("missing.axc"));
  EXPECT_EQ(missing.id, kFileSystemError);
  EXPECT_NE(FileStatusText(missing, Path("missing.axc")).find("missing.axc"), std::string::npos);
  EXPECT_EQ(OpenDocumentFile(doc, dir + "/").id, kMsgWrongFileType);
  ::mkdir(Path("folder.axc").c_str(), 0755);
  EXPECT_EQ(OpenDocumentFile(doc, Path("folder.axc")).id, kFileSystemError);

  // A section kind the tool does not know is skipped.
  WriteBytes(Path("k.axc"), File({{7, "whatever"}, {1, LayoutSection(1, {MakeSingleAxisEntry(1)}, "")}}));
  ASSERT_EQ(OpenDocumentFile(doc, Path("k.axc")).id, 0u);
  EXPECT_EQ(doc.GetAxisEntry(0), MakeSingleAxisEntry(1));
}

TEST_F(SettingFile, OldVersionIsConvertedOnOpenAndReadAsItIsOtherwise) {
  std::string rec(152, '\x55');
  rec[0] = 0x01; rec[1] = 0x01;  // unit um [Min 1]
  std::string sync(28, '\x01');
  WriteBytes(Path("legacy.axc"),
           File({{1, LayoutSection(1, {MakeSingleAxisEntry(0)}, sync)}, {2, ParamSection(8, {rec, rec})}}, 0x0110, 1));

  CSettingDataSet asRead;
  CAxisCfgDoc doc;
  ASSERT_EQ(LoadFile(doc, Path("legacy.axc"), &asRead, false).id, 0u);
  EXPECT_EQ(asRead.family, 0u);
  EXPECT_EQ(asRead.formatVersion, 0x0110);
  EXPECT_EQ(asRead.sync[0].operation, 0x01010101u);
  EXPECT_EQ(asRead.params.RecordBytes(0)[44], 0x55) << "not converted without apply";

  doc.SetModifiedFlag(true);
  FileStatus st = OpenDocumentFile(doc, Path("legacy.axc"));
  ASSERT_EQ(st.id, kMsgConverted);
  EXPECT_TRUE(st.Succeeded());
  EXPECT_EQ(doc.GetLoadError(), 0u);
  EXPECT_EQ(doc.GetTitle(), "legacy(after conversion).axc");
  EXPECT_EQ(FileStatusText(st, Path("legacy.axc"), doc.GetTitle()),
            "As the old version of the file was opened, a part of the setting was initialized.\r\n"
            "Present file name legacy(after conversion).axc ");
  EXPECT_FALSE(doc.IsModified());
  EXPECT_EQ(doc.GetUnitFamily(), 0u);
  EXPECT_EQ(doc.GetSyncGroups()[0], CSyncGroupRecord());
  EXPECT_EQ(doc.GetSyncGroups()[1], CSyncGroupRecord());
  const uint8_t* r = doc.GetParamBlock().RecordBytes(1);
  EXPECT_EQ(GetLe16(r + 0), 0x0101) << "old parameters are kept";
  EXPECT_EQ(GetLe16(r + 24), 0x5555);
  const std::pair<int, uint32_t> reset16[] = {{14, 0x20}, {16, 1}, {18, 1}, {20, 0},   {42, 0x30},  {52, 0},
                                              {80, 1},    {118, 0}, {130, 0}, {132, 100}, {134, 100}};
  for (auto [offset, value] : reset16) EXPECT_EQ(GetLe16(r + offset), value) << offset;
  const std::pair<int, uint32_t> reset32[] = {{44, 0}, {48, 10000}, {136, 1000}, {144, 0}};
  for (auto [offset, value] : reset32) EXPECT_EQ(GetLe32(r + offset), value) << offset;
  EXPECT_EQ(doc.GetParamBlock().GetParam(44, 5), 1u) << "axes the file did not carry are converted too";

  // Save writes the converted document under its new title, next to the old file.
  EXPECT_EQ(SavePathOf(doc), Path("legacy(after conversion).axc"));
  ASSERT_EQ(SaveDocumentFile(doc, SavePathOf(doc)).id, 0u);
  EXPECT_EQ(doc.GetTitle(), "legacy(after conversion).axc");
  CAxisCfgDoc reopened;
  EXPECT_EQ(OpenDocumentFile(reopened, Path("legacy(after conversion).axc")).id, 0u);
}

TEST_F(SettingFile, NamesWhenSaving) {
  EXPECT_EQ(ProposedSaveAsName("legacy(after conversion).axc"), "legacy(after");
  EXPECT_EQ(ProposedSaveAsName("plan#2.axc"), "plan");
  EXPECT_EQ(ProposedSaveAsName("line.v2.axc"), "line.v2");
  EXPECT_EQ(WithSettingFileExtension("a"), "a.axc");
  EXPECT_EQ(WithSettingFileExtension("a.AXC"), "a.AXC");
  CAxisCfgDoc doc;
  doc.SetPathName("/data/plain.axc");
  EXPECT_EQ(SavePathOf(doc), "/data/plain.axc");
}

TEST_F(SettingFile, KeepingCommentsWhenApplyingLoadedData) {
  CAxisCfgDoc doc;
  doc.GetPosData(4)->SetComment(2, "mine");
  CSettingDataSet set;
  for (int k = 0; k < 600; ++k) set.rows.push_back(std::make_unique<CPosData>());
  set.rows[4]->SetComment(2, "theirs");
  set.rows[4]->SetMoveAmount(2, 9);
  ApplyLoadedData(doc, std::move(set), true);
  EXPECT_EQ(doc.GetPosData(4)->GetComment(2), "mine");
  EXPECT_EQ(doc.GetPosData(4)->GetMoveAmount(2), 9);
}

// A save that fails while the file is being written leaves the previous
// file byte for byte and no temporary file behind.
TEST_F(SettingFile, InterruptedSaveKeepsThePreviousFile) {
  CAxisCfgDoc doc;
  ASSERT_EQ(SaveDocumentFile(doc, Path("keep.axc")).id, 0u);
  const std::string before = ReadBytes(Path("keep.axc"));
  ASSERT_GT(before.size(), 100000u);

  FillDocument(doc);
  doc.SetModifiedFlag(true);
  // Files may not grow beyond 64 KiB: the write fails half-way.
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 65536;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  FileStatus st = SaveDocumentFile(doc, Path("keep.axc"));
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_EQ(st.id, kFileSystemError);
  EXPECT_FALSE(st.systemError.empty());
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(ReadBytes(Path("keep.axc")), before);
  EXPECT_EQ(FilesIn(dir), std::vector<std::string>{"keep.axc"});

  // A folder that does not exist: nothing is written anywhere.
  EXPECT_EQ(SaveDocumentFile(doc, Path("no/such/dir.axc")).id, kFileSystemError);
}

}  // namespace
