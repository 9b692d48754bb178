#pragma once
// The serial transport over a Linux serial device (or pseudo-terminal): open
// with the channel's settings, the polling read of the frame exchange, purge,
// write, DTR, and close.
#include <chrono>
#include <string>
#include <termios.h>

#include "connsrv/byte_link.h"

namespace connsrv {

struct SerialSettings {
  int baudIndex = 3;     // 0..8: 1200..230400 bit/s; others keep the port's rate
  int dataBits = 8;      // 5..8
  int parity = 0;        // 0 none, 1 odd, 2 even, 3 and 4 space
  int stopBits = 1;      // 1: one stop bit; anything else: two
  bool flowControl = false;  // RTS/CTS
};

// Reasons an open fails (the request then fails as a failed channel open).
enum SerialOpenError {
  kSerialOpenFailed = 1,
  kSerialGetFailed = 10,
  kSerialSetFailed = 7,
  kSerialTimeoutFailed = 4,
};

// Bits per second of a baud-rate index; 0 for an index that keeps the rate.
int BaudRateForIndex(int index);

// Changes a port's terminal settings to the channel's: raw bytes, no
// XON/XOFF, the frame format and rate. 0 or kSerialSetFailed for a data-bits
// or parity code the port cannot take.
int ApplySerialSettings(const SerialSettings& settings, termios& t);

class CSerialPort : public IByteLink {
 public:
  CSerialPort() = default;
  ~CSerialPort() override { Close(); }
  CSerialPort(const CSerialPort&) = delete;
  CSerialPort& operator=(const CSerialPort&) = delete;

  // Opens the device exclusively and configures it: 0 or a SerialOpenError.
  // A busy or missing device is tried twice, 500 ms apart.
  int Open(const std::string& devicePath, const SerialSettings& settings);
  // Drops DTR, purges both ways, closes. Harmless when not open.
  void Close();
  bool IsOpen() const { return fd_ >= 0; }
  const std::string& DevicePath() const { return path_; }

  // Switches RTS/CTS flow control on or off on the open port.
  bool SetFlowControl(bool on);

  void Purge() override;
  // Writes the bytes and waits until the port has sent them, all within the
  // write limit (20 s); false when the write failed or the limit passed.
  bool Write(const char* bytes, size_t length) override;
  int Read(char* buffer, size_t capacity, int waitMs) override;
  void SetWriteLimitMs(int ms) { writeLimitMs_ = ms; }

 protected:
  // Bytes written but not yet sent by the device; -1 when it cannot tell.
  virtual int QueuedOutput() const;

 private:
  int Configure(const SerialSettings& settings);
  bool WaitOutputSent(std::chrono::steady_clock::time_point deadline);
  int writeLimitMs_ = 20000;
  int fd_ = -1;
  std::string path_;
};

}  // namespace connsrv

#include <functional>
#include <vector>

namespace connsrv {

// The COM numbers (1..256, ascending) whose device exists, given how a COM
// number maps to a device path.
std::vector<int> PresentComPorts(const std::function<std::string(int)>& devicePath);

}  // namespace connsrv
