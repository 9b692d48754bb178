// Writing a document as a setting file.
#include <algorithm>
#include <cstring>
#include <new>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/cp932_text.h"
#include "axcfg_data/le_bytes.h"
#include "axcfg_data/setting_file.h"
#include "platform/file_util.h"
#include "setting_file_format.h"

namespace axcfg {

using namespace axc;

namespace {

// Appends fixed-width little-endian fields to the file image.
class CImage {
 public:
  explicit CImage(std::string& out) : out_(out) {}
  size_t Size() const { return out_.size(); }
  void U8(uint8_t v) { out_.push_back(static_cast<char>(v)); }
  void U16(uint16_t v) {
    uint8_t b[2];
    PutLe16(b, v);
    Bytes(b, 2);
  }
  void U32(uint32_t v) {
    uint8_t b[4];
    PutLe32(b, v);
    Bytes(b, 4);
  }
  void U64(uint64_t v) {
    uint8_t b[8];
    PutLe64(b, v);
    Bytes(b, 8);
  }
  void Bytes(const void* p, size_t n) { out_.append(static_cast<const char*>(p), n); }
  void Zero(size_t n) { out_.append(n, '\0'); }
  uint8_t* At(size_t offset) { return reinterpret_cast<uint8_t*>(out_.data()) + offset; }

