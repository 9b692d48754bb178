#pragma once
// The byte link of a header link's answers: takes the binary route header off
// each frame and passes only the text on, so the ordinary answer reader reads
// it. A header that does not read (wrong mark, more than 8 hops, a text
// longer than 2,050 bytes) or a bare "%"/"<" frame where a header belongs
// makes reads fail; Fault() then tells why.
#include <string>

#include "connsrv/byte_link.h"

namespace connsrv {

class CHeaderLink : public IByteLink {
 public:
  explicit CHeaderLink(IByteLink& inner) : inner_(inner) {}

  // Drops what was read but not taken and starts at a header again.
  void Purge() override;
  bool Write(const char* bytes, size_t length) override { return inner_.Write(bytes, length); }
  int Read(char* buffer, size_t capacity, int waitMs) override;

  // 0, or the receive error of the last failed read.
  int Fault() const { return fault_; }

 private:
  // Moves text bytes from raw_ to text_ while headers read; false on a bad one.
  bool Strip();

  IByteLink& inner_;
  std::string raw_;     // received, not yet taken apart
  std::string text_;    // text bytes ready for the reader
  size_t textLeft_ = 0;  // bytes of the current frame's text still to come
  int fault_ = 0;
};

}  // namespace connsrv
