// The messages and window texts of upload, download, verify unit and the
// write to FROM.
#include <mutex>

#include "axcfg_unit/unit_transfer.h"
#include "platform/strings.h"

namespace axcfg {

std::string TransferText(unsigned id) {
  static std::once_flag once;
  std::call_once(once, [] {
    static const platform::StringEntry kTexts[] = {
        {21301, "The setting data cannot be downloaded to the unit %s currently connected.\n\n"
                "Confirm the No. of axis and download again."},
        {21302, "The download to the unit completed successfully."},
        {21303, "System error\nThe downloaded data in the unit cannot be open correctly."},
        {21304, "Confirm the completion of download  Timeout error\nThe completion of the download was not confirmed."},
        {21305, "System error \n Check the connected unit or the slot number."},
        {21306, "Setting data is downloaded to positioning unit. \nIs it OK?"},
        {21307, "The setting data of %s cannot be downloaded to the connected unit %s. \n\n"
                "Please check unit type and download again."},
        {21311, "Download to the unit"},
        {21312, "The setting data is being downloaded to the unit."},
        {21322, "The upload from the unit completed successfully."},
        {21323, "The upload was aborted as the axis information uploaded is not correct."},
        {21324, "The uploade is not possible as the working memory area is not availble."},
        {21325, "The upload from the unit was aborted."},
        {21326, "The comment will be cleared as no comment exists in the unit.\n"
                "Do you leave the comment in the positioning setting data currently input?"},
        {21331, "Upload from the unit"},
        {21332, "The setting data is being uploaded from the unit."},
        {21341, "Verify the unit"},
        {21451, "The current No. of writing to FROM is %d times.\n\nIs it OK to execute writing to FROM?"},
        {21452, "The following error occurred in writing to FROM."},
        {21453, "It cannot be executed as writing to FROM is being processed."},
        {21454, "Failed in writing to FROM."},
        {21455, "Writing to FROM completed successfully."},
        {24002, "Not exist"},
        {29911, "Specify the range of table No. correctly."},
    };
    platform::Strings::RegisterBuiltin("AxisCfg", kTexts, sizeof kTexts / sizeof kTexts[0]);
  });
  return platform::Strings::Get("AxisCfg", id);
}

}  // namespace axcfg
