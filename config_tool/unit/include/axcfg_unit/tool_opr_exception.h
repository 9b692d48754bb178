#pragma once
// A refused tool-operation request: which request, and why. Thrown by the
// unit link's request functions and shown by the caller as the request text
// followed by the error text; it never leaves the configuration tool.
#include <cstdint>
#include <string>

namespace axcfg {

// Why the unit refused a tool-operation request.
enum ToolRefusal : uint8_t {
  kRefusedToolModeOn = 1,     // the tool-mode word already holds the tool-mode marker
  kRefusedOtherToolMode = 2,  // the tool-mode word holds another value
  kRefusedAxisRunning = 3,
  kRefusedNotReady = 4,  // servo ON/OFF while the axis is not ready
  kRefusedWritingFrom = 5,
};

class CToolOprException {
 public:
  CToolOprException(uint8_t requestCode, uint8_t errorCode) : requestCode_(requestCode), errorCode_(errorCode) {}

  uint8_t RequestCode() const { return requestCode_; }
  uint8_t ErrorCode() const { return errorCode_; }

  // The error text into buffer (cut to maxChars - 1 characters, NUL-terminated);
  // true when the text is not empty.
  bool GetErrorMessage(char* buffer, unsigned maxChars, unsigned* helpContext = nullptr) const;
  std::string ErrorText() const;
  std::string GetRequestText() const;
  bool IsToolModeAlreadyOn() const { return errorCode_ == kRefusedToolModeOn; }
  bool IsWritingToFROM() const { return errorCode_ == kRefusedWritingFrom; }

 private:
  uint8_t requestCode_;
  uint8_t errorCode_;
};

}  // namespace axcfg
