#pragma once
// The serial fields of a connection record and of the channel configuration
// (baud-rate index, data bits, parity code, stop bits) and their one
// encoding, shared by every program that writes them (the settings dialog,
// the command line) and by the serial port that applies them.
//
//   baud-rate index  0..8: 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400 bit/s
//   data bits        5..8
//   parity code      0 none, 1 odd, 2 even, 3 space
//   stop bits        1 or 2
//
// Text form: "BAUD,DATABITS,PARITY,STOPBITS" with the parity as N, O, E or S,
// for example "9600,8,O,1".
#include <cstdint>
#include <string>

namespace tavinter {

inline constexpr int kBaudRates[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400};
inline constexpr int kBaudRateCount = 9;
inline constexpr int kMinDataBits = 5;
inline constexpr int kMaxDataBits = 8;

enum SerialParity : int16_t { kParityNone = 0, kParityOdd = 1, kParityEven = 2, kParitySpace = 3 };
inline constexpr int kParityCount = 4;
inline constexpr char kParityLetters[kParityCount + 1] = "NOES";  // by code

// Bits per second of a baud-rate index; 0 for an index outside the table.
constexpr int BaudRateOfIndex(int index) { return index >= 0 && index < kBaudRateCount ? kBaudRates[index] : 0; }
// The index of a rate in bits per second; -1 for a rate not in the table.
constexpr int BaudIndexOfRate(long long rate) {
  for (int i = 0; i < kBaudRateCount; ++i)
    if (kBaudRates[i] == rate) return i;
  return -1;
}

struct CSerialSettings {
  int16_t baudIndex = 3;  // 9600 bit/s
  int16_t dataBits = 8;
  int16_t parity = kParityOdd;
  int16_t stopBits = 1;
  friend constexpr bool operator==(const CSerialSettings&, const CSerialSettings&) = default;
};

enum class SerialField { None, Baud, DataBits, Parity, StopBits };

// The first field outside the encoding, or SerialField::None.
constexpr SerialField InvalidSerialField(const CSerialSettings& s) {
  if (BaudRateOfIndex(s.baudIndex) == 0) return SerialField::Baud;
  if (s.dataBits < kMinDataBits || s.dataBits > kMaxDataBits) return SerialField::DataBits;
  if (s.parity < 0 || s.parity >= kParityCount) return SerialField::Parity;
  if (s.stopBits != 1 && s.stopBits != 2) return SerialField::StopBits;
  return SerialField::None;
}
constexpr bool IsValidSerial(const CSerialSettings& s) { return InvalidSerialField(s) == SerialField::None; }

// The fields as a record (CConnectionRecord or CChannelConfig) holds them,
// valid or not.
template <class Record>
CSerialSettings ReadSerialSettings(const Record& record) {
  return {record.BaudIndex(), record.DataBits(), record.Parity(), record.StopBits()};
}

// Writes valid settings into a record; false, and the record unchanged, for
// settings outside the encoding.
template <class Record>
bool WriteSerialSettings(Record&& record, const CSerialSettings& s) {
  if (!IsValidSerial(s)) return false;
  record.SetBaudIndex(s.baudIndex);
  record.SetDataBits(s.dataBits);
  record.SetParity(s.parity);
  record.SetStopBits(s.stopBits);
  return true;
}

// What is wrong with a field, as a sentence part: "the data bits must be 5 to 8".
std::string SerialFieldProblem(SerialField field);

// Reads the text form; fields left out at the end keep the values `settings`
// holds. False with SerialFieldProblem's text (or "too many serial
// settings") for anything outside the encoding; `settings` is then unchanged.
bool ParseSerialText(const std::string& text, CSerialSettings& settings, std::string& error);

// The text form of valid settings: "9600,8,O,1".
std::string SerialText(const CSerialSettings& settings);

}  // namespace tavinter
