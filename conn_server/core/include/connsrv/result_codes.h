#pragma once
// Result codes of the connection server's requests and transports.
namespace connsrv {

// Every error code the server and its transports return, with its name:
// the enum and the list the texts are checked against come from one table.
#define KELD_CONNSRV_ERROR_CODES(X)                                                    \
  X(kErrBoardAttach, -10000)                                                           \
  X(kErrBoardInit, -10001)                                                             \
  X(kErrLibraryOpen, -10002)                                                           \
  X(kErrClient, -10007)                                                                \
  X(kErrRead, -10010)                                                                  \
  X(kErrTooLong, -10011)                                                               \
  X(kErrNoAnswer, -10012)                                                              \
  X(kErrBlockCheck, -10013)                                                            \
  X(kErrIncomplete, -10015)                                                            \
  X(kErrWrite, -10020)                                                                 \
  X(kErrSocketStart, -10030)                                                           \
  X(kErrSocket, -10031)                                                                \
  X(kErrEthernetSend, -10033)                                                          \
  X(kErrEthernetReceive, -10035)                                                       \
  X(kErrSocketClose, -10037)                                                           \
  X(kErrEthernetBlockCheck, -10038)                                                    \
  X(kErrEthernetNoAnswer, -10039)                                                      \
  X(kErrEthernetSetup, -10040)                                                         \
  X(kErrSocketBind, -10041)                                                            \
  X(kErrEthernetAccept, -10042)                                                        \
  X(kErrSocketOption, -10043)                                                          \
  X(kErrListenRegister, -10044)                                                        \
  X(kErrEthernetMissing, -10047)                                                       \
  X(kErrNonBlocking, -10048)                                                           \
  X(kErrListen, -10049)                                                                \
  X(kErrDialCancelled, -10054)                                                         \
  X(kErrDialFailed, -10060)                                                            \
  X(kErrHangUpEscape, -10062)                                                          \
  X(kErrCallUp, -10063)                                                                \
  X(kErrNotCallOwner, -10064)                                                          \
  X(kErrModemOnSerial, -10065)                                                         \
  X(kErrModemNoCall, -10066)                                                           \
  X(kErrHangUpClosing, -10067)                                                         \
  X(kErrModemInit, -10068)                                                             \
  X(kErrEthernetIncomplete, -10080)                                                    \
  X(kErrBadRecord, -10090)   /* a request record that does not hold together */       \
  X(kErrNoBoard, -10091)     /* board requests: this build has no board support */    \
  X(kErrSerialOpen, -10092)  /* the serial device could not be opened or set up */    \
  X(kErrChannelKind, -10093) /* a channel kind this build does not carry */           \
  X(kErrNotModem, -10900)

#define KELD_CONNSRV_AS_ENUM(name, value) name = value,
#define KELD_CONNSRV_AS_VALUE(name, value) value,

enum ResultCode : int {
  kOk = 0,
  kClientResult = 10000,            // what a client sees for 0
  kCloseLast = 999,                 // close of the last client, seen as 10000
  KELD_CONNSRV_ERROR_CODES(KELD_CONNSRV_AS_ENUM)
};

inline constexpr int kServerErrorCodes[] = {KELD_CONNSRV_ERROR_CODES(KELD_CONNSRV_AS_VALUE)};


}  // namespace connsrv