 private:
  std::string& out_;
};

void WriteLayout(CImage& img, const CAxisCfgDoc& doc) {
  const CAxisLayout& layout = doc.GetLayout();
  img.U16(static_cast<uint16_t>(std::clamp<int32_t>(layout.GetRawEntryCount(), 0, 0xFFFF)));
  for (uint32_t e : layout.Entries()) img.U32(e);
  uint8_t rec[CSyncGroupRecord::kBytes];
  for (const CSyncGroupRecord& g : doc.GetSyncGroups()) {
    g.ToBytes(rec);
    img.Bytes(rec, sizeof rec);
  }
  img.Zero(kLayoutWrittenBytes - kLayoutReadBytes);
}

void WriteParams(CImage& img, const CAxisCfgDoc& doc) {
  img.U16(kMaxRecords);
  for (int axis = 0; axis < kMaxRecords; ++axis) {
    img.Bytes(doc.GetParamBlock().RecordBytes(axis), kParamRecordBytes);
    img.Zero(kParamPadBytes);
  }
}

void WriteElement(CImage& img, const PosElement& e) {
  std::string comment = Cp932FromUtf8(e.comment);
  if (comment.size() > 0xFFFF) comment.resize(0xFFFF);  // the length field has 16 bits
  img.U32(static_cast<uint32_t>(comment.size()) + kElemLengthBase);
  img.U8(e.controlMethod);
  img.U16(static_cast<uint16_t>(e.jumpNo));
  img.U8(e.interpPattern);
  img.U8(e.positionMode);
  img.U64(static_cast<uint64_t>(e.moveAmount));
  img.U64(static_cast<uint64_t>(e.auxPoint));
  img.U8(e.accelPattern);
  img.U32(static_cast<uint32_t>(e.accelTime));
  img.U32(static_cast<uint32_t>(e.decelTime));
  img.U64(static_cast<uint64_t>(e.targetSpeed));
  img.U32(static_cast<uint32_t>(e.dwellTime));
  img.U32(static_cast<uint32_t>(e.auxCode));
  img.Zero(20);
  img.U16(static_cast<uint16_t>(comment.size()));
  img.Bytes(comment.data(), comment.size());
}

void WriteRows(CImage& img, const CAxisCfgDoc& doc) {
  const int count = std::min(doc.GetRowCount(), 0xFFFF);
  img.U16(static_cast<uint16_t>(count));
  static const CPosData kResetRow;
  for (int k = 0; k < count; ++k) {
    // A row the list lost is written at its reset values; the count stays.
    const CPosData* row = doc.GetPosData(k);
    if (!row) row = &kResetRow;
    img.U16(CPosData::kAxes);
    for (int axis = 0; axis < CPosData::kAxes; ++axis) WriteElement(img, row->Element(axis));
  }
}

void WriteExtra(CImage& img, const CAxisCfgDoc& doc) {
  const size_t count = std::min<size_t>(doc.ExtraData().size(), 0xFFFF);
  img.U16(static_cast<uint16_t>(count));
  for (size_t i = 0; i < count; ++i) img.U32(doc.ExtraData()[i]);
}

void WriteDirectory(CImage& img, const std::vector<uint16_t>& kinds, const std::vector<uint32_t>& offsets) {
  for (size_t i = 0; i < kinds.size(); ++i) {
    uint8_t* e = img.At(kHeaderBytes + i * kDirEntryBytes);
    PutLe16(e, kinds[i]);
    e[2] = kSectionVersion;
    PutLe32(e + 3, offsets[i]);
  }
}

}  // namespace

uint32_t BuildSettingFile(const CAxisCfgDoc& doc, unsigned sectionMask, std::string& out) {
  out.clear();
  std::vector<uint16_t> kinds;
  for (uint16_t kind = kSectionLayout; kind <= kSectionExtra; ++kind)
    if (sectionMask & (1u << (kind - 1))) kinds.push_back(kind);
  if (kinds.empty()) return kMsgNothingToSave;

  try {
    std::vector<uint32_t> offsets(kinds.size(), 0);
    // About 100 bytes per element with short comments.
    out.reserve(kHeaderBytes + kinds.size() * kDirEntryBytes + 1400 +
                static_cast<size_t>(doc.GetRowCount()) * CPosData::kAxes * 100);
    CImage img(out);

    uint8_t h[kHeaderBytes] = {};
    std::memcpy(h + kOffMagic, kMagic, sizeof kMagic);
    PutLe16(h + kOffMark, kByteOrderMark);
    PutLe16(h + kOffVersion, kFormatVersion);
    PutLe32(h + kOffHeaderSize, kHeaderBytes);
    PutLe16(h + kOffEntryCount, static_cast<uint16_t>(kinds.size()));
    std::memcpy(h + kOffComment, doc.GetCommentField().data(), CAxisCfgDoc::kCommentFieldBytes);
    // The creator slot has 12 bytes: the 11 creator bytes, then the first
    // comment byte, as files of the tool have always carried it.
    std::memcpy(h + kOffCreator, doc.GetCreatorField().data(), CAxisCfgDoc::kCreatorFieldBytes);
    h[kOffCreator + kCreatorWritten - 1] = doc.GetCommentField()[0];
    PutLe16(h + kOffFamily, static_cast<uint16_t>(doc.GetUnitFamily()));
    img.Bytes(h, sizeof h);
    img.Zero(kinds.size() * kDirEntryBytes);  // the directory, completed below

    for (size_t i = 0; i < kinds.size(); ++i) {
      offsets[i] = static_cast<uint32_t>(img.Size());
      switch (kinds[i]) {
        case kSectionLayout: WriteLayout(img, doc); break;
        case kSectionParams: WriteParams(img, doc); break;
        case kSectionRows: WriteRows(img, doc); break;
        case kSectionExtra: WriteExtra(img, doc); break;
      }
    }
    WriteDirectory(img, kinds, offsets);
  } catch (const std::bad_alloc&) {
    out.clear();
    return kMsgNoSaveMemory;
  }
  return 0;
}

FileStatus SaveSections(const CAxisCfgDoc& doc, const std::string& path, unsigned sectionMask) {
  std::string bytes;
  if (uint32_t id = BuildSettingFile(doc, sectionMask, bytes)) return {id, {}};
  std::string error;
  if (!platform::WriteFileAtomic(path, bytes, &error)) return {kFileSystemError, error};
  return {};
}

}  // namespace axcfg
