#pragma once
// The request record a client sends to the connection server (request code
// plus 9,369 bytes), and the 200-byte channel configuration it carries in an
// open request. Both are byte images with little-endian fields; the classes
// read and write them field by field, and the server uses the same code.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tavinter {

constexpr size_t kRequestRecordSize = 9369;
constexpr size_t kChannelConfigSize = 200;
constexpr size_t kMaxCommandText = 2048;   // characters, without the NUL
constexpr size_t kRegistrationFrameSize = 120;
constexpr int kRegistrationFrames = 6;

// Request codes (the request's dwData).
enum RequestCode : int32_t {
  kRequestOpen = 1,
  kRequestCommand = 10,
  kRequestMonitor = 15,
  kRequestCommandNoted = 16,
  kRequestReadByte = 26,
  kRequestDial = 30,
  kRequestHangUp = 31,
  kRequestModemResult = 35,
  kRequestAcceptCheck = 40,
  kRequestOpenLink = 41,
  kRequestRawText = 51,
  kRequestRawBytes = 52,
  kRequestRawBytes53 = 53,
  kRequestRawBytes54 = 54,
  kRequestRawText55 = 55,
  kRequestCommand60 = 60,
  kRequestClose = 999,
};

// Board operations of the board channel kinds (2 and 3). How each maps onto a
// board is not settled, so they are known only by number, in these sets.
inline constexpr std::array<int32_t, 10> kBoardRequests{11, 12, 20, 25, 27, 50, 100, 101, 110, 120};
// The board operations that reach the PLC, so that a modem channel refuses
// them (with the PLC commands and monitoring) while no call is connected.
inline constexpr std::array<int32_t, 6> kBoardRequestsToPlc{25, 50, 100, 101, 110, 120};

template <size_t N>
constexpr bool IsRequestIn(const std::array<int32_t, N>& set, int32_t code) {
  for (int32_t c : set)
    if (c == code) return true;
  return false;
}

// Request flags (offset 26).
enum RequestFlag : uint16_t {
  kFlagNoAnswer = 0x0001,
  kFlagSingleUnchecked = 0x0002,
  kFlagReopen = 0x0008,
  kFlagMarked = 0x0010,
  kFlagRawUnchanged = 0x0020,
  kFlagReopenShort = 0x1000,
};

// Channel kinds (first field of the channel configuration).
enum ChannelKind : int16_t {
  kKindSerial = 1,
  kKindBoardH = 2,
  kKindBoardP = 3,
  kKindNone = 4,
  kKindEthernet = 5,
  kKindModem = 6,
  kKindModemAlarm = 7,
  kKindEthernet8 = 8,
  kKindEthernetListen = 9,
  kKindUsb = 10,
  kKindSimulation = 11,
};

// Little-endian field access on a byte image; reads past the end give 0 and
// writes past the end are dropped, so a wrong offset can never overrun.
int16_t GetI16(const uint8_t* data, size_t size, size_t offset);
uint16_t GetU16(const uint8_t* data, size_t size, size_t offset);
int32_t GetI32(const uint8_t* data, size_t size, size_t offset);
void PutI16(uint8_t* data, size_t size, size_t offset, int16_t value);
void PutI32(uint8_t* data, size_t size, size_t offset, int32_t value);
// A NUL-terminated text in a field of `width` bytes; without a NUL the field's
// bytes are taken. Writing cuts the text to width - 1 bytes and pads with NUL.
std::string GetText(const uint8_t* data, size_t size, size_t offset, size_t width);
void PutText(uint8_t* data, size_t size, size_t offset, size_t width, const std::string& text);

class CChannelConfig {
 public:
  enum Offset : size_t {
    kKind = 0, kPort = 2, kTimeout = 4, kBaud = 8, kDataBits = 10, kParity = 12, kStopBits = 14,
    kText1 = 16, kText2 = 56, kDialLimit = 120, kStationPause = 142, kFlowControl = 162,
  };
  static constexpr size_t kTextWidth = 40;

  CChannelConfig() { bytes_.fill(0); }
  // From a byte image; false (and the config left zero) when size is not 200.
  bool Parse(const uint8_t* data, size_t size);

  int16_t Kind() const { return I16(kKind); }
  int16_t Port() const { return I16(kPort); }
  int32_t Timeout() const { return GetI32(bytes_.data(), bytes_.size(), kTimeout); }
  int16_t BaudIndex() const { return I16(kBaud); }
  int16_t DataBits() const { return I16(kDataBits); }
  int16_t Parity() const { return I16(kParity); }
  int16_t StopBits() const { return I16(kStopBits); }
  std::string Text1() const { return GetText(bytes_.data(), bytes_.size(), kText1, kTextWidth); }
  std::string Text2() const { return GetText(bytes_.data(), bytes_.size(), kText2, kTextWidth); }
  int32_t DialLimit() const { return GetI32(bytes_.data(), bytes_.size(), kDialLimit); }
  int32_t StationPause() const { return GetI32(bytes_.data(), bytes_.size(), kStationPause); }
  int16_t FlowControl() const { return I16(kFlowControl); }

