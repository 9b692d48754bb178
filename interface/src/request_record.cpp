#include "tavinter/request_record.h"

#include <algorithm>
#include <cstring>

namespace tavinter {

int16_t GetI16(const uint8_t* data, size_t size, size_t offset) {
  return static_cast<int16_t>(GetU16(data, size, offset));
}

uint16_t GetU16(const uint8_t* data, size_t size, size_t offset) {
  if (!data || offset + 2 > size) return 0;
  return static_cast<uint16_t>(data[offset] | (data[offset + 1] << 8));
}

int32_t GetI32(const uint8_t* data, size_t size, size_t offset) {
  if (!data || offset + 4 > size) return 0;
  uint32_t v = static_cast<uint32_t>(data[offset]) | (static_cast<uint32_t>(data[offset + 1]) << 8) |
               (static_cast<uint32_t>(data[offset + 2]) << 16) | (static_cast<uint32_t>(data[offset + 3]) << 24);
  return static_cast<int32_t>(v);
}

void PutI16(uint8_t* data, size_t size, size_t offset, int16_t value) {
  if (!data || offset + 2 > size) return;
  auto v = static_cast<uint16_t>(value);
  data[offset] = static_cast<uint8_t>(v & 0xFF);
  data[offset + 1] = static_cast<uint8_t>(v >> 8);
}

void PutI32(uint8_t* data, size_t size, size_t offset, int32_t value) {
  if (!data || offset + 4 > size) return;
  auto v = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i) data[offset + i] = static_cast<uint8_t>((v >> (8 * i)) & 0xFF);
}

std::string GetText(const uint8_t* data, size_t size, size_t offset, size_t width) {
  if (!data || offset >= size) return {};
  width = std::min(width, size - offset);
  const uint8_t* p = data + offset;
  const void* nul = std::memchr(p, 0, width);
  size_t len = nul ? static_cast<size_t>(static_cast<const uint8_t*>(nul) - p) : width;
  return std::string(reinterpret_cast<const char*>(p), len);
}

void PutText(uint8_t* data, size_t size, size_t offset, size_t width, const std::string& text) {
  if (!data || offset >= size || width == 0) return;
  width = std::min(width, size - offset);
  std::memset(data + offset, 0, width);
  std::memcpy(data + offset, text.data(), std::min(text.size(), width - 1));
}

bool CChannelConfig::Parse(const uint8_t* data, size_t size) {
  bytes_.fill(0);
  if (!data || size != kChannelConfigSize) return false;
  std::copy(data, data + size, bytes_.begin());
  return true;
}

bool CRequestRecord::Parse(const uint8_t* data, size_t size) {
  bytes_.fill(0);
  if (!data || size != kRequestRecordSize) return false;
  std::copy(data, data + size, bytes_.begin());
  return true;
}

std::string CRequestRecord::CommandText() const {
  return GetText(bytes_.data(), bytes_.size(), kCommandText, kMaxCommandText);
}

std::vector<uint8_t> CRequestRecord::CommandBytes() const {
  size_t n = std::min<size_t>(DataLength(), bytes_.size() - kCommandText);
  return std::vector<uint8_t>(bytes_.begin() + kCommandText, bytes_.begin() + kCommandText + n);
}

CChannelConfig CRequestRecord::ChannelConfig() const {
  CChannelConfig c;
  c.Parse(bytes_.data() + kChannelConfig, kChannelConfigSize);
  return c;
}

bool CRequestRecord::SetCommandText(const std::string& text) {
  if (text.size() > kMaxCommandText) return false;
  PutText(bytes_.data(), bytes_.size(), kCommandText, kMaxCommandText + 1, text);
  return true;
}

bool CRequestRecord::SetCommandBytes(const std::vector<uint8_t>& data) {
  if (data.size() > bytes_.size() - kCommandText || data.size() > 0xFFFF) return false;
  std::copy(data.begin(), data.end(), bytes_.begin() + kCommandText);
  SetDataLength(static_cast<uint16_t>(data.size()));
  return true;
}

void CRequestRecord::SetChannelConfig(const CChannelConfig& config) {
  std::copy(config.Bytes().begin(), config.Bytes().end(), bytes_.begin() + kChannelConfig);
}

std::string CRequestRecord::Registration(size_t base, int i) const {
  if (i < 0 || i >= kRegistrationFrames) return {};
  return GetText(bytes_.data(), bytes_.size(), base + i * kRegistrationFrameSize, kRegistrationFrameSize);
}

bool CRequestRecord::PutRegistration(size_t base, int i, const std::string& frame) {
  if (i < 0 || i >= kRegistrationFrames || frame.size() >= kRegistrationFrameSize) return false;
  PutText(bytes_.data(), bytes_.size(), base + i * kRegistrationFrameSize, kRegistrationFrameSize, frame);
  return true;
}

std::string CRequestRecord::DataRegistration(int i) const { return Registration(kCommandText, i); }
std::string CRequestRecord::ContactRegistration(int i) const { return Registration(kContactFrames, i); }
bool CRequestRecord::SetDataRegistration(int i, const std::string& f) { return PutRegistration(kCommandText, i, f); }
bool CRequestRecord::SetContactRegistration(int i, const std::string& f) { return PutRegistration(kContactFrames, i, f); }

}  // namespace tavinter
