// Start-up settings, language choice, splash picture, placement defaults and
// guidance composition: the rules that need no window.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "axcfg_data/axis_layout.h"
#include "axcfg_data/pos_columns.h"
#include "guidance_text.h"
#include "platform/registry.h"
#include "startup_rules.h"
#include "ui_strings.h"
#include "test_home.h"
#include "window_placement.h"

using namespace axcfgui;
using platform::Hive;
using platform::Registry;

namespace {

void WriteSetting(const char* name, uint32_t value) {
  Registry::WriteDword(Hive::CurrentUser, AppSectionKey("Settings"), name, value);
}

}  // namespace

TEST(ToolOprTimes, OutOfRangeValuesStartWithOne) {
  EXPECT_EQ(ReadToolOprTimes(), 1);  // missing: 0, out of range
  for (int32_t bad : {0, 31, -1, -30, 1000}) {
    WriteSetting("ToolOprTimes", static_cast<uint32_t>(bad));
    EXPECT_EQ(ReadToolOprTimes(), 1) << bad;
  }
  for (int good : {1, 15, 30}) {
    WriteSetting("ToolOprTimes", static_cast<uint32_t>(good));
    EXPECT_EQ(ReadToolOprTimes(), good);
  }
}

TEST(CurrentPath, EmptyTakesDocumentsOnlyWhenItExists) {
  const std::string dir = keldtest::FreshDir("cwd");
  EXPECT_EQ(DefaultCurrentPath("", dir), "");
  std::filesystem::create_directory(std::filesystem::path(dir) / "Documents");
  EXPECT_EQ(DefaultCurrentPath("", dir), (std::filesystem::path(dir) / "Documents").string());
  EXPECT_EQ(DefaultCurrentPath("/somewhere", dir), "/somewhere");

  WriteCurrentPath("/kept/path");
  EXPECT_EQ(ReadCurrentPath(), "/kept/path");
}

TEST(LanguageChoice, FallsBackInOrderAndGivesUpAfterThreeAttempts) {
  std::vector<int> tried;
  auto listedAll = [](int) { return true; };
  // Japanese requested, its table cannot be loaded: English, with the fallback.
  LanguageChoice c = ChooseLanguage(1, listedAll, [&](int l) {
    tried.push_back(l);
    return l == 0;
  });
  EXPECT_TRUE(c.ok);
  EXPECT_EQ(c.language, 0);
  EXPECT_TRUE(c.fellBack);
  EXPECT_EQ(tried, (std::vector<int>{1, 0}));  // 1, then 2 (English tables), which loads

  // Japanese not in the list at all is never loaded.
  tried.clear();
  c = ChooseLanguage(1, [](int l) { return l != 1; }, [&](int l) {
    tried.push_back(l);
    return true;
  });
  EXPECT_TRUE(c.ok);
  EXPECT_EQ(c.language, 0);
  EXPECT_TRUE(c.fellBack);
  EXPECT_EQ(tried, (std::vector<int>{0}));

  // Requested and found: no fallback.
  c = ChooseLanguage(0, listedAll, [](int) { return true; });
  EXPECT_TRUE(c.ok);
  EXPECT_FALSE(c.fellBack);

  // Nothing usable: three attempts, then failure.
  int attempts = 0;
  c = ChooseLanguage(0, listedAll, [&](int) {
    ++attempts;
    return false;
  });
  EXPECT_FALSE(c.ok);
  EXPECT_EQ(attempts, 3);
}

TEST(SplashFile, OnlyAReadableBitmapWithASizeIsShown) {
  const std::string dir = keldtest::FreshDir("splash");
  EXPECT_FALSE(ReadSplashFile(dir + "/missing.Opn"));
  auto write = [&](const std::string& name, const std::string& bytes) {
    std::ofstream(dir + "/" + name, std::ios::binary) << bytes;
    return dir + "/" + name;
  };
  EXPECT_FALSE(ReadSplashFile(write("text.Opn", std::string("GIF89a") + std::string(40, '\0'))));
  EXPECT_FALSE(ReadSplashFile(write("short.Opn", "BM1234")));
  std::string bmp(54, '\0');
  bmp[0] = 'B';
  bmp[1] = 'M';
  bmp[18] = static_cast<char>(0x2C);  // 300
  bmp[19] = 0x01;
  bmp[22] = static_cast<char>(0xC8);  // 200
  auto info = ReadSplashFile(write("ok.Opn", bmp));
  ASSERT_TRUE(info);
  EXPECT_EQ(info->width, 300);
  EXPECT_EQ(info->height, 200);
}

TEST(HelpFile, FollowsTheLanguage) {
  EXPECT_EQ(HelpFileName(1), "AxisCfgJpn.chm");
  EXPECT_EQ(HelpFileName(0), "AxisCfgEnu.chm");
}

