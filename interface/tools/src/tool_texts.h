#pragma once
// Texts of tavtools: English built in, Japanese from lang/tavtools.jpn.txt.
#include <string>

namespace tavtools {

enum TextId : unsigned {
  kTextSettingsTitle = 100, kTextStationTitle, kTextKind, kTextComPort, kTextBaud, kTextDataBits,
  kTextParity, kTextStopBits, kTextTimeout, kTextAddress, kTextTcpPort, kTextStation, kTextOk, kTextCancel,
  kTextParityNone, kTextParityOdd, kTextParityEven, kTextStationHint, kTextParitySpace, kTextKeptHint,
  kTextEthernetPort, kTextSourceAddress, kTextUseLocalAddress, kTextSourcePort, kTextSourceStation, kTextHeader,
  kTextConnectLimit,
  kTextKindSimulation = 200, kTextKindSerial, kTextKindEthernet, kTextKindUsb, kTextKindModem,
  kTextKindEthernetListen,
  kTextNameSimulation = 300, kTextNameSerial, kTextNameEthernet, kTextNameUsb, kTextNameModem,
  kTextNameBoardH, kTextNameBoardP, kTextNameUnknown, kTextStationSuffix, kTextLocalStation,
  kTextNameEthernetListen,
  kTextNoAddress = 400, kTextBadStation, kTextBadPort, kTextSaveFailed, kTextNoSourcePort,
  kTextConnectTitle = 1021, kTextConnecting, kTextConnectCancel, kTextConnectAddress,
};

// The text in the language (0 Japanese, else English); Japanese falls back to English.
std::string ToolText(unsigned id, int language);
// The same with "%d" (or "%s") filled; the texts are never used as printf formats.
std::string ToolText(unsigned id, int language, const std::string& value);

}  // namespace tavtools
