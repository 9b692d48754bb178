#include "axcfg_data/document_file.h"

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/le_bytes.h"
#include "axcfg_data/text_format.h"

namespace axcfg {

namespace {

std::string FileNameOf(const std::string& path) {
  size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string WithoutExtension(const std::string& name) {
  return HasSettingFileExtension(name) ? name.substr(0, name.size() - 4) : name;
}

std::string AfterConversionText() {
  std::string text = AxisCfgText(kIdAfterConversion);
  return text.empty() ? std::string("(after conversion).axc") : text;
}

// The suffix without its extension: "(after conversion)".
std::string ConversionMark() { return WithoutExtension(AfterConversionText()); }

// Parameters introduced with format version 0x0120: record offset, width
// and reset value.
struct NewField {
  size_t offset;
  int width;
  uint32_t value;
};
constexpr NewField kNewFields[] = {
    {14, 2, 0x20},    // pulse input flags: transfer multiple x 4
    {16, 2, 1},       // moving amount ratio numerator
    {18, 2, 1},       // moving amount ratio denominator
    {42, 2, 0x30},    // logic flags: both limit logics normally closed
    {44, 4, 0},       // startup speed
    {48, 4, 10000},   // moving amount check value
    {52, 2, 0},       // moving amount check time
    {130, 2, 0},      // J point control pattern flags
    {132, 2, 100},    // J point control acceleration time
    {134, 2, 100},    // J point control deceleration time
    {136, 4, 1000},   // J point control target speed
    {20, 2, 0},       // difference behavior
    {118, 2, 0},      // pulser input method
    {144, 4, 0},      // pulser operation target speed
    {80, 2, 1},       // deviation counter clear time
};

}  // namespace

CSettingDataSet CopyDataSet(const CSettingDataSet& data) {
  CSettingDataSet copy;
  copy.family = data.family;
  copy.layout = data.layout;
  copy.sync = data.sync;
  copy.params = data.params;
  copy.rows.reserve(data.rows.size());
  for (const auto& row : data.rows) copy.rows.push_back(std::make_unique<CPosData>(*row));
  copy.extraData = data.extraData;
  copy.creator = data.creator;
  copy.comment = data.comment;
  copy.formatVersion = data.formatVersion;
  return copy;
}

void ApplyLoadedData(CAxisCfgDoc& doc, CSettingDataSet&& data, bool keepComments) {
  if (keepComments) {
    for (int k = 0; k < data.RowCount(); ++k) {
      const CPosData* old = doc.GetPosData(k);
      for (int axis = 0; axis < CPosData::kAxes; ++axis)
        data.rows[k]->SetComment(axis, old ? old->GetComment(axis) : std::string());
    }
  }
  doc.SetLayout(data.layout);
  doc.SetUnitFamily(data.family);
  doc.SetSyncGroups(data.sync);
  for (int axis = 0; axis < kAxisCount; ++axis)
    doc.GetParamBlock().SetRecordBytes(axis, data.params.RecordBytes(axis), kParamRecordBytes);
  doc.Rows() = std::move(data.rows);
  data.rows.clear();
  doc.ExtraData() = std::move(data.extraData);
  doc.GetParamBlock();  // the block follows the document's family
}

void ConvertOldVersion(CSettingDataSet& data) {
  for (CSyncGroupRecord& g : data.sync) g.Reset();
  for (int axis = 0; axis < kAxisCount; ++axis) {
    ParamRecord record;
    const uint8_t* bytes = data.params.RecordBytes(axis);
    std::copy(bytes, bytes + kParamRecordBytes, record.begin());
    for (const NewField& f : kNewFields) {
      if (f.width == 2) PutLe16(record.data() + f.offset, static_cast<uint16_t>(f.value));
      else PutLe32(record.data() + f.offset, f.value);
    }
    data.params.SetRecordBytes(axis, record.data(), record.size());
  }
}

std::string ConvertedTitle(const std::string& path) {
  return WithoutExtension(FileNameOf(path)) + AfterConversionText();
}

bool HasConvertedTitle(const std::string& title) {
  return WithoutExtension(title).ends_with(ConversionMark());
}

FileStatus OpenDocumentFile(CAxisCfgDoc& doc, const std::string& path) {
  FileStatus status = LoadFile(doc, path, nullptr, true);
  if (!status.Succeeded()) {
    doc.SetLoadError(status.id);
    return status;
  }
  doc.SetLoadError(0);
  doc.SetPathName(path);
  if (status.id == kMsgConverted) doc.SetTitle(ConvertedTitle(path));
  doc.SetModifiedFlag(false);
  return status;
}

FileStatus SaveDocumentFile(CAxisCfgDoc& doc, const std::string& path) {
  doc.SetLoadError(0);
  FileStatus status = SaveSections(doc, path, kAllSections);
  if (status.Succeeded()) {
    doc.SetPathName(path);
    doc.SetModifiedFlag(false);
  }
  return status;
}

std::string SavePathOf(const CAxisCfgDoc& doc) {
  if (HasConvertedTitle(doc.GetTitle())) return FolderOf(doc.GetPathName()) + doc.GetTitle();
  return doc.GetPathName();
}

std::string ProposedSaveAsName(const std::string& title) {
  std::string name = title.substr(0, title.find_first_of(" #%;/\\"));
  size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return name;
}

std::string WithSettingFileExtension(const std::string& name) {
  return HasSettingFileExtension(name) ? name : name + kSettingFileExtension;
}

}  // namespace axcfg
