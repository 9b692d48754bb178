#pragma once
// The texts of the tool's windows (module "AxisCfg", next to the data
// model's) and a formatting helper.
#include <string>

namespace axcfgui {

enum UiText : unsigned {
  kIdsDestination = 20521,  // "Destination of communication : %s"
  kIdsPositionUnit = 20522,
  kIdsSpeedUnit = 20523,
  kIdsReplaceOpen = 30101,  // "Is it OK to replace with the specified [%s] ?"
  kIdsChooseVerifyFile = 29025,  // "Choose the verify file"
  kIdsFileFilter = 30155,
  kIdsGuidanceBar = 30286,
  kIdsUpdatingDisplay = 31000,
  kIdsAskToSave = 31001,
  kIdsStartNew = 31003,
  kIdsStartOpen = 31004,
  kIdsStartUpload = 31005,
  kIdsStartExit = 31006,
  kIdsConfiguration = 31010,
  kIdsCurrentFolder = 31011,
  kIdsBrowse = 31012,
  kIdsChooseFolder = 31013,
  kIdsToolTimeout = 31014,
  kIdsSeconds = 31015,
  kIdsLanguage = 31016,
  kIdsEnglish = 31017,
  kIdsJapanese = 31018,
  kIdsHelpButton = 31019,
  kIdsFileProperty = 31020,
  kIdsFileName = 31021,
  kIdsCreator = 31022,
  kIdsComment = 31023,
  kIdsDate = 31024,
  kIdsPropertyTooLong = 31026,
  kIdsAbout = 31027,
  kIdsSelectSlotTitle = 31030,
  kIdsSelectSlotPrompt = 31031,
  kIdsSelectSlotLabel = 31032,
  kIdsParamSettingsTitle = 31200,
  kIdsCopyAxisButton = 31201,
  kIdsInitializeButton = 31202,
  kIdsCopyAxisTitle = 31203,
  kIdsSourceAxis = 31204,
  kIdsDestinationAxis = 31205,
  kIdsCopyAxisHint = 31206,
  kIdsMenuBase = 31100,  // menu and item labels, see command_table.cpp
  kIdsVerifyResultTitle = 31300,
  kIdsVerifyTarget = 31301,
  kIdsVerificationData = 31302,
  kIdsVerifyNote = 31303,
  kIdsCloseButton = 31304,
  kIdsDetailsButton = 31305,
  kIdsDiffTitle = 31306,
  kIdsDiffCount = 31307,  // "%1 differing items"
  kIdsDiffPart = 31308,
  kIdsDiffWhere = 31309,
  kIdsDiffTableNo = 31336,
  kIdsDiffItem = 31337,
  kIdsDiffDocument = 31338,
  kIdsDiffFile = 31339,
  kIdsDiffUnit = 31340,
  kIdsDiffCopy = 31341,
  kIdsCsvExportTitle = 31310,
  kIdsCsvFolder = 31311,
  kIdsCsvSelect = 31312,
  kIdsCsvBaseName = 31313,
  kIdsCsvParamFile = 31314,
  kIdsCsvSheetFile = 31315,  // "Positioning data %s"
  kIdsCommErrorTitle = 31320,
  kIdsCommErrorContinue = 31321,
  kIdsCommErrorEnd = 31322,
  kIdsConnectTo = 31323,
  kIdsSelectSlotButton = 31324,
  kIdsCommSettingsButton = 31325,
  kIdsUploadQuestion = 31326,
  kIdsYesButton = 31327,
  kIdsNoButton = 31328,
  kIdsChooseDownload = 31329,
  kIdsDownloadParams = 31330,
  kIdsDownloadTables = 31331,
  kIdsDownloadAll = 31332,
  kIdsDownloadRange = 31333,
  kIdsCancelButton = 31334,
  kIdsOkButton = 31335,
  kIdsCharNotStorable = 31640,
  kIdsMenuUndo = 31641,
  kIdsMenuRedo = 31642,
  kIdsMenuPrintPreview = 31643,
  kIdsPageOfPages = 31644,
  kIdsUntitled = 31645,
  kIdsVersion = 31646,
  kIdsMenuCut = 31647,
};

// Registers the English texts of the windows (and the data model's) with
// the "AxisCfg" module; calling it again changes nothing.
void RegisterAxisCfgUiStrings();

// The text of an id in the table in force.
std::string UiText(unsigned id);
// The text of an id with its one %s replaced by the argument.
std::string UiFormat(unsigned id, const std::string& arg);

}  // namespace axcfgui
