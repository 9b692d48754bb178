#include "connsrv/usb_link.h"

#include <algorithm>

#include "connsrv/result_codes.h"
#include "plcframe/frame_codec.h"

namespace connsrv {

using namespace keldusb;

namespace {
constexpr int kFindTries = 5;
constexpr int kFindPauseMs = 100;
constexpr int kStepMs = 1;  // one polling step waits at most this long on the descriptor
}  // namespace

int CUsbLink::Open() {
  Close();
  for (int attempt = 0; attempt < kFindTries && device_ < 0; ++attempt) {
    if (attempt > 0) clock_.SleepMs(kFindPauseMs);
    device_ = driver_.UsbFindDevice();
  }
  if (device_ < 0) return kUsbNoDevice;
  if (driver_.UsbDeviceStatus(device_) != kUsbUsable) {
    Close();
    return kUsbNotUsable;
  }
  writePipe_ = driver_.UsbOpenPipe(device_, 0, kUsbWritePipe);
  if (writePipe_ < 0) {
    Close();
    return kUsbWritePipeFailed;
  }
  readPipe_ = driver_.UsbOpenPipe(device_, 0, kUsbReadPipe);
  if (readPipe_ < 0) {
    Close();
    return kUsbReadPipeFailed;
  }
  return kUsbOpened;
}

void CUsbLink::Close() {
  if (device_ >= 0) driver_.UsbReleaseDevice(device_);
  device_ = writePipe_ = readPipe_ = -1;
  reading_ = false;
}

int CUsbLink::Status() { return IsOpen() ? driver_.UsbDeviceStatus(device_) : kUsbGone; }

int CUsbLink::Send(const std::string& frame, uint16_t sendFlags) {
  if (!IsOpen() && Open() != kUsbOpened) return kErrWrite;
  if (Status() != kUsbUsable) return kErrWrite;
  const std::string sent = (sendFlags & kUsbSendWithCode) ? plcframe::CompleteFrame(frame) : frame;
  const int64_t deadline = clock_.NowMs() + timeoutMs_;
  int rc = driver_.UsbStartWrite(writePipe_, sent.data(), sent.size());
  while (rc == kUsbPending) {
    if (Status() != kUsbUsable) {
      rc = kUsbFailed;
      break;
    }
    rc = driver_.UsbPollWrite(writePipe_, PollStep(deadline));
    if (rc == kUsbPending && clock_.NowMs() >= deadline) {
      driver_.UsbCancelWrite(writePipe_);
      driver_.UsbResetPipe(writePipe_, kUsbResetFlush);
      return kErrWriteTimeout;
    }
  }
  if (rc != kUsbDone) {
    driver_.UsbCancelWrite(writePipe_);
    driver_.UsbResetPipe(writePipe_, kUsbResetFlush);
    return kErrWrite;
  }
  if (log_) log_->Record(marked_ ? kLogSentMarked : kLogSent, sent.data(), sent.size());
  return kOk;
}

int CUsbLink::PollStep(int64_t deadline) const {
  const int64_t left = deadline - clock_.NowMs();
  return static_cast<int>(std::clamp<int64_t>(left, 0, kStepMs));
}

void CUsbLink::ResetReadPipe() {
  if (!IsOpen()) return;
  if (reading_) driver_.UsbCancelRead(readPipe_);
  reading_ = false;
  driver_.UsbResetPipe(readPipe_, kUsbResetFlush);
}

void CUsbLink::CancelReadAfterTimeout() {
  if (!IsOpen()) return;
  if (reading_) driver_.UsbCancelRead(readPipe_);
  reading_ = false;
  if (Status() == kUsbUsable) driver_.UsbResetPipe(readPipe_, kUsbResetFlush);
}

void CUsbLink::Purge() {
  if (!IsOpen()) return;
  driver_.UsbResetPipe(writePipe_, kUsbResetFlush);
  ResetReadPipe();
}

int CUsbLink::Read(char* buffer, size_t capacity, int waitMs) {
  if (!IsOpen()) return -1;
  if (!reading_) {
    if (driver_.UsbStartRead(readPipe_) != kUsbPending) return -1;
    reading_ = true;
  }
  const int64_t deadline = clock_.NowMs() + std::max(waitMs, 0);
  for (;;) {
    if (Status() != kUsbUsable) {
      driver_.UsbCancelRead(readPipe_);
      driver_.UsbResetPipe(readPipe_, kUsbResetFlush);
      reading_ = false;
      return -1;
    }
    const int n = driver_.UsbPollRead(readPipe_, buffer, capacity, PollStep(deadline));
    if (n > 0) {
      reading_ = false;
      return n;
    }
    if (n < 0) {
      reading_ = false;
      return -1;
    }
    if (clock_.NowMs() >= deadline) return 0;
  }
}

}  // namespace connsrv
