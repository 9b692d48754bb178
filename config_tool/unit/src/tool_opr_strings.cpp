#include "axcfg_unit/tool_opr_strings.h"

#include <mutex>

#include "axcfg_data/axcfg_strings.h"
#include "platform/strings.h"

namespace axcfg {

void RegisterToolOprStrings() {
  static std::once_flag once;
  std::call_once(once, [] {
    RegisterAxisCfgDataStrings();  // unit names and axis labels fill the prompts and titles
    static const platform::StringEntry kTexts[] = {
        {kTopStatus, "Tool operation"},
        {kTopAskStart, "Start Tool operation.\nIs it OK?"},
        {kTopCannotStart, "You cannot start Tool operation."},
        {kTopAskRestart, "Tool operation is already activated. Restart Tool operation.\nIs it OK?"},
        {kTopOtherOperation, "You cannot start Tool operation as the axis is running in another operation."},
        {kTopAskQuit, "Quit Tool operation.\nIs it OK?"},
        {kTopCancelFailed, "Failed in cancelling the Tool operation mode.\nIs it OK to finish the Tool operation?"},
        {kTopReleased, "The tool operation status of the unit was released.\nFinish Tool operation."},
        {kTopJogError, "The following error occurred in the JOG operation."},
        {kTopHomeError, "The following error occurred when starting the home return."},
        {kTopDecelError, "The following error occurred in the deceleration stop."},
        {kTopSyncModeAHome, "In the synchronous mode A, the home return can be executed only when the synchronous condition is asynchronous."},
        {kTopSyncModeBHome, "As the synchronous operation is set to the the synchronous mode B, the current home return mode cannot be used."},
        {kTopSyncMaster, "The start/stop operation for the synchronous operation has been done. \n\nThe start/stop operation shoud be executed for the master."},
        {kTopPositioningError, "The following error occurred when starting the positioning operation."},
        {kTopInterpolationAxis, "The process of interpolation positioning start/stop was done.\n\nThe interpolation positioning start/stop should be executed\nfor the smallest axis in the interpolation group."},
        {kTopUnitUnknown, "The zero offset cannot be changed as the unit is not obtained correctly."},
        {kTopOriginError, "During the coodinate origin input, the following error occurred."},
        {kTopCurrentValueError, "While current value update input, the following error happened."},
        {kTopNoSync, "As the synchronous operation is not set, the synchronous condition cannot be changed."},
        {kTopSyncModeB, "As the mode is the synchronous mode B, the synchronous condition cannot be changed."},
        {kTopRunningAxis, "It cannot be finished as there is a running axis.\nStop all axes and then finish."},
        {kTopServoError, "The following error occurred when changing the servo between ON and OFF."},
        {kTopTitleChange, "Input change value"},
        {kTopTitleOrigin, "Coordinate origin"},
        {kTopTitleCurrentValue, "Current value update"},
        {kTopTitleJogSpeed, "Input JOG target speed"},
        {kTopTitleStartingTable, "Input starting table No."},
        {kTopTitleTable, "Input Table No."},
        {kTopTitleSpeedRate, "Input speed rate"},
        {kTopPromptOrigin, "Input the coordinate origin value (unit:%s) to be changed."},
        {kTopPromptCurrentValue, "Input the current value (unit: %s) to be changed."},
        {kTopPromptSpeed, "Input the target speed (unit:%s) to change."},
        {kTopPromptTable, "Input the table No. to change."},
        {kTopPromptRate, "Input the speed rate (unit:%) to change."},
        {kTopRange, "Range:%s - %s"},
        {kTopInputEmpty, "Input any value."},
        {kTopInputInvalid, "Input a value correctly."},
        {kTopInputOutOfRange, "The input value is out of range.\nInput the correct value."},
        {kTopJogSpeedUnitUnknown, "The JOG target speed cannot be changed as the unit is not obtained correctly."},
        {kTopTeachUnitDiffers, "The unit of position of the axis differs between the unit and the document.\nThe position was not taught."},
        {kTopRowUnit, "Unit"},
        {kTopRowDeviation, "Deviation (pulse)"},
        {kTopRowJogSpeed, "Jog target speed"},
        {kTopRowJog, "JOG"},
        {kTopRowHomeMode, "Home return mode"},
        {kTopRowStartingTable, "Starting table No."},
        {kTopRowTable, "Table No."},
        {kTopBtnChangeSync, "Change synchronous"},
        {kTopBtnChange, "Change"},
        {kTopBtnTeaching, "Teaching"},
        {kTopBtnErrorClear, "Error clear"},
        {kTopBtnWarningClear, "Warning clear"},
        {kTopBtnStart, "Start"},
        {kTopBtnStop, "Stop"},
        {kTopHomeDog1, "DOG method 1"},
        {kTopHomeDog2, "DOG method 2"},
        {kTopHomeDog3, "DOG method 3"},
        {kTopHomePhaseZ, "Phase Z method"},
        {kTopHomeOrigin, "Home metod"},
        {kTopHomeStop1, "Stop-on-contact method 1"},
        {kTopHomeStop2, "Stop-on-contact method 2"},
        {kTopHomeDataSet, "Data set"},
        {kTopTitleJogWnd, "Tool operation - JOG operation"},
        {kTopTitleHomingWnd, "Tool operation - Homing"},
        {kTopTitlePositioningWnd, "Tool operation - Positioning"},
        {kTopTitleTeachingWnd, "Tool operation - Teaching"},
        {kTopBtnServoDlg, "&Servo ON/OFF..."},
        {kTopBtnHomingDlg, "&Homing..."},
        {kTopBtnPositioningDlg, "&Positioning..."},
        {kTopBtnJogDlg, "&JOG..."},
        {kTopBtnTeachingDlg, "&Teaching..."},
        {kTopBtnExit, "&Exit"},
        {kTopBtnSpeedRate, "&Speed rate"},
        {kTopTitleServoDlg, "Servo ON/OFF"},
        {kTopServoOn, "ON"},
        {kTopServoOff, "OFF"},
        {kTopBtnChangeServo, "Change ON/OFF"},
        {kTopServoState, "Servo"},
        {kTopBtnOk, "&OK"},
        {kTopBtnCancel, "&Cancel"},
    };
    platform::Strings::RegisterBuiltin("AxisCfg", kTexts, sizeof kTexts / sizeof kTexts[0]);
  });
}

std::string ToolOprText(unsigned id) {
  RegisterToolOprStrings();
  return platform::Strings::Get("AxisCfg", id);
}

}  // namespace axcfg
