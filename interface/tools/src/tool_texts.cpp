#include "tool_texts.h"

#include <memory>
#include <mutex>

#include "platform/strings.h"

namespace tavtools {

namespace {

const char* const kModule = "tavtools";

const platform::StringEntry kEnglish[] = {
    {kTextSettingsTitle, "Communication settings"},
    {kTextStationTitle, "Station number"},
    {kTextKind, "Destination"},
    {kTextComPort, "COM port"},
    {kTextBaud, "Baud rate"},
    {kTextDataBits, "Data bits"},
    {kTextParity, "Parity"},
    {kTextStopBits, "Stop bits"},
    {kTextTimeout, "Time-out (s)"},
    {kTextAddress, "IP address"},
    {kTextTcpPort, "Port No."},
    {kTextStation, "Station No."},
    {kTextOk, "OK"},
    {kTextCancel, "Cancel"},
    {kTextParityNone, "None"},
    {kTextParityOdd, "Odd"},
    {kTextParityEven, "Even"},
    {kTextStationHint, "0 = the PLC on the link itself, 1 to 99 = the PLC with that station number"},
    {kTextParitySpace, "Space"},
    {kTextKeptHint, "This destination cannot be edited here. It is kept as it is unless another destination is chosen."},
    {kTextEthernetPort, "Ethernet port"},
    {kTextSourceAddress, "This PC's IP address"},
    {kTextUseLocalAddress, "Use this PC's address"},
    {kTextSourcePort, "This PC's port No."},
    {kTextSourceStation, "This PC's station No."},
    {kTextHeader, "Binary route header"},
    {kTextConnectLimit, "Connect limit (s, 0 = 180)"},
    {kTextKindSimulation, "PLC simulation"},
    {kTextKindSerial, "Serial port"},
    {kTextKindEthernet, "Ethernet"},
    {kTextKindUsb, "USB"},
    {kTextKindModem, "Modem"},
    {kTextKindEthernetListen, "Ethernet (PLC connects)"},
    {kTextNameSimulation, "PLC simulation"},
    {kTextNameSerial, "COM%s"},
    {kTextNameEthernet, "Ethernet %s"},
    {kTextNameUsb, "USB"},
    {kTextNameModem, "Modem COM%s"},
    {kTextNameBoardH, "TAVNET-H(%s)"},
    {kTextNameBoardP, "TAVNET-P"},
    {kTextNameUnknown, "Unknown destination"},
    {kTextStationSuffix, "Station No.%s"},
    {kTextLocalStation, "Local station"},
    {kTextNameEthernetListen, "Ethernet (PLC connects to port %s)"},
    {kTextNoAddress, "Enter the IP address of the destination."},
    {kTextBadStation, "The station number must be 0 to 99."},
    {kTextBadPort, "The port number is out of range."},
    {kTextSaveFailed, "The communication settings could not be saved."},
    {kTextNoSourcePort, "Enter this PC's port number the PLC connects to."},
    {kTextConnectTitle, "Ethernet connection"},
    {kTextConnecting, "Connecting. Please wait."},
    {kTextConnectCancel, "&Cancel"},
    {kTextConnectAddress, "Destination: %s"},
};

std::once_flag gOnce;
std::shared_ptr<const platform::StringTable> gJapanese;

void Init() {
  std::call_once(gOnce, [] {
    platform::Strings::RegisterBuiltin(kModule, kEnglish, sizeof kEnglish / sizeof kEnglish[0]);
    std::string error;
    std::shared_ptr<const platform::StringTable> table;
    if (platform::Strings::Load(kModule, "jpn", table, error) == platform::LanguageLoad::Ok) gJapanese = table;
  });
}

}  // namespace

std::string ToolText(unsigned id, int language) {
  Init();
  if (language == 0 && gJapanese && gJapanese->Has(id)) return gJapanese->Get(id);
  auto builtin = platform::Strings::Builtin(kModule);
  return builtin ? builtin->Get(id) : std::string();
}

std::string ToolText(unsigned id, int language, const std::string& value) {
  std::string text = ToolText(id, language);
  size_t at = text.find("%s");
  if (at == std::string::npos) at = text.find("%d");
  if (at == std::string::npos) return text;
  return text.substr(0, at) + value + text.substr(at + 2);
}

}  // namespace tavtools
