#include "ui_strings.h"

#include "axcfg_data/axcfg_strings.h"
#include "platform/strings.h"

namespace axcfgui {

namespace {

const platform::StringEntry kUiStrings[] = {
    {20521, "Destination of communication : %s"},
    {20522, "Unit of position : %s"},
    {20523, "Unit of speed : %s"},
    {20558, "Pattern\r\nE: End - the operation ends with this table.\r\nC: Continuation - stops, then "
            "continues with the next table.\r\nP: Pass - passes on to the next table without stopping.\r\n"
            "J: JOG positioning control."},
    {20559, "Pattern\r\nE: End - the operation ends with this table.\r\nC: Continuation - stops, then "
            "continues with the next table.\r\nP: Pass - passes on to the next table without stopping."},
    {20601, "Jump table No.\r\nThe table to continue with."},
    {20602, "Interpolation pattern of the 2-axis group\r\nLinear or circular interpolation; circular "
            "patterns use the auxiliary point or the centre point."},
    {20603, "Control method\r\nI: Increment - the movement amount is relative to the current position.\r\n"
            "A: Absolute - the movement amount is the target position."},
    {20604, "Movement amount\r\nThe travel (increment) or the target position (absolute) in the axis's "
            "unit of position."},
    {20606, "Auxiliary point\r\nThe passing point or centre point of circular interpolation in the axis's "
            "unit of position."},
    {20607, "Acceleration/deceleration pattern\r\nL: Linear\r\nS: S-shaped"},
    {20608, "Acceleration time\r\nThe time from stop to the set speed, 0 to 10000 ms."},
    {20609, "Deceleration time\r\nThe time from the set speed to stop, 0 to 10000 ms."},
    {20610, "Speed\r\nThe target speed in the unit of speed of the axis."},
    {20611, "Dwell time\r\nThe waiting time after the group has stopped, 0 to 32767 ms."},
    {20612, "Auxiliary code\r\nA code that the unit outputs with this table, 0 to 32767."},
    {20613, "Comment\r\nA note for this table, at most 100 characters."},
    {20614, "Interpolation pattern of the 3-axis group\r\nLinear, circular or helical interpolation."},
    {20615, "Dwell time\r\nThe waiting time after the axis has stopped, 0 to 32767 ms."},
    {30101, "Is it OK to replace with the specified [%s] ?"},
    {30155, "Axis Configurator file(*.axc)|*.axc|"},
    {30286, "Guidance bar"},
    {31000, "Updating data display..."},
    {31001, "Save changes to %s?"},
    {31003, "&New"},
    {31004, "&Open"},
    {31005, "&Upload from unit"},
    {31006, "&Exit"},
    {31010, "Configuration"},
    {31011, "Current folder"},
    {31012, "&Browse..."},
    {31013, "Choose Folder..."},
    {31014, "Tool operation time-out"},
    {31015, "s"},
    {31016, "Language"},
    {31017, "English"},
    {31018, "Japanese"},
    {31019, "&Help"},
    {31020, "File property"},
    {31021, "File name"},
    {31022, "Creator"},
    {31023, "Comment"},
    {31024, "Date"},
    {31026, "The creator takes at most 10 bytes and the comment at most 40 bytes."},
    {31027, "Axis Configurator\r\nConfiguration tool for positioning units."},
    {31030, "Select slot"},
    {31031, "Choose the slot No. of destination unit."},
    {31032, "Slot No."},
    // The used-axis dialog.
    {31200, "Parameter settings"},
    {31201, "Copy axis"},
    {31202, "&Initialize"},
    {31203, "Specify the axis to copy"},
    {31204, "Source axis"},
    {31205, "Destination axis"},
    {31206, "Choose the axes of the source and destination."},
    {31220, "Setting used axis"},
    {31221, "Unit type"},
    {31222, "Choose the axis to use."},
    // The group settings dialog.
    {31223, "interpolation group settings"},
    {31224, "Independent"},
    {31225, "Interpolation group"},
    {31226, "&Initialize"},
    {31227, "Synchronous group"},
    {31228, "Synchronous operation %d"},
    {31229, "Synchronous mode"},
    {31230, "Master axis"},
    {31231, "Slave axis"},
    {31232, "Difference value"},
    {31233, "Difference behavior"},
    // The verification result and the CSV export.
    {31300, "Result of verification"},
    {31301, "Target :"},
    {31302, "Verification data"},
    {31303, "The comment of positioning data are not verified."},
    {31304, "&Close"},
    // The list of differing items behind "Details...".
    {31305, "&Details..."},
    {31306, "Differences"},
    {31307, "%1 differing items"},
    {31308, "Part"},
    {31309, "Where"},
    {31336, "Table No."},
    {31337, "Item"},
    {31338, "Document"},
    {31339, "File"},
    {31340, "Unit"},
    {31341, "&Copy"},
    {31310, "Export to CSV"},
    {31311, "Folder exported to"},
    {31312, "Select..."},
    {31313, "Output file name"},
    {31314, "Parameter setting data"},
    {31315, "Positioning data %s"},
    // The communication error dialog and the transfer windows.
    {31320, "Communication error"},
    {31321, "Continue"},
    {31322, "End"},
    {31323, "Connect to"},
    {31324, "&Select slot..."},
    {31325, "&Communication settings..."},
    {31326, "Is it OK to upload the setting data from the unit?"},
    {31327, "&Yes"},
    {31328, "&No"},
    {31329, "Choose the data to download."},
    {31330, "Axis information + &Parameter setting data"},
    {31331, "&Axis information + Parameter setting data  \n   + Positioning setting data"},
    {31332, "&All"},
    {31333, "Table No. &range"},
    {31334, "&Cancel"},
    {31335, "OK"},
    // Menus.
    {31100, "&File"}, {31101, "&Edit"}, {31102, "&View"}, {31103, "On&line"}, {31104, "&Debug"},
    {31105, "Set &Axis"}, {31106, "&Option"}, {31107, "&Help"}, {31108, "&Verify"}, {31109, "Recent File"},
    {31110, "&New"}, {31111, "&Open..."}, {31112, "&Save"}, {31113, "Save &As..."},
    {31114, "Do&wnload to Unit..."}, {31115, "Upload f&rom Unit..."}, {31116, "Propert&ies..."},
    {31117, "&Export to CSV..."}, {31118, "E&xit"}, {31119, "&Copy"}, {31120, "&Paste"},
    {31121, "Select &All"}, {31122, "&Find..."}, {31123, "R&eplace..."}, {31124, "&Toolbar"},
    {31125, "&Status Bar"}, {31126, "&Parameter-Status Bar"}, {31127, "&Guidance Bar"},
    {31128, "&Specify Station No..."}, {31129, "Select slot..."}, {31130, "Data &Monitor..."},
    {31131, "St&atus Display..."}, {31132, "&Tool operation..."}, {31133, "Write &FROM"},
    {31134, "&Check Parameters and Data"}, {31135, "&File..."}, {31136, "&Unit..."},
    {31137, "&Change Axis..."}, {31138, "&Parameter Settings..."}, {31139, "&Communication Settings..."},
    {31140, "Configur&ation..."}, {31141, "&Font..."}, {31142, "&Contents"},
    {31143, "&About Axis Configurator"}, {31144, "(empty)"}, {31145, "&Print..."},
    // Status-bar prompts of the commands ("prompt\ntooltip").
    {57600, "Create a new document\nNew"},
    {57601, "Open an existing document\nOpen"},
    {57603, "Save the active document\nSave"},
    {57607, "Print the positioning tables of the sheet shown\nPrint"},
    {57604, "Save the active document with a new name\nSave As"},
    {57642, "Select the entire table\nSelect All"},
    {57665, "Quit the application; prompts to save documents\nExit"},
    {32787, "Show or hide the Guidance bar\nToggle Guidance Bar"},
    {32796, "Show or hide the parameter status bar\nToggle Parameter-StatusBar"},
    {32797, "Show the creator and comment of the file\nProperties"},
    {32790, "Set the current folder, tool operation time-out and language\nConfiguration"},
    // Editing and printing.
    {31640, "The character \"%s\" cannot be stored in a setting file.\r\nPlease use another character."},
    {31641, "&Undo"},
    {31642, "&Redo"},
    {31643, "Print Pre&view..."},
    {31644, "Page %1 of %2"},
    {31645, "Untitled"},
    {31646, "Version %s"},
    {31647, "Cu&t"},
    {57635, "Cut the selected cells to the clipboard and reset them\nCut"},
    {57643, "Undo the last change of the tables\nUndo"},
    {57644, "Redo the change undone last\nRedo"},
    {57609, "Show the printed pages of the sheet shown\nPrint Preview"},
    {57634, "Copy the selected cells to the clipboard\nCopy"},
    {57637, "Paste the clipboard into the selected cells\nPaste"},
    {57636, "Find a text in the cells of the sheet\nFind"},
    {57641, "Replace a text in the cells of the sheet\nReplace"},
    {57664, "Show the program's name and version\nAbout"},
    {32820, "Show the contents of the help\nHelp"},
    {32809, "Choose the font of the tables\nFont"},
    {32778, "Read the unit's axis layout, parameters and tables into the document\nUpload from Unit"},
    {32779, "Send the document's axis layout, parameters and tables to the unit\nDownload to Unit"},
    {32780, "Compare the document with the data in the unit\nVerify with Unit"},
    {32795, "Compare the document with a setting file\nVerify with File"},
    {32792, "Check every parameter and table value\nCheck Parameters and Data"},
    {32786, "Edit the parameters of every axis\nParameter Settings"},
    {32811, "Change the unit family and the axis layout\nChange Axis"},
    {32784, "Choose the port and line settings of the connection\nCommunication Settings"},
    {32815, "Choose the station number of the PLC\nSpecify Station No."},
    {32814, "Choose the slot of the positioning unit\nSelect Slot"},
    {32816, "Watch the current values of the axes live\nData Monitor"},
    {32813, "Show the input states and versions of the unit\nStatus Display"},
    {32817, "Operate the axes from the tool: servo, home return, positioning, JOG\nTool Operation"},
    {32818, "Keep the unit's data in its flash ROM\nWrite FROM"},
    {32819, "Write the parameters and tables as CSV files\nExport to CSV"},
    {59392, "Show or hide the toolbar\nToggle Toolbar"},
    {59393, "Show or hide the status bar\nToggle Status Bar"},
};

}  // namespace

void RegisterAxisCfgUiStrings() {
  axcfg::RegisterAxisCfgDataStrings();
  platform::Strings::RegisterBuiltin(axcfg::kStringModule, kUiStrings, std::size(kUiStrings));
}

std::string UiText(unsigned id) { return axcfg::AxisCfgText(id); }

std::string UiFormat(unsigned id, const std::string& arg) {
  std::string text = UiText(id);
  size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, arg);
  return text;
}

}  // namespace axcfgui
