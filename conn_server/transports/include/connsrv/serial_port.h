#pragma once
// The serial transport over a Linux serial device (or pseudo-terminal): open
// with the channel's settings, the polling read of the frame exchange, purge,
// write, DTR, and close.
#include <chrono>
#include <string>
#include <termios.h>

#include "connsrv/byte_link.h"
#include "tavinter/serial_settings.h"

namespace connsrv {

// The channel's serial fields in the record's encoding, applied leniently:
// a baud index outside the table keeps the port's rate, a stop-bits code
// other than 1 gives two stop bits, parity code 4 is space as well as 3.
struct SerialSettings : tavinter::CSerialSettings {
  bool flowControl = false;  // RTS/CTS
};

// Reasons an open fails (the request then fails as a failed channel open).
enum SerialOpenError {
  kSerialOpenFailed = 1,
  kSerialGetFailed = 10,
  kSerialSetFailed = 7,
  kSerialTimeoutFailed = 4,
};

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
  // Raises or drops DTR (a pseudo-terminal has no modem lines: no effect).
  void SetDtr(bool raised);

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

#include "platform/comm_log.h"

namespace connsrv {

// The COM numbers whose device is present (shared with the log viewer).
using platform::PresentComPorts;

}  // namespace connsrv
