// The library language, its string tables, the resource guards, messages,
// the system font and the clipboard.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>

#include "axview/helpers.h"
#include "message_box_recorder.h"
#include "platform/strings.h"
#include "test_home.h"

namespace {

// Points the language folder at a fresh folder, with or without a Japanese table.
class LangFolder {
 public:
  explicit LangFolder(bool withJapanese) {
    const char* old = std::getenv("KELD_LANG_DIR");
    if (old) saved_ = old, hadOld_ = true;
    dir_ = keldtest::FreshDir("lang");
    if (withJapanese) {
      std::ofstream out(dir_ + "/AxView.jpn.txt");
      out << "# test table\n30008\t貼り付けできません。\n30004\t検索\n";
    }
    setenv("KELD_LANG_DIR", dir_.c_str(), 1);
  }
  ~LangFolder() {
    if (hadOld_) setenv("KELD_LANG_DIR", saved_.c_str(), 1);
    else unsetenv("KELD_LANG_DIR");
  }

 private:
  std::string dir_, saved_;
  bool hadOld_ = false;
};

class HelperResources : public ::testing::Test {
 protected:
  void SetUp() override { SetAppName("Axis Configurator"); }
  void TearDown() override { KELDExSetLanguage(1); }
};

}  // namespace

TEST_F(HelperResources, LibraryStartsJapaneseAndSetLanguageReturnsIt) {
  EXPECT_EQ(KELDExGetLanguage(), 1);
  EXPECT_EQ(KELDExSetLanguage(0), 0);
  EXPECT_EQ(KELDExGetLanguage(), 0);
}

TEST_F(HelperResources, StringsComeFromTheLanguageTableInForce) {
  LangFolder lang(true);
  std::string text;
  KELDExSetLanguage(0);
  GetKELDExDLLString(30008, text);
  EXPECT_EQ(text, "Can't be pasted.");
  KELDExSetLanguage(1);
  GetKELDExDLLString(30008, text);
  EXPECT_EQ(text, "貼り付けできません。");
  GetKELDExDLLString(30007, text);  // not in this table
  EXPECT_EQ(text, "");
  // After the lookup the table that was in force before is in force again.
  EXPECT_EQ(platform::Strings::Get("AxView", 30008), "Can't be pasted.");
}

