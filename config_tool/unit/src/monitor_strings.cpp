#include "axcfg_unit/monitor_strings.h"

#include <mutex>

#include "platform/strings.h"

namespace axcfg {

void RegisterMonitorStrings() {
  static std::once_flag once;
  std::call_once(once, [] {
    static const platform::StringEntry kTexts[] = {
        {kMonDataTitle, "Data monitor"},
        {kMonStatusTitle, "Status monitor"},
        {kMonAxisGroup, "Axis[Group]"},
        {kMonSyncGroup, "Synchronous goup"},
        {kMonSyncMode, "Synchronous mode"},
        {kMonSyncCondition, "Synchronous condition"},
        {kMonActiveTable, "Active table No."},
        {kMonAuxCode, "Auxiliary output code"},
        {kMonAmpCurrentPulse, "AMP current value (pulse)"},
        {kMonCurrentValue, "Current value"},
        {kMonConvertedValue, "Current value after unit conversion"},
        {kMonTorque, "Torque command (%)"},
        {kMonPulseInput, "Puls input value"},
        {kMonSpeed, "Actual speed (rpm)"},
        {kMonDeviation, "deviation"},
        {kMonAxisState, "State of axis"},
        {kMonErrorCode, "Error code"},
        {kMonWarningCode, "Warning code"},
        {kMonErrorClear, "Error Clear"},
        {kMonWarningClear, "Warning Clear"},
        {kMonMaster, "/ Master"},
        {kMonSlave, "/ Slave"},
        {kMonModeA, "Mode A"},
        {kMonModeB, "Mode B"},
        {kMonSynchronous, "Synchronous"},
        {kMonAsynchronous, "Asynchronous"},
        {kMonStateError, "An error occurred"},
        {kMonStateWarning, "Warning"},
        {kMonStateNotConnected, "Not connected"},
        {kMonStateActive, "Active"},
        {kMonStateInactive, "Inactive"},
        {kMonStopMonitoring, "Stop monitoring due to the following communication error.\n\n"},
        {kMonAxisNotConnected, "The axis is not connected."},
        {kMonUnitAxesNotCorrect, "The axis information in the unit is not correct."},
        {kMonClose, "&Close"},
        {kMonHelp, "&Help"},
        {kMonModel, "Model"},
        {kMonConnectionStatus, "Connection status"},
        {kMonConnection, "Connection"},
        {kMonNoConnection, "No connection"},
        {kMonBrandName, "Brand name"},
        {kMonAmpModel, "AMP model code"},
        {kMonMotorModel, "Motor model code"},
        {kMonStatusDisplay, "Status display"},
        {kMonServoFree, "Servo free"},
        {kMonLock, "Lock"},
        {kMonFree, "Free"},
        {kMonStatus, "Status"},
        {kMonCompletionWidth, "Completion width"},
        {kMonWithinRange, "Within the range"},
        {kMonOutOfRange, "Out of the range"},
        {kMonInputMonitor, "External terminal input monitor"},
        {kMonHomeProximity, "Home proximity"},
        {kMonProximity, "Proximity"},
        {kMonOff, "OFF"},
        {kMonHome, "Home"},
        {kMonLimitPlus, "Limit +"},
        {kMonLimitMinus, "Limit -"},
        {kMonFromWrites, "No. of writing to FROM"},
        {kMonFirmware, "Firmware version"},
        {kMonHardware, "Hardware version"},
        {kMonFromStatusTitle, "Check the status of writing to FROM"},
        {kMonWritingToFrom, "Writing to FROM"},
        {kMonPleaseWait, "Please wait...."},
        {kMonTrendButton, "&Trend..."},
        {kMonTrendTitle, "Trend"},
        {kMonTrendSpeed, "Speed"},
        {kMonTrendTorque, "Torque"},
        {kMonTrendDeviation, "Deviation"},
        {kMonTrendLast, "Last"},
        {kMonTrendPause, "&Pause"},
        {kMonTrendResume, "&Resume"},
        {kMonTrendExport, "&Export..."},
        {kMonTrendRecord, "Record to &file"},
        {kMonTrendTime, "Time"},
        {kMonTrendClock, "Clock"},
        {kMonTrendNoSamples, "There are no samples to export yet."},
        {kMonTrendWriteError, "The file cannot be written.\n%s"},
        {kMonTrendExportTitle, "Export the trend"},
        {kMonTrendRecordTitle, "Record the trend to a file"},
        {kMonTrendCsvFilter, "CSV files (*.csv)"},
        {kMonTrendPaused, "Paused"},
        {kMonTrendLive, "Live"},
        {kMonTrendRecording, "Recording to %s"},
        {kMonTrendHint, "Wheel: zoom   Drag: pan   End: live"},
        {kMonTrendAxis, "Axis"},
    };
    platform::Strings::RegisterBuiltin("AxisCfg", kTexts, sizeof kTexts / sizeof kTexts[0]);
  });
}

std::string MonitorText(unsigned id) {
  RegisterMonitorStrings();
  return platform::Strings::Get("AxisCfg", id);
}

}  // namespace axcfg
