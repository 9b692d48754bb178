#include "modem_book/modem_strings.h"

#include <iterator>

#include "platform/strings.h"

namespace modembook {

namespace {

const platform::StringEntry kEnglish[] = {
    {kIdsDialTitle, "Telephone connection"},
    {kIdsDialConnecting, "is being connected."},
    {kIdsDialCancelAccepted, "Cancel accepted."},
    {kIdsPleaseWait, "Please wait...."},
    {kIdsDialCancel, "Cancel"},
    {kIdsConnectedTitle, "Connection check"},
    {kIdsConnectedTo, " is connected."},
    {kIdsHangUpTitle, "Modem disconnection"},
    {kIdsForceButton, "Forced disconnect"},
    {kIdsListFailed, "Showing the destination list failed."},
    {kIdsReadFailed, "Reading the modem connection data failed."},
    {kIdsWriteFailed, "Writing the modem connection data failed."},
    {kIdsCreateFailed, "Creating the modem connection data failed."},
    {kIdsNoPhoneNumber, "No telephone destination is set.\nPlease register a phone number."},
    {kIdsPhoneUnusable, "The phone number can hold only printable ASCII characters (at most 30).\nPlease correct it."},
    {kIdsLineSettingsUnusable, "The line settings of the destination are out of range.\nPlease set them again."},
    {kIdsCommandUnusable, "The initial command or dial command of the port is too long or holds characters a modem cannot take."},
    {kIdsBookFull, "At most 4096 entries can be registered."},
    {kIdsNothingToDelete, "There is no data to delete."},
    {kIdsStatusError, "ERROR"},
    {kIdsStatusCancel, "Cancel"},
    {kIdsStatusInitialise, "Initialize for Modem"},
    {kIdsStatusRingUp, "Ring up"},
    {kIdsStatusRingOff, "Ring off"},
    {kIdsAskDisconnect, "A line is connected.\nDisconnect it?"},
    {kIdsAskInitialiseAll, "The registered data will be initialised.\nIs that all right?"},
    {kIdsWaitOthers, "Waiting for other applications to release the modem.\nPlease wait...."},
    {kIdsDisconnecting, "Disconnecting the modem.\nPlease wait...."},
    {kIdsAskForce, "Force the end.\nIs that all right?"},
    {kIdsDefaultInitCommand, "ATV1E0S0=1S2=43"},
    {kIdsAskSave, "The data has changed.\nSave it?"},
    {kIdsProgramName, "KELD_TavModem"},
    {kIdsToolBar, "Toolbar"},
    {kIdsPulsePrefix, "ATDP"},
    {kIdsTonePrefix, "ATDT"},
    {kIdsCaption, "Modem Connection"},
    {kIdsPage, "PAGE : %d"},
    {kIdsPrintPort, "COM port         : "},
    {kIdsPrintDialMode, "Dial mode : "},
    {kIdsPrintPulse, "Pulse"},
    {kIdsPrintTone, "Tone"},
    {kIdsPrintInitCommand, "Initial command  : "},
    {kIdsPrintPlcTimeout, "PLC time-out : "},
    {kIdsPrintLineTimeout, "Line connection time-out : "},
    {kIdsPrintTitle, "Title    : "},
    {kIdsPrintPhone, "Phone    : "},
    {kIdsPrintProperty, "Property : "},
    {kIdsPortLabel, "COM port"},
    {kIdsDialModeLabel, "Dial mode"},
    {kIdsOtherMode, "Other"},
    {kIdsInitCommandLabel, "Initial command"},
    {kIdsCommandDefault, "Command d&efault"},
    {kIdsPlcTimeoutLabel, "PLC time-out (s)"},
    {kIdsLineTimeoutLabel, "Line connection time-out (s)"},
    {kIdsColumnTitle, "Title"},
    {kIdsColumnPhone, "Phone number"},
    {kIdsColumnProperty, "Properties"},
    {kIdsAdd, "&Add"},
    {kIdsDelete, "&Delete"},
    {kIdsStatusLabel, "Status"},
    {kIdsMenuFile, "&File"},
    {kIdsMenuSave, "&Save"},
    {kIdsMenuInitialiseAll, "Initialise registered data(&M)"},
    {kIdsMenuPrint, "&Print..."},
    {kIdsMenuPreview, "Print pre&view"},
    {kIdsMenuPrintSetup, "P&rint setup..."},
    {kIdsMenuExit, "E&xit"},
    {kIdsMenuConnection, "&Connection"},
    {kIdsMenuConnect, "Connect to the selection"},
    {kIdsMenuDisconnect, "Disconnect"},
    {kIdsMenuHelp, "&Help"},
    {kIdsMenuHelpTopics, "&Help topics"},
    {kIdsMenuView, "&View"},
    {kIdsMenuToolBar, "&Toolbar"},
    {kIdsMenuStatusBar, "&Status bar"},
    {kIdsReady, "Ready"},
    {kIdsReadOnly, "Read-only: another copy owns the settings"},
    {kIdsDetails, "Details"},
    {kIdsBaudLabel, "Baud rate"},
    {kIdsDataLengthLabel, "Data length"},
    {kIdsStopBitsLabel, "Stop bits"},
    {kIdsParityLabel, "Parity"},
    {kIdsParityNone, "None"},
    {kIdsParityOdd, "Odd"},
    {kIdsParityEven, "Even"},
    {kIdsConnect, "Conn&ect"},
    {kIdsInitialise, "&Initialise"},
    {kIdsRegister, "Regis&ter"},
    {kIdsClose, "&Close"},
    {kIdsHelp, "&Help"},
    {kIdsAskResetEntry, "The line connection conditions will be reset to their defaults.\nIs that all right?"},
};

}  // namespace

void RegisterModemStrings() { platform::Strings::RegisterBuiltin(kStringModule, kEnglish, std::size(kEnglish)); }

std::string ModemText(unsigned id) {
  // The built-in texts are there before the first text is asked for.
  static const bool registered = (RegisterModemStrings(), true);
  (void)registered;
  return platform::Strings::Get(kStringModule, id);
}

}  // namespace modembook
