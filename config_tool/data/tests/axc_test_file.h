#pragma once
// Builds setting files byte by byte for the tests, independently of the
// writer: a header, a directory and sections placed where the test says.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace axctest {

class Bytes {
 public:
  Bytes& U8(uint8_t v) { data.push_back(static_cast<char>(v)); return *this; }
  Bytes& U16(uint16_t v) { return U8(v & 0xFF).U8(v >> 8); }
  Bytes& U32(uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
  Bytes& U64(uint64_t v) { return U32(static_cast<uint32_t>(v)).U32(static_cast<uint32_t>(v >> 32)); }
  Bytes& Text(const std::string& s) { data += s; return *this; }
  Bytes& Zero(size_t n) { data.append(n, '\0'); return *this; }
  std::string data;
};

// One table element with the given values and comment bytes.
struct Element {
  uint8_t ctrl = 0;
  int16_t jump = 0;
  uint8_t interp = 0;
  uint8_t posMode = 0;
  int64_t move = 0;
  int64_t aux = 0;
  uint8_t accPattern = 0;
  int32_t acc = 100;
  int32_t dec = 100;
  int64_t speed = 1000;
  int32_t dwell = 0;
  int32_t auxCode = 0;
  std::string comment;

  void AppendTo(Bytes& b) const {
    b.U32(static_cast<uint32_t>(comment.size() + 68)).U8(ctrl).U16(static_cast<uint16_t>(jump)).U8(interp).U8(posMode);
    b.U64(static_cast<uint64_t>(move)).U64(static_cast<uint64_t>(aux)).U8(accPattern);
    b.U32(static_cast<uint32_t>(acc)).U32(static_cast<uint32_t>(dec)).U64(static_cast<uint64_t>(speed));
    b.U32(static_cast<uint32_t>(dwell)).U32(static_cast<uint32_t>(auxCode)).Zero(20);
    b.U16(static_cast<uint16_t>(comment.size())).Text(comment);
  }
};

inline std::string LayoutSection(uint16_t count, const std::vector<uint32_t>& entries, const std::string& sync28) {
  Bytes b;
  b.U16(count);
  for (size_t i = 0; i < 8; ++i) b.U32(i < entries.size() ? entries[i] : 0);
  std::string s = sync28;
  s.resize(28, '\0');
  b.Text(s).Zero(6);
  return b.data;
}

inline std::string ParamSection(uint16_t count, const std::vector<std::string>& records) {
  Bytes b;
  b.U16(count);
  for (uint16_t i = 0; i < count; ++i) {
    std::string r = i < records.size() ? records[i] : std::string();
    r.resize(152, '\0');
    b.Text(r).Zero(8);
  }
  return b.data;
}

// rows[k] = the elements of row k.
inline std::string RowSection(uint16_t count, const std::vector<std::vector<Element>>& rows) {
  Bytes b;
  b.U16(count);
  for (const auto& row : rows) {
    b.U16(static_cast<uint16_t>(row.size()));
    for (const Element& e : row) e.AppendTo(b);
  }
  return b.data;
}

struct Section {
  uint16_t kind;
  std::string body;
  uint8_t version = 0x10;
};

// Header (version, family, comment, creator), directory in the given order,
// then the sections one after another.
inline std::string File(const std::vector<Section>& sections, uint16_t version = 0x0120, uint16_t family = 0,
                        const std::string& comment = "", const std::string& creator = "") {
  Bytes h;
  h.Text("AXCF").U16(0xEFFE).U16(version).U32(83).U16(static_cast<uint16_t>(sections.size()));
  std::string c = comment, r = creator;
  c.resize(40, '\0');
  r.resize(12, '\0');
  h.Text(c).Text(r).U16(family).Zero(15);
  uint32_t offset = static_cast<uint32_t>(83 + 7 * sections.size());
  for (const Section& s : sections) {
    h.U16(s.kind).U8(s.version).U32(offset);
    offset += static_cast<uint32_t>(s.body.size());
  }
  for (const Section& s : sections) h.Text(s.body);
  return h.data;
}

}  // namespace axctest