  void SetKind(int16_t v) { PutI16(bytes_.data(), bytes_.size(), kKind, v); }
  void SetPort(int16_t v) { PutI16(bytes_.data(), bytes_.size(), kPort, v); }
  void SetTimeout(int32_t v) { PutI32(bytes_.data(), bytes_.size(), kTimeout, v); }
  void SetBaudIndex(int16_t v) { PutI16(bytes_.data(), bytes_.size(), kBaud, v); }
  void SetDataBits(int16_t v) { PutI16(bytes_.data(), bytes_.size(), kDataBits, v); }
  void SetParity(int16_t v) { PutI16(bytes_.data(), bytes_.size(), kParity, v); }
  void SetStopBits(int16_t v) { PutI16(bytes_.data(), bytes_.size(), kStopBits, v); }
  void SetText1(const std::string& t) { PutText(bytes_.data(), bytes_.size(), kText1, kTextWidth, t); }
  void SetText2(const std::string& t) { PutText(bytes_.data(), bytes_.size(), kText2, kTextWidth, t); }
  void SetDialLimit(int32_t v) { PutI32(bytes_.data(), bytes_.size(), kDialLimit, v); }
  void SetStationPause(int32_t v) { PutI32(bytes_.data(), bytes_.size(), kStationPause, v); }
  void SetFlowControl(int16_t v) { PutI16(bytes_.data(), bytes_.size(), kFlowControl, v); }

  const std::array<uint8_t, kChannelConfigSize>& Bytes() const { return bytes_; }
  std::array<uint8_t, kChannelConfigSize>& Bytes() { return bytes_; }

 private:
  int16_t I16(size_t off) const { return GetI16(bytes_.data(), bytes_.size(), off); }
  std::array<uint8_t, kChannelConfigSize> bytes_;
};

class CRequestRecord {
 public:
  enum Offset : size_t {
    kClientHandle = 0, kSubNumber = 2, kClientName = 2, kStation = 6, kRoute = 24, kFlags = 26,
    kTimeout = 28, kDataLength = 32, kAnswerLength = 40, kMode = 50, kCommandText = 53,
    kOpenValue = 82, kChannelConfig = 104, kContactFrames = 773,
  };
  static constexpr size_t kClientNameWidth = 80;

  CRequestRecord() { bytes_.fill(0); }
  // From received bytes; false (record left zero) unless exactly 9,369 bytes.
  bool Parse(const uint8_t* data, size_t size);

  int16_t ClientHandle() const { return I16(kClientHandle); }
  int16_t SubNumber() const { return I16(kSubNumber); }
  std::string ClientName() const { return GetText(bytes_.data(), bytes_.size(), kClientName, kClientNameWidth); }
  int16_t Station() const { return I16(kStation); }
  uint16_t Route() const { return GetU16(bytes_.data(), bytes_.size(), kRoute); }
  uint16_t Flags() const { return GetU16(bytes_.data(), bytes_.size(), kFlags); }
  int32_t Timeout() const { return GetI32(bytes_.data(), bytes_.size(), kTimeout); }
  uint16_t DataLength() const { return GetU16(bytes_.data(), bytes_.size(), kDataLength); }
  int16_t AnswerLength() const { return I16(kAnswerLength); }
  int16_t Mode() const { return I16(kMode); }
  // The command text up to its NUL, at most 2,048 characters even when the
  // record carries no NUL there.
  std::string CommandText() const;
  // Raw bytes from the command area (requests 52 to 54): DataLength() bytes,
  // limited to what the record holds.
  std::vector<uint8_t> CommandBytes() const;
  int16_t OpenValue() const { return I16(kOpenValue); }
  CChannelConfig ChannelConfig() const;
  // Monitor registrations: frame i (0..5) of the data or contact list, "" when empty.
  std::string DataRegistration(int i) const;
  std::string ContactRegistration(int i) const;

  void SetClientHandle(int16_t v) { PutI16(bytes_.data(), bytes_.size(), kClientHandle, v); }
  void SetSubNumber(int16_t v) { PutI16(bytes_.data(), bytes_.size(), kSubNumber, v); }
  void SetClientName(const std::string& n) { PutText(bytes_.data(), bytes_.size(), kClientName, kClientNameWidth, n); }
  void SetStation(int16_t v) { PutI16(bytes_.data(), bytes_.size(), kStation, v); }
  void SetRoute(uint16_t v) { PutI16(bytes_.data(), bytes_.size(), kRoute, static_cast<int16_t>(v)); }
  void SetFlags(uint16_t v) { PutI16(bytes_.data(), bytes_.size(), kFlags, static_cast<int16_t>(v)); }
  void SetTimeout(int32_t v) { PutI32(bytes_.data(), bytes_.size(), kTimeout, v); }
  void SetDataLength(uint16_t v) { PutI16(bytes_.data(), bytes_.size(), kDataLength, static_cast<int16_t>(v)); }
  void SetAnswerLength(int16_t v) { PutI16(bytes_.data(), bytes_.size(), kAnswerLength, v); }
  void SetMode(int16_t v) { PutI16(bytes_.data(), bytes_.size(), kMode, v); }
  // False (record unchanged) when the text is longer than 2,048 characters.
  bool SetCommandText(const std::string& text);
  bool SetCommandBytes(const std::vector<uint8_t>& data);
  void SetOpenValue(int16_t v) { PutI16(bytes_.data(), bytes_.size(), kOpenValue, v); }
  void SetChannelConfig(const CChannelConfig& config);
  bool SetDataRegistration(int i, const std::string& frame);
  bool SetContactRegistration(int i, const std::string& frame);

  const std::array<uint8_t, kRequestRecordSize>& Bytes() const { return bytes_; }
  std::array<uint8_t, kRequestRecordSize>& Bytes() { return bytes_; }

 private:
  int16_t I16(size_t off) const { return GetI16(bytes_.data(), bytes_.size(), off); }
  std::string Registration(size_t base, int i) const;
  bool PutRegistration(size_t base, int i, const std::string& frame);
  std::array<uint8_t, kRequestRecordSize> bytes_;
};

}  // namespace tavinter
