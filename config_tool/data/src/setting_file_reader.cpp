// Reading a setting file into a data set.
#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "axcfg_data/cp932_text.h"
#include "axcfg_data/le_bytes.h"
#include "axcfg_data/setting_file.h"
#include "setting_file_format.h"

namespace axcfg {

using namespace axc;

namespace {

uint32_t ReadLayout(IByteSource& src, CSettingDataSet& set) {
  uint8_t b[kLayoutReadBytes];
  if (!src.Read(b, sizeof b)) return kMsgFileDamaged;
  uint16_t count = GetLe16(b);
  // A layout holds at most 8 entries; a larger count is not a layout.
  if (count > kAxisCount) return kMsgFileDamaged;
  set.layout.Clear();
  for (int i = 0; i < kAxisCount; ++i) set.layout.SetEntry(i, GetLe32(b + 2 + 4 * i));
  set.layout.SetRawEntryCount(count);
  set.sync[0].FromBytes(b + 34);
  set.sync[1].FromBytes(b + 34 + CSyncGroupRecord::kBytes);
  return 0;
}

uint32_t ReadParams(IByteSource& src, CSettingDataSet& set) {
  uint8_t b[2];
  if (!src.Read(b, 2)) return kMsgFileDamaged;
  uint16_t count = GetLe16(b);
  if (count > kMaxRecords) return kMsgFileDamaged;
  uint8_t record[kParamRecordBytes + kParamPadBytes];
  for (int axis = 0; axis < count; ++axis) {
    if (!src.Read(record, sizeof record)) return kMsgFileDamaged;
    set.params.SetRecordBytes(axis, record, kParamRecordBytes);
  }
  return 0;
}

uint32_t ReadElement(IByteSource& src, CPosData& row, int axis, std::string& comment) {
  uint8_t b[kElemHeadBytes];
  if (!src.Read(b, sizeof b)) return kMsgFileDamaged;
  const uint16_t commentLen = GetLe16(b + kElemOffCommentLen);
  if (GetLe32(b) != commentLen + kElemLengthBase) return kMsgFileDamaged;
  comment.resize(commentLen);
  if (!src.Read(comment.data(), commentLen)) return kMsgFileDamaged;

  PosElement e;
  e.controlMethod = b[kElemOffCtrl];
  e.jumpNo = static_cast<int16_t>(GetLe16(b + kElemOffJump));
  e.interpPattern = b[kElemOffInterp];
  e.positionMode = b[kElemOffPosMode];
  e.moveAmount = static_cast<int64_t>(GetLe64(b + kElemOffMove));
  e.auxPoint = static_cast<int64_t>(GetLe64(b + kElemOffAux));
  e.accelPattern = b[kElemOffAccPattern];
  e.accelTime = static_cast<int32_t>(GetLe32(b + kElemOffAccTime));
  e.decelTime = static_cast<int32_t>(GetLe32(b + kElemOffDecTime));
  e.targetSpeed = static_cast<int64_t>(GetLe64(b + kElemOffSpeed));
  e.dwellTime = static_cast<int32_t>(GetLe32(b + kElemOffDwell));
  e.auxCode = static_cast<int32_t>(GetLe32(b + kElemOffAuxCode));
  row.SetElement(axis, e);
  if (commentLen > 0) row.SetComment(axis, Utf8FromCp932(comment));
  return 0;
}

uint32_t ReadRows(IByteSource& src, CSettingDataSet& set) {
  uint8_t b[2];
  if (!src.Read(b, 2)) return kMsgFileDamaged;
  const int count = std::min<int>(GetLe16(b), kTableRowCount);
  set.rows.clear();
  set.rows.reserve(kTableRowCount);
  std::string comment;
  for (int k = 0; k < count; ++k) {
    if (!src.Read(b, 2)) return kMsgFileDamaged;
    const uint16_t elements = GetLe16(b);
    if (elements > CPosData::kAxes) return kMsgFileDamaged;
    auto row = std::make_unique<CPosData>();
    for (int axis = 0; axis < elements; ++axis)
      if (uint32_t id = ReadElement(src, *row, axis, comment)) return id;
    set.rows.push_back(std::move(row));
  }
  return 0;
}

uint32_t ReadExtra(IByteSource& src, CSettingDataSet& set) {
  uint8_t b[4];
  if (!src.Read(b, 2)) return kMsgFileDamaged;
  const uint16_t count = GetLe16(b);
  set.extraData.clear();
  set.extraData.reserve(count);
  for (int i = 0; i < count; ++i) {
    if (!src.Read(b, 4)) return kMsgFileDamaged;
    set.extraData.push_back(GetLe16(b));  // the value is the low half
  }
  return 0;
}

uint32_t ReadAll(IByteSource& src, CSettingDataSet& out) {
  uint8_t h[kHeaderBytes];
  if (!src.Seek(0) || !src.Read(h, sizeof h)) return kMsgFileDamaged;
  if (std::memcmp(h + kOffMagic, kMagic, sizeof kMagic) != 0 || GetLe16(h + kOffMark) != kByteOrderMark)
    return kMsgNotASettingFile;
  const uint16_t entryCount = GetLe16(h + kOffEntryCount);
  if (entryCount == 0) return kMsgNoSections;

  std::vector<uint8_t> dir(static_cast<size_t>(entryCount) * kDirEntryBytes);
  if (!src.Seek(GetLe32(h + kOffHeaderSize)) || !src.Read(dir.data(), dir.size())) return kMsgFileDamaged;

  const uint16_t version = GetLe16(h + kOffVersion);
  if (version > kFormatVersion) return kMsgNewerFormat;

  CSettingDataSet set;
  set.formatVersion = version;
  set.family = version < kFormatVersion ? 0u : GetLe16(h + kOffFamily);
  set.params.SetFamily(set.family);
  std::memcpy(set.creator.data(), h + kOffCreator, set.creator.size());
  set.creator.back() = 0;  // at most 10 bytes and a terminator
  std::memcpy(set.comment.data(), h + kOffComment, set.comment.size());

  bool layoutRead = false;
  for (size_t i = 0; i < entryCount; ++i) {
    const uint8_t* e = dir.data() + i * kDirEntryBytes;
    if (e[2] > kSectionVersion) return kMsgSectionVersion;
    const uint16_t kind = GetLe16(e);
    if (kind < kSectionLayout || kind > kSectionExtra) continue;  // not ours: skipped
    if (!src.Seek(GetLe32(e + 3))) return kMsgFileDamaged;
    uint32_t id = 0;
    switch (kind) {
      case kSectionLayout:
        id = ReadLayout(src, set);
        layoutRead = true;
        break;
      case kSectionParams: id = ReadParams(src, set); break;
      case kSectionRows: id = ReadRows(src, set); break;
      case kSectionExtra: id = ReadExtra(src, set); break;
    }
    if (id) return id;
  }
  // A layout that breaks the layout rules, or names axes the family does
  // not have, would open as sheets without columns: the file is damaged.
  if (layoutRead && (!set.layout.IsValid() || !set.layout.FitsFamily(set.family))) return kMsgFileDamaged;
  // The document always has 600 tables; those the file does not carry are
  // at their reset values, as in a new document.
  while (set.RowCount() < kTableRowCount) set.rows.push_back(std::make_unique<CPosData>());
  out = std::move(set);
  return 0;
}

}  // namespace

uint32_t ReadSettingData(IByteSource& source, CSettingDataSet& out) {
  try {
    return ReadAll(source, out);
  } catch (const std::bad_alloc&) {
    return kMsgNoLoadMemory;
  } catch (const std::length_error&) {
    return kMsgNoLoadMemory;
  }
}

}  // namespace axcfg
