#pragma once
// The setting file (.axc): a fixed header, a directory of sections and the
// sections themselves (axis layout, parameters, positioning tables, extra
// data), all little-endian without padding. Files of the older format
// version 0x0110 are read and converted.
#include <cstdint>
#include <string>

#include "axcfg_data/byte_source.h"
#include "axcfg_data/setting_data_set.h"

namespace axcfg {

class CAxisCfgDoc;

// Message ids of saving and loading.
enum : uint32_t {
  kMsgNothingToSave = 29001,
  kMsgNoSaveMemory = 29002,
  kMsgWrongFileType = 29003,
  kMsgFileDamaged = 29004,
  kMsgNotASettingFile = 29005,
  kMsgNewerFormat = 29006,
  kMsgNoSections = 29007,
  kMsgNoLoadMemory = 29008,
  kMsgSectionVersion = 29009,
  kMsgConverted = 29010,  // loaded and converted: the load succeeded
};
// Not a message id: the file system refused the file (the reason is kept).
inline constexpr uint32_t kFileSystemError = 1;

inline constexpr uint16_t kFormatVersion = 0x0120;
inline constexpr uint8_t kSectionVersion = 0x10;
inline constexpr const char* kSettingFileExtension = ".axc";

// Section kinds and the bits of a section mask.
enum : uint16_t { kSectionLayout = 1, kSectionParams = 2, kSectionRows = 3, kSectionExtra = 4 };
enum : unsigned { kAllSections = 0x0F };

struct FileStatus {
  uint32_t id = 0;          // 0, a message id, or kFileSystemError
  std::string systemError;  // the reason of a kFileSystemError

  bool Succeeded() const { return id == 0 || id == kMsgConverted; }
};

// The text to show for a status: the message of its id (29010 with the
// document's new title), or the file-error message naming the file.
std::string FileStatusText(const FileStatus& status, const std::string& path, const std::string& title = {});
// The message for a file that the file system refused to read or write.
std::string FileErrorText(const std::string& path, const std::string& reason);

// True when the name ends in ".axc", in any case.
bool HasSettingFileExtension(const std::string& path);

// The bytes of a setting file holding the sections of the mask (bit 0
// layout, bit 1 parameters, bit 2 tables, bit 3 extra data). Returns 0 or
// 29001 / 29002.
uint32_t BuildSettingFile(const CAxisCfgDoc& doc, unsigned sectionMask, std::string& out);

// Writes the file through a temporary file in the same folder that replaces
// the old file only when it is complete: a failure leaves any previous file
// exactly as it was.
FileStatus SaveSections(const CAxisCfgDoc& doc, const std::string& path, unsigned sectionMask = kAllSections);

// Reads a whole setting file from the source. `out` is replaced only when
// the read succeeds. Rows missing from the file (no rows section, or fewer
// than 600) are filled with rows at their reset values, so a loaded set
// always holds exactly 600 rows. Returns 0 or a message id; the data of an
// old-version file are returned as read (family 0, no conversion).
uint32_t ReadSettingData(IByteSource& source, CSettingDataSet& out);

// Reads the file at path: its extension first (29003), then its contents.
// `out` is replaced only on success; nothing is converted.
FileStatus ReadSettingFile(const std::string& path, CSettingDataSet& out);

// Reads the file at path into target, or into a temporary set when target
// is null. With apply the loaded data (converted first when the file is of
// an old version, which gives 29010) replace the document's data, creator
// and comment; on any error the document is left as it was.
FileStatus LoadFile(CAxisCfgDoc& doc, const std::string& path, CSettingDataSet* target, bool apply);

}  // namespace axcfg
