#pragma once
// Texts of the phone book program (module "KELD_TavMM"): the built-in
// English table and the ids the core, the window and the command line use.
#include <string>

namespace modembook {

constexpr const char* kStringModule = "KELD_TavMM";

enum ModemText : unsigned {
  kIdsListFailed = 1000,
  kIdsReadFailed = 1001,
  kIdsWriteFailed = 1002,
  kIdsCreateFailed = 1003,
  kIdsNoPhoneNumber = 1004,
  kIdsBookFull = 1010,
  kIdsNothingToDelete = 1011,
  kIdsStatusError = 1502,
  kIdsStatusCancel = 1503,
  kIdsStatusInitialise = 1504,
  kIdsStatusRingUp = 1505,
  kIdsStatusRingOff = 1506,
  kIdsAskDisconnect = 1507,
  kIdsAskInitialiseAll = 1508,
  kIdsDefaultInitCommand = 2006,
  kIdsAskSave = 2008,
  kIdsProgramName = 2010,
  kIdsToolBar = 2011,
  kIdsPulsePrefix = 2020,
  kIdsTonePrefix = 2021,
  kIdsCaption = 2025,
  kIdsPage = 3000,
  kIdsPrintPort = 3010,
  kIdsPrintDialMode = 3011,
  kIdsPrintPulse = 3012,
  kIdsPrintTone = 3013,
  kIdsPrintInitCommand = 3014,
  kIdsPrintPlcTimeout = 3015,
  kIdsPrintLineTimeout = 3016,
  kIdsPrintTitle = 3018,
  kIdsPrintPhone = 3019,
  kIdsPrintProperty = 3020,
  // Labels, menus and the entry dialog.
  kIdsPortLabel = 4100,
  kIdsDialModeLabel = 4101,
  kIdsOtherMode = 4102,
  kIdsInitCommandLabel = 4103,
  kIdsCommandDefault = 4104,
  kIdsPlcTimeoutLabel = 4105,
  kIdsLineTimeoutLabel = 4106,
  kIdsColumnTitle = 4107,
  kIdsColumnPhone = 4108,
  kIdsColumnProperty = 4109,
  kIdsAdd = 4110,
  kIdsDelete = 4111,
  kIdsStatusLabel = 4112,
  kIdsMenuFile = 4120,
  kIdsMenuSave = 4121,
  kIdsMenuInitialiseAll = 4122,
  kIdsMenuPrint = 4123,
  kIdsMenuPreview = 4124,
  kIdsMenuPrintSetup = 4125,
  kIdsMenuExit = 4126,
  kIdsMenuConnection = 4127,
  kIdsMenuConnect = 4128,
  kIdsMenuDisconnect = 4129,
  kIdsMenuHelp = 4130,
  kIdsMenuHelpTopics = 4131,
  kIdsMenuView = 4132,
  kIdsMenuToolBar = 4133,
  kIdsMenuStatusBar = 4134,
  kIdsReady = 4135,
  kIdsReadOnly = 4136,
  kIdsDetails = 4140,
  kIdsBaudLabel = 4142,
  kIdsDataLengthLabel = 4143,
  kIdsStopBitsLabel = 4144,
  kIdsParityLabel = 4145,
  kIdsParityNone = 4146,
  kIdsParityOdd = 4147,
  kIdsParityEven = 4148,
  kIdsConnect = 4149,
  kIdsInitialise = 4150,
  kIdsRegister = 4151,
  kIdsClose = 4152,
  kIdsHelp = 4153,
  kIdsAskResetEntry = 20020,
};

// Registers the built-in English table (idempotent).
void RegisterModemStrings();
// The text in force for an id.
std::string ModemText(unsigned id);

}  // namespace modembook