TEST_F(HelperResources, MissingJapaneseTableLeavesMessagesEmpty) {
  LangFolder lang(false);
  keldtest::MessageBoxRecorder boxes;
  KELDExSetLanguage(1);
  std::string text = "x";
  GetKELDExDLLString(30008, text);
  EXPECT_EQ(text, "");
  EXPECT_EQ(KELDExMessageBox(30008, 0, nullptr), -1);
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(HelperResources, MessageBoxAddsExclamationOnlyWithoutIcon) {
  LangFolder lang(false);
  keldtest::MessageBoxRecorder boxes;
  KELDExSetLanguage(0);
  boxes.answers = {platform::IDNO, platform::IDOK, platform::IDOK, platform::IDRETRY};
  EXPECT_EQ(KELDExMessageBox(30009, platform::MB_YESNO, nullptr), platform::IDNO);
  EXPECT_EQ(KELDExMessageBox(30008, platform::MB_OK | platform::MB_ICONSTOP, ""), platform::IDOK);
  EXPECT_EQ(KELDExMessageBox(30008, platform::MB_OK, "Mine"), platform::IDOK);
  EXPECT_EQ(KELDExMessageBox(30008, platform::MB_RETRYCANCEL, nullptr), platform::IDRETRY);
  ASSERT_EQ(boxes.boxes.size(), 4u);
  EXPECT_EQ(boxes.boxes[0].type, platform::MB_YESNO | platform::MB_ICONEXCLAMATION);
  EXPECT_EQ(boxes.boxes[0].caption, "Axis Configurator");
  EXPECT_EQ(boxes.boxes[0].text,
            "The clipboard's data and specified area aren't same size and shape.\r\nAre you sure that you want to "
            "paste it?");
  EXPECT_EQ(boxes.boxes[1].type, platform::MB_OK | platform::MB_ICONSTOP);
  EXPECT_EQ(boxes.boxes[2].type, platform::MB_OK | platform::MB_ICONEXCLAMATION);
  EXPECT_EQ(boxes.boxes[2].caption, "Mine");
  EXPECT_EQ(boxes.boxes[3].type, platform::MB_RETRYCANCEL);
  EXPECT_EQ(KELDExMessageBox(12345, platform::MB_OK, nullptr), -1);  // no such text
}

TEST_F(HelperResources, GuardsSwitchAndRestoreTheResourcesInForce) {
  LangFolder lang(true);
  SetAppStringModule("TestApp");
  const platform::StringEntry app[] = {{30008, "application text"}};
  platform::Strings::RegisterBuiltin("TestApp", app, 1);

  ASSERT_FALSE(LibraryResourcesInForce());
  EXPECT_EQ(GetResourceHandleInForce(), GetAppModuleHandle());
  EXPECT_EQ(LoadResourceString(30008), "application text");
  {
    CSwitchResource japanese;
    ASSERT_EQ(japanese.Switch(1), 1);
    EXPECT_TRUE(LibraryResourcesInForce());
    EXPECT_EQ(LoadResourceString(30008), "貼り付けできません。");
    {
      CSwitchResource english;
      ASSERT_EQ(english.Switch(0), 1);
      EXPECT_EQ(GetResourceHandleInForce(), GetDLLModuleHandle());
      EXPECT_EQ(LoadResourceString(30008), "Can't be pasted.");
      {
        CSwitchAppRes app;
        EXPECT_FALSE(LibraryResourcesInForce());
        EXPECT_EQ(LoadResourceString(30008), "application text");
      }
      EXPECT_EQ(LoadResourceString(30008), "Can't be pasted.");
    }
    EXPECT_EQ(LoadResourceString(30008), "貼り付けできません。");
  }
  EXPECT_FALSE(LibraryResourcesInForce());
  {
    CSwitchAppRes app;  // nothing to switch: the application's are in force
    EXPECT_FALSE(LibraryResourcesInForce());
  }
  EXPECT_NE(GetDLLModuleHandle(), nullptr);
  EXPECT_NE(GetDLLModuleHandle(), GetAppModuleHandle());
}

TEST_F(HelperResources, SwitchToMissingTableChangesNothing) {
  LangFolder lang(false);
  CSwitchResource guard;
  EXPECT_EQ(guard.Switch(1), 0);
  EXPECT_FALSE(LibraryResourcesInForce());
}

TEST_F(HelperResources, SystemFontIsNormalWeightWithAFace) {
  LOGFONT font;
  std::memset(static_cast<void*>(&font), 0x7F, sizeof font);
  int menuHeight = GetSystemLogFont(&font);
  EXPECT_GT(menuHeight, 10);
  EXPECT_LT(menuHeight, 60);
  EXPECT_EQ(font.lfWeight, 400);
  EXPECT_LT(font.lfHeight, 0);
  EXPECT_GT(std::strlen(font.lfFaceName), 0u);
  EXPECT_LT(std::strlen(font.lfFaceName), static_cast<size_t>(LF_FACESIZE));
  EXPECT_EQ(GetSystemLogFont(nullptr), menuHeight);
}

TEST_F(HelperResources, ClipboardTextRoundTrips) {
  std::string put = "1\t2\r\n3\t4\r\n";
  ASSERT_EQ(SetClipboardText(nullptr, put), 1);
  std::string got;
  EXPECT_EQ(GetClipboardText(nullptr, got), 1);
  EXPECT_EQ(got, put);
  std::string empty;
  ASSERT_EQ(SetClipboardText(nullptr, empty), 1);
  EXPECT_EQ(GetClipboardText(nullptr, got), 0);
  EXPECT_EQ(got, "");
}
