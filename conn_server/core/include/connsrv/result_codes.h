#pragma once
// Result codes of the connection server's requests and transports.
namespace connsrv {

enum ResultCode : int {
  kOk = 0,
  kClientResult = 10000,            // what a client sees for 0
  kCloseLast = 999,                 // close of the last client, seen as 10000
  kErrBoardAttach = -10000,
  kErrBoardInit = -10001,
  kErrLibraryOpen = -10002,
  kErrClient = -10007,
  kErrRead = -10010,
  kErrTooLong = -10011,
  kErrNoAnswer = -10012,
  kErrBlockCheck = -10013,
  kErrIncomplete = -10015,
  kErrWrite = -10020,
  kErrEthernetSetup = -10040,
  kErrEthernetAccept = -10042,
  kErrEthernetMissing = -10047,
  kErrModemOnSerial = -10065,
  kErrModemNoCall = -10066,
  kErrModemInit = -10068,
  kErrBadRecord = -10090,           // a request record that does not hold together
  kErrNoBoard = -10091,             // board requests: this build has no board support
  kErrSerialOpen = -10092,          // the serial device could not be opened or set up
  kErrChannelKind = -10093,         // a channel kind this build does not carry
};

}  // namespace connsrv
