// Loading a setting file into a data set or the document, and the texts of
// the outcome.
#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/document_file.h"
#include "axcfg_data/setting_file.h"
#include "axcfg_data/text_format.h"

namespace axcfg {

namespace {
constexpr unsigned kIdFileError = 29099;  // "The file %s cannot be accessed.\n%s"
}

bool HasSettingFileExtension(const std::string& path) {
  const std::string ext = kSettingFileExtension;
  if (path.size() < ext.size()) return false;
  for (size_t i = 0; i < ext.size(); ++i) {
    char c = path[path.size() - ext.size() + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != ext[i]) return false;
  }
  return true;
}

std::string FileErrorText(const std::string& path, const std::string& reason) {
  return FormatText(AxisCfgText(kIdFileError), {path, reason});
}

std::string FileStatusText(const FileStatus& status, const std::string& path, const std::string& title) {
  switch (status.id) {
    case 0: return std::string();
    case kFileSystemError: return FileErrorText(path, status.systemError);
    case kMsgConverted: return FormatText(AxisCfgText(kMsgConverted), {title});
    default: return AxisCfgText(status.id);
  }
}

FileStatus ReadSettingFile(const std::string& path, CSettingDataSet& out) {
  if (!HasSettingFileExtension(path)) return {kMsgWrongFileType, {}};
  CFileByteSource source;
  if (!source.Open(path)) return {kFileSystemError, source.SystemError()};
  if (uint32_t id = ReadSettingData(source, out)) {
    if (source.Failed()) return {kFileSystemError, source.SystemError()};
    return {id, {}};
  }
  return {};
}

FileStatus LoadFile(CAxisCfgDoc& doc, const std::string& path, CSettingDataSet* target, bool apply) {
  CSettingDataSet loaded;
  if (FileStatus status = ReadSettingFile(path, loaded); !status.Succeeded()) return status;
  if (!apply) {
    if (target) *target = std::move(loaded);
    return {};
  }

  CSettingDataSet forDocument;
  if (target) {
    forDocument = CopyDataSet(loaded);
    *target = std::move(loaded);
  } else {
    forDocument = std::move(loaded);
  }
  const bool old = forDocument.formatVersion < kFormatVersion;
  if (old) {
    ConvertOldVersion(forDocument);
    doc.SetTitle(ConvertedTitle(path));
  }
  doc.SetCreatorField(forDocument.creator.data(), forDocument.creator.size());
  doc.SetCommentField(forDocument.comment.data(), forDocument.comment.size());
  ApplyLoadedData(doc, std::move(forDocument));
  return {old ? kMsgConverted : 0u, {}};
}

}  // namespace axcfg