TEST(WindowPlacement, FirstStartIsEightyPercentCentred) {
  PlacementRect desktop{0, 0, 1600, 1000};
  EXPECT_EQ(DefaultNormalRect(desktop), (PlacementRect{160, 100, 1440, 900}));
  // Odd sizes truncate: 1001 * 0.8 = 800, centre 500 - 400.
  PlacementRect odd{0, 0, 1001, 777};
  PlacementRect r = DefaultNormalRect(odd);
  EXPECT_EQ(r.Width(), 800);
  EXPECT_EQ(r.Height(), 621);
  EXPECT_EQ(r.left, 500 - 400);
  EXPECT_EQ(r.top, 388 - 310);
}

TEST(WindowPlacement, NeitherLoadedNorSavedWithoutTheToolsKey) {
  WindowPlacementRecord rec;
  rec.normal = {1, 2, 3, 4};
  EXPECT_FALSE(SaveWindowPlacement(rec));
  EXPECT_FALSE(LoadWindowPlacement(rec, {0, 0, 1000, 800}));
  EXPECT_EQ(rec.normal, PlacementRect{});
  EXPECT_FALSE(SaveBarState("x"));

  Registry::CreateKey(Hive::CurrentUser, AppKeyPath());
  ASSERT_TRUE(LoadWindowPlacement(rec, {0, 0, 1000, 800}));
  EXPECT_EQ(rec.showCmd, 1);
  EXPECT_EQ(rec.minX, -1);
  EXPECT_EQ(rec.maxY, -1);
  EXPECT_EQ(rec.normal, (PlacementRect{100, 80, 900, 720}));

  rec.normal = {10, 20, 610, 420};
  rec.showCmd = 3;
  ASSERT_TRUE(SaveWindowPlacement(rec));
  WindowPlacementRecord back;
  ASSERT_TRUE(LoadWindowPlacement(back, {0, 0, 1000, 800}));
  EXPECT_EQ(back, rec);
}

TEST(Guidance, NoteStartsOnTheFifthLineOrDirectlyAfterALongText) {
  EXPECT_EQ(ComposeGuidance("Text", ""), "Text");
  EXPECT_EQ(ComposeGuidance("A\r\nB", "Note ccc"), "A\r\nB\r\n\r\n\r\nNote 100");
  EXPECT_EQ(ComposeGuidance("1\n2\n3\n4\n5", "N"), "1\n2\n3\n4\n5N");
  EXPECT_EQ(ComposeGuidance("1\n2\n3\n4", "N"), "1\n2\n3\n4\r\nN");
  EXPECT_EQ(ComposeGuidance("", "cccc ccc"), "\r\n\r\n\r\n\r\n100c 100");
}

TEST(Guidance, IdsFollowTheColumnAndTheSheetKind) {
  using namespace axcfg;
  const uint32_t single = MakeSingleAxisEntry(2);
  const uint32_t two = MakeGroupEntry(1, 0x12);
  const uint32_t three = MakeGroupEntry(2, 0x07);
  EXPECT_EQ(GuidanceIdOfColumn(kColControlMethod, single), 20558u);
  EXPECT_EQ(GuidanceIdOfColumn(kColControlMethod, two), 20559u);
  EXPECT_EQ(GuidanceIdOfColumn(kColInterpPattern, two), 20602u);
  EXPECT_EQ(GuidanceIdOfColumn(kColInterpPattern, three), 20614u);
  EXPECT_EQ(GuidanceIdOfColumn(kColFirstMove + 2 * 4, two), 20604u);
  EXPECT_EQ(GuidanceIdOfColumn(kColFirstAux + 2 * 1, two), 20606u);
  EXPECT_EQ(GuidanceIdOfColumn(kColAxisSpeed, single), 20610u);
  EXPECT_EQ(GuidanceIdOfColumn(kColInterpSpeed, two), 20610u);
  EXPECT_EQ(GuidanceIdOfColumn(kColDwellTime, single), 20615u);
  EXPECT_EQ(GuidanceIdOfColumn(kColDwellTime, three), 20611u);
  EXPECT_EQ(GuidanceIdOfColumn(kColComment, single), 20613u);
  EXPECT_EQ(GuidanceIdOfColumn(99, single), 0u);
}

TEST(LanguageTables, JapaneseKeepsEnglishForIdsWithoutATranslation) {
  axcfgui::RegisterAxisCfgUiStrings();
  ASSERT_TRUE(LoadLanguageTables(1));
  EXPECT_EQ(UiText(kIdsMenuBase), "ファイル(&F)");
  EXPECT_EQ(UiFormat(kIdsDestination, "X"), "通信先 : X");
  EXPECT_FALSE(UiText(29003).empty());  // a data-model text with no Japanese line
  ASSERT_TRUE(LoadLanguageTables(0));
  EXPECT_EQ(UiText(kIdsMenuBase), "&File");
}
