#pragma once
// A refused tool-operation request: which request, and why. Thrown by the
// unit link's request functions and shown by the caller as the request text
// followed by the error text; it never leaves the configuration tool.
#include <cstdint>
#include <string>

namespace axcfg {

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
  bool IsToolModeAlreadyOn() const { return errorCode_ == 1; }
  bool IsWritingToFROM() const { return errorCode_ == 5; }

 private:
  uint8_t requestCode_;
  uint8_t errorCode_;
};

}  // namespace axcfg
