#pragma once
// The 304-byte connection record that a client hands to every client-side
// call. The caller owns it and zero-fills it; the library keeps its own
// values in it. Bytes 104 to 303 are exactly the 200-byte channel
// configuration that the open request carries to the server.
//
//   0   int16     client handle issued at open (0 = not open)
//   2   char[80]  application or connection name, NUL-terminated
//   82  int16     value handed to the server's library with the configuration
//   84  int16     product number
//   86  int16     language: 0 Japanese, 1 English
//   88  int16     modem dial mode: 0 pulse, 1 tone, 2 other
//   90  char[12]  modem dial command for "other"
//   102 int16     destination station number kept with the settings (0..99)
//   104 int16     channel kind                      (configuration offset 0)
//   106 int16     transport port (COM number, Ethernet port 1..64, board number)
//   108 int32     PLC time-out in seconds
//   112 int16     baud-rate index, 114 data bits, 116 parity (0 N, 1 O, 2 E), 118 stop bits
//   120 char[40]  modem initial command / Ethernet address text
//   160 char[40]  modem second command text
//   200 int32     Ethernet TCP port number
//   224 int32     line (dial) time-out in seconds
//   246 int32     pause before a command to another station, milliseconds
//   266 int16     modem hardware flow control
#include <cstddef>
#include <cstdint>
#include <string>

#include "tavinter/request_record.h"

namespace tavinter {

constexpr size_t kConnectionRecordSize = 304;
constexpr size_t kConfigInRecord = 104;

class CConnectionRecord {
 public:
  enum Offset : size_t {
    kClientHandle = 0, kName = 2, kOpenValue = 82, kProductNo = 84, kLanguage = 86, kDialMode = 88,
    kDialCommand = 90, kStation = 102, kKind = 104, kPort = 106, kTimeout = 108, kBaud = 112, kDataBits = 114,
    kParity = 116, kStopBits = 118, kInitCommand = 120, kSecondCommand = 160, kTcpPort = 200,
    kLineTimeout = 224, kStationPause = 246, kFlowControl = 266,
  };
  static constexpr size_t kNameWidth = 80;
  static constexpr size_t kDialCommandWidth = 12;
  static constexpr size_t kCommandWidth = 40;

  explicit CConnectionRecord(uint8_t* bytes) : p_(bytes) {}

  bool Valid() const { return p_ != nullptr; }
  int16_t ClientHandle() const { return GetI16(p_, kConnectionRecordSize, kClientHandle); }
  std::string Name() const { return GetText(p_, kConnectionRecordSize, kName, kNameWidth); }
  int16_t OpenValue() const { return GetI16(p_, kConnectionRecordSize, kOpenValue); }
  int16_t ProductNo() const { return GetI16(p_, kConnectionRecordSize, kProductNo); }
  int16_t Language() const { return GetI16(p_, kConnectionRecordSize, kLanguage); }
  int16_t DialMode() const { return GetI16(p_, kConnectionRecordSize, kDialMode); }
  std::string DialCommand() const { return GetText(p_, kConnectionRecordSize, kDialCommand, kDialCommandWidth); }
  int16_t Station() const { return GetI16(p_, kConnectionRecordSize, kStation); }
  int16_t Kind() const { return GetI16(p_, kConnectionRecordSize, kKind); }
  int16_t Port() const { return GetI16(p_, kConnectionRecordSize, kPort); }
  int32_t Timeout() const { return GetI32(p_, kConnectionRecordSize, kTimeout); }
  int16_t BaudIndex() const { return GetI16(p_, kConnectionRecordSize, kBaud); }
  int16_t DataBits() const { return GetI16(p_, kConnectionRecordSize, kDataBits); }
  int16_t Parity() const { return GetI16(p_, kConnectionRecordSize, kParity); }
  int16_t StopBits() const { return GetI16(p_, kConnectionRecordSize, kStopBits); }
  std::string InitCommand() const { return GetText(p_, kConnectionRecordSize, kInitCommand, kCommandWidth); }
  std::string SecondCommand() const { return GetText(p_, kConnectionRecordSize, kSecondCommand, kCommandWidth); }
  int32_t TcpPort() const { return GetI32(p_, kConnectionRecordSize, kTcpPort); }
  int32_t LineTimeout() const { return GetI32(p_, kConnectionRecordSize, kLineTimeout); }

  void SetClientHandle(int16_t v) { PutI16(p_, kConnectionRecordSize, kClientHandle, v); }
  void SetName(const std::string& n) { PutText(p_, kConnectionRecordSize, kName, kNameWidth, n); }
  void SetProductNo(int16_t v) { PutI16(p_, kConnectionRecordSize, kProductNo, v); }
  void SetLanguage(int16_t v) { PutI16(p_, kConnectionRecordSize, kLanguage, v); }
  void SetDialMode(int16_t v) { PutI16(p_, kConnectionRecordSize, kDialMode, v); }
  void SetDialCommand(const std::string& t) { PutText(p_, kConnectionRecordSize, kDialCommand, kDialCommandWidth, t); }
  void SetStation(int16_t v) { PutI16(p_, kConnectionRecordSize, kStation, v); }
  void SetKind(int16_t v) { PutI16(p_, kConnectionRecordSize, kKind, v); }
  void SetPort(int16_t v) { PutI16(p_, kConnectionRecordSize, kPort, v); }
  void SetTimeout(int32_t v) { PutI32(p_, kConnectionRecordSize, kTimeout, v); }
  void SetBaudIndex(int16_t v) { PutI16(p_, kConnectionRecordSize, kBaud, v); }
  void SetDataBits(int16_t v) { PutI16(p_, kConnectionRecordSize, kDataBits, v); }
  void SetParity(int16_t v) { PutI16(p_, kConnectionRecordSize, kParity, v); }
  void SetStopBits(int16_t v) { PutI16(p_, kConnectionRecordSize, kStopBits, v); }
  void SetInitCommand(const std::string& t) { PutText(p_, kConnectionRecordSize, kInitCommand, kCommandWidth, t); }
  void SetSecondCommand(const std::string& t) { PutText(p_, kConnectionRecordSize, kSecondCommand, kCommandWidth, t); }
  void SetTcpPort(int32_t v) { PutI32(p_, kConnectionRecordSize, kTcpPort, v); }
  void SetLineTimeout(int32_t v) { PutI32(p_, kConnectionRecordSize, kLineTimeout, v); }

  // The channel configuration part (bytes 104 to 303).
  CChannelConfig Config() const;
  void SetConfig(const CChannelConfig& config);

 private:
  uint8_t* p_;
};

// The server port number (1 to 326) that serves a channel: serial and modem
// COM n give 68 + n (n 1..256), Ethernet port n gives 4 + n (n 1..64), the
// boards 1..3 (TAVNET-H 0..2) and 4 (TAVNET-P), USB 325, simulation 326.
// 0 when the kind or the transport port is out of range.
int PortNumberOf(int kind, int transportPort);

}  // namespace tavinter
