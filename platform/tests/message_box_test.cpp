#include <gtest/gtest.h>

#include "message_box_recorder.h"
#include "platform/message_box.h"

using namespace platform;

TEST(MessageBox, DefaultButtonsFollowTypeAndDefaultBits) {
  EXPECT_EQ(DefaultButton(MB_OK), IDOK);
  EXPECT_EQ(DefaultButton(MB_YESNO | MB_ICONQUESTION), IDYES);
  EXPECT_EQ(DefaultButton(MB_YESNO | MB_DEFBUTTON2), IDNO);
  EXPECT_EQ(DefaultButton(MB_YESNOCANCEL | MB_DEFBUTTON3), IDCANCEL);
  EXPECT_EQ(DefaultButton(MB_ABORTRETRYIGNORE | MB_DEFBUTTON2), IDRETRY);
  EXPECT_EQ(DefaultButton(MB_RETRYCANCEL), IDRETRY);
  EXPECT_EQ(DefaultButton(0xE), IDOK);  // unknown button set
}

TEST(MessageBox, HandlersRecordAndAnswerAndNest) {
  keldtest::MessageBoxRecorder outer;
  {
    keldtest::MessageBoxRecorder inner;
    inner.answers = {IDNO};
    EXPECT_EQ(ShowMessageBox("Save changes?", MB_YESNOCANCEL, "AxisCfg"), IDNO);
    EXPECT_EQ(ShowMessageBox("Again?", MB_YESNOCANCEL, "AxisCfg"), IDYES);
    ASSERT_EQ(inner.boxes.size(), 2u);
    EXPECT_EQ(inner.boxes[0].caption, "AxisCfg");
    EXPECT_EQ(inner.boxes[0].type, static_cast<unsigned>(MB_YESNOCANCEL));
  }
  EXPECT_EQ(ShowMessageBox("after", MB_OK, "c"), IDOK);
  EXPECT_EQ(outer.Texts(), std::vector<std::string>{"after"});
}
