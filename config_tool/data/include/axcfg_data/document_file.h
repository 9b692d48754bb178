#pragma once
// The document's side of the setting file: applying a loaded data set, the
// conversion of old-version files, opening and saving with the names the
// tool uses.
#include <string>

#include "axcfg_data/setting_data_set.h"
#include "axcfg_data/setting_file.h"

namespace axcfg {

class CAxisCfgDoc;

inline constexpr unsigned kIdAfterConversion = 29061;  // "(after conversion).axc"

// Replaces the document's layout, family, synchronous groups, all 8
// parameter records, rows and extra-data list with the set's (the set's
// rows are taken over). With keepComments each new row k first receives the
// comments of the document's row k (empty where the document has none).
void ApplyLoadedData(CAxisCfgDoc& doc, CSettingDataSet&& data, bool keepComments = false);

// An independent copy of a set (rows included).
CSettingDataSet CopyDataSet(const CSettingDataSet& data);

// What an old-version file lacks: both synchronous groups reset and, for
// every axis, the parameters introduced with version 0x0120 at their reset
// values.
void ConvertOldVersion(CSettingDataSet& data);

// The title of a converted document: the file name without ".axc", then
// "(after conversion).axc".
std::string ConvertedTitle(const std::string& path);
bool HasConvertedTitle(const std::string& title);

// Opening a document: LoadFile with apply; on success the document takes
// the path (and the converted title after a conversion) and is unmodified.
// The load error is kept in the document; a failure changes nothing else.
FileStatus OpenDocumentFile(CAxisCfgDoc& doc, const std::string& path);

// Saving a document with all sections; on success the document takes the
// path and is unmodified. The previous file survives any failure.
FileStatus SaveDocumentFile(CAxisCfgDoc& doc, const std::string& path);

// Where Save writes: for a converted title the folder of the current path
// joined with the title, otherwise the current path.
std::string SavePathOf(const CAxisCfgDoc& doc);
// The name Save As proposes: the title cut at the first blank, '#', '%',
// ';', '/' or '\', without its extension.
std::string ProposedSaveAsName(const std::string& title);
// Appends ".axc" unless the name already ends in it.
std::string WithSettingFileExtension(const std::string& name);

}  // namespace axcfg
