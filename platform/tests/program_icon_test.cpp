#include "platform/program_icon.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QGuiApplication>

#include "platform/folders.h"

namespace {

// The build tree mirrors the installed one: the PNG sizes lie in
// <build>/share/icons/hicolor when a converter made them.
bool IconsBuilt() {
  return QDir(QString::fromStdString(platform::ProgramDir()) + "/../share/icons/hicolor/48x48/apps").exists();
}

TEST(ProgramIcon, FindsEverySizeBesideTheProgram) {
  if (!IconsBuilt()) GTEST_SKIP() << "no PNG icons were made in this build";
  for (const char* name : {"keld-axiscfg", "keld-tavscope", "keld-tavmodem"}) {
    const QIcon icon = platform::ProgramIcon(name);
    ASSERT_FALSE(icon.isNull()) << name;
    EXPECT_GE(icon.availableSizes().size(), 7) << name;
  }
}

TEST(ProgramIcon, UnknownNameGivesNullAndLeavesTheWindowIconAlone) {
  EXPECT_TRUE(platform::ProgramIcon("keld-no-such-program").isNull());
  platform::SetProgramIdentity("KELD_NoSuch", "keld-no-such-program");
  EXPECT_EQ(QGuiApplication::desktopFileName(), "KELD_NoSuch");
}

TEST(ProgramIcon, IdentitySetsDesktopNameAndWindowIcon) {
  if (!IconsBuilt()) GTEST_SKIP() << "no PNG icons were made in this build";
  platform::SetProgramIdentity("AxisCfg", "keld-axiscfg");
  EXPECT_EQ(QGuiApplication::desktopFileName(), "AxisCfg");
  EXPECT_FALSE(QGuiApplication::windowIcon().isNull());
}

}  // namespace
