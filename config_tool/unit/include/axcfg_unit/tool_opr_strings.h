#pragma once
// Ids and English texts of the tool operation's messages, titles and prompts
// in the configuration tool's table.
#include <string>

namespace axcfg {

enum ToolOprStringId : unsigned {
  kTopStatus = 34100,
  kTopAskStart = 34101,
  kTopCannotStart = 34102,
  kTopAskRestart = 34103,
  kTopOtherOperation = 34104,
  kTopAskQuit = 34105,
  kTopCancelFailed = 34106,
  kTopReleased = 34107,
  kTopJogError = 34108,
  kTopHomeError = 34109,
  kTopDecelError = 34110,
  kTopSyncModeAHome = 34111,
  kTopSyncModeBHome = 34112,
  kTopSyncMaster = 34113,
  kTopPositioningError = 34114,
  kTopInterpolationAxis = 34115,
  kTopUnitUnknown = 34116,
  kTopOriginError = 34117,
  kTopCurrentValueError = 34118,
  kTopNoSync = 34119,
  kTopSyncModeB = 34120,
  kTopRunningAxis = 34121,
  kTopServoError = 34122,
  kTopTitleChange = 34123,
  kTopTitleOrigin = 34124,
  kTopTitleCurrentValue = 34125,
  kTopTitleJogSpeed = 34126,
  kTopTitleStartingTable = 34127,
  kTopTitleTable = 34128,
  kTopTitleSpeedRate = 34129,
  kTopPromptOrigin = 34130,
  kTopPromptCurrentValue = 34131,
  kTopPromptSpeed = 34132,
  kTopPromptTable = 34133,
  kTopPromptRate = 34134,
  kTopRange = 34135,
  kTopInputEmpty = 34136,
  kTopInputInvalid = 34137,
  kTopInputOutOfRange = 34138,
  kTopJogSpeedUnitUnknown = 34139,
  kTopTeachUnitDiffers = 34140,
};

// Registers the English texts with the tool's table (repeatable).
void RegisterToolOprStrings();
std::string ToolOprText(unsigned id);

}  // namespace axcfg
