#pragma once
// A scripted USB link for exchange tests and fuzzing: opens succeed or fail
// as scripted, and the bytes move through a scripted byte link.
#include <string>
#include <vector>

#include "connsrv/result_codes.h"
#include "connsrv/usb_exchange.h"
#include "fake_link.h"
#include "plcframe/frame_codec.h"

namespace connsrv_test {

class FakeUsb : public connsrv::IUsbTransport {
 public:
  explicit FakeUsb(FakeClock& clock) : bytes_(clock) {}
  int Open() override {
    ++opens;
    int rc = 0;
    if (!openResults.empty()) {
      rc = openResults.front();
      openResults.erase(openResults.begin());
    }
    open_ = rc == 0;
    return rc;
  }
  void Close() override {
    ++closes;
    open_ = false;
  }
  bool IsOpen() const override { return open_; }
  void SetTimeoutMs(int64_t ms) override { timeoutMs = ms; }
  void SetLog(connsrv::ILogSink*, bool m) override { marked = m; }
  int Send(const std::string& frame, uint16_t flags) override {
    if (!open_ && Open() != 0) return connsrv::kErrWrite;
    std::string sent = (flags & 1) ? plcframe::CompleteFrame(frame) : frame;
    bytes_.Write(sent.data(), sent.size());
    return connsrv::kOk;
  }
  void ResetReadPipe() override { ++resets; }
  void CancelReadAfterTimeout() override { ++cancels; }
  void Purge() override {}
  bool Write(const char* b, size_t n) override { return bytes_.Write(b, n); }
  int Read(char* buffer, size_t capacity, int waitMs) override { return bytes_.Read(buffer, capacity, waitMs); }

  FakeLink& Bytes() { return bytes_; }
  std::vector<int> openResults;  // per Open: 0 opens, anything else fails
  int opens = 0, closes = 0, resets = 0, cancels = 0;
  int64_t timeoutMs = 0;
  bool marked = false;

 private:
  FakeLink bytes_;
  bool open_ = true;
};

}  // namespace connsrv_test
