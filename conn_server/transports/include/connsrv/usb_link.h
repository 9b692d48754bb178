#pragma once
// The USB link of channel kind 10: the device of the USB layer with its
// write and read pipes, moving PLC command frames with polled transfers that
// can be cancelled. It is also a byte link, so the answer reader of the
// serial exchange reads USB answers the same way.
#include <cstdint>
#include <functional>
#include <string>

#include "connsrv/usb_exchange.h"
#include "keldusb/usb_device.h"

namespace connsrv {

// Results of CUsbLink::Open.
enum UsbOpenResult { kUsbOpened = 0, kUsbNoDevice = 1, kUsbNotUsable = 2, kUsbWritePipeFailed = 3, kUsbReadPipeFailed = 4 };

// Send flag: complete the frame with its block check code and carriage return.
constexpr uint16_t kUsbSendWithCode = 0x0001;

class CUsbLink : public IUsbTransport {
 public:
  // finder gives the device path; clock paces the device search.
  CUsbLink(std::function<std::string()> finder, IClock& clock) : driver_(std::move(finder)), clock_(clock) {}
  ~CUsbLink() override { Close(); }

  // Finds the device (up to 5 tries, 100 ms apart) and opens both pipes.
  int Open() override;
  // Closes the pipes and releases the device.
  void Close() override;
  bool IsOpen() const override { return writePipe_ >= 0 && readPipe_ >= 0; }
  // 0 while the open device is usable, else its status (not open: gone).
  int Status();

  void SetTimeoutMs(int64_t ms) override { timeoutMs_ = ms > 0 ? ms : 3000; }
  int64_t TimeoutMs() const { return timeoutMs_; }
  void SetLog(ILogSink* log, bool marked) override {
    log_ = log;
    marked_ = marked;
  }

  // Sends a frame (opening the device when needed): 0, -10020 (device not
  // usable or lost) or -10021 (not written within the time-out). With
  // kUsbSendWithCode the code and CR are added to what is sent; the caller's
  // frame is never changed.
  int Send(const std::string& frame, uint16_t sendFlags) override;
  // Empties the read pipe (bytes that arrived before the next send).
  void ResetReadPipe() override;
  // After a read time-out: cancels the read, and resets the pipe when the
  // device still answers.
  void CancelReadAfterTimeout() override;

  // IByteLink: Purge resets both pipes; Write sends the bytes as they are;
  // Read polls the read pipe for up to waitMs (-1 when the device is lost).
  void Purge() override;
  bool Write(const char* bytes, size_t length) override { return Send(std::string(bytes, length), 0) == 0; }
  int Read(char* buffer, size_t capacity, int waitMs) override;

  keldusb::CUsbDriver& Driver() { return driver_; }
  int Device() const { return device_; }

 private:
  int PollStep(int64_t deadline) const;

  keldusb::CUsbDriver driver_;
  IClock& clock_;
  int device_ = -1;
  int writePipe_ = -1;
  int readPipe_ = -1;
  int64_t timeoutMs_ = 4000;
  ILogSink* log_ = nullptr;
  bool marked_ = false;
  bool reading_ = false;
};

}  // namespace connsrv
