#pragma once
// CAxisCfgDoc: the setting data of one positioning unit (unit family, axis
// layout, parameters, positioning tables, synchronous groups) and the
// document operations that the editors, files and transfers use.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "axcfg_data/axis_layout.h"
#include "axcfg_data/document.h"
#include "axcfg_data/param_block.h"
#include "axcfg_data/pos_data.h"
#include "axcfg_data/sync_group.h"

namespace axcfg {

class CAxisCfgDoc;

inline constexpr int kTableRowCount = 600;
// Update hint that makes the views rebuild everything.
inline constexpr long kHintRebuildAll = -1;

// The last choice of the download dialog.
struct DownloadSelection {
  uint32_t kind = 2;  // 1 axis information and parameters, 2 also positioning data
  uint32_t first = 1;
  uint32_t last = kTableRowCount;
  bool operator==(const DownloadSelection&) const = default;
};

// The connection object a document carries for transfers; the unit layer
// supplies the real one.
class CDocLinkObject {
 public:
  virtual ~CDocLinkObject() = default;
};

// The axis settings dialogs run as one sequence. Run may change the
// document's family, synchronous groups and home return setting codes, and
// puts the chosen layout into `layout` (it starts as the layout to show).
// It returns the new entry count, below 1 when the user cancelled.
class IAxisSettingsSequence {
 public:
  virtual ~IAxisSettingsSequence() = default;
  virtual int Run(CAxisCfgDoc& doc, bool newDocument, CAxisLayout& layout) = 0;
};

// The document's stored fields apart from its table rows, in the order of
// its stored form. The document inherits them under these member names; a
// cancelled New or change of axes puts back a copy of all of them at once,
// so that a field added here is restored as well.
struct CAxisCfgDocFields {
  static constexpr size_t kCreatorFieldBytes = 11;  // at most 10 bytes and a NUL
  static constexpr size_t kCommentFieldBytes = 40;  // NUL-padded, no NUL when full

  uint32_t reserved_ = 0;
  uint32_t family_ = 0;
  CAxisLayout layout_;
  CParamBlock params_;
  std::array<uint8_t, kCreatorFieldBytes> creator_{};
  std::array<uint8_t, kCommentFieldBytes> comment_{};
  uint8_t flag_ = 0;
  uint32_t loadError_ = 0;
  std::vector<uint16_t> extraData_;
  DownloadSelection download_;
  SyncGroups sync_{};

  bool operator==(const CAxisCfgDocFields&) const = default;
};

enum class ChangeAxesResult {
  Cancelled,  // the dialog was cancelled; everything restored
  Unchanged,  // every entry kept; no table data initialised
  Changed,    // the tables of the changed axes were initialised
  Failed,     // a table row was missing; the old layout is back
};

class CAxisCfgDoc : public CDocument, private CAxisCfgDocFields {
 public:
  static constexpr size_t kCreatorFieldBytes = CAxisCfgDocFields::kCreatorFieldBytes;
  static constexpr size_t kCommentFieldBytes = CAxisCfgDocFields::kCommentFieldBytes;
  static constexpr size_t kCreatorMaxBytes = 10;
  static constexpr size_t kCommentMaxBytes = 40;

  // Starts with the new-document data: family 0, axis 1 alone, 600 rows.
  CAxisCfgDoc();
  ~CAxisCfgDoc() override;

  // --- Unit family and axis layout ---
  uint32_t GetUnitFamily() const { return family_; }
  void SetUnitFamily(uint32_t family);
  const CAxisLayout& GetLayout() const { return layout_; }
  void SetLayout(const CAxisLayout& layout) { layout_ = layout; }

  int GetAxisEntryCount() const { return layout_.GetAxisEntryCount(); }
  uint32_t GetAxisEntry(int index) const { return layout_.GetAxisEntry(index); }
  int GetTotalAxisCount() const { return layout_.GetTotalAxisCount(); }
  int GetUsedAxisNumber(int n) const { return layout_.GetUsedAxisNumber(n); }
  bool IsAxisUsed(int axisIndex) const { return layout_.IsAxisUsed(axisIndex); }
  int NextLayoutItem(int& cursor) const { return layout_.NextLayoutItem(cursor); }
  GroupEntryInfo FindGroupEntry(int groupIndex) const { return layout_.FindGroupEntry(groupIndex); }
  int GetGroupAxis(int groupIndex, int member) const { return layout_.GetGroupAxis(groupIndex, member); }
  int GetEntryAxisCount(uint16_t axisBit) const { return layout_.GetEntryAxisCount(axisBit); }
  AxisMaskSet BuildAxisMaskSet() const { return layout_.BuildAxisMaskSet(); }
  std::string GetAxisLabel(int axisIndex) const { return layout_.GetAxisLabel(axisIndex); }

  // --- Parameters ---
  // The block with its family set from the document.
  CParamBlock& GetParamBlock();
  const CParamBlock& GetParamBlock() const { return params_; }

  // --- Positioning tables ---
  // The row of table No. k+1, or nullptr.
  CPosData* GetPosData(int k);
  const CPosData* GetPosData(int k) const;
  int GetRowCount() const { return static_cast<int>(rows_.size()); }
  // The row list as files and transfers replace it.
  std::vector<std::unique_ptr<CPosData>>& Rows() { return rows_; }
  // Empties the list and appends 600 rows at their defaults; a row that
  // cannot be allocated is left out.
  void CreateDefaultRows();
  std::string BuildRowText(uint32_t entry, int k) const;
  bool ParseRowText(uint32_t entry, int k, std::string_view text);

  // --- File properties ---
  std::string GetCreator() const;
  std::string GetComment() const;
  // False, with nothing changed, when the text takes more than 10 (creator)
  // or 40 (comment) bytes in code page 932.
  bool SetCreator(std::string_view utf8);
  bool SetComment(std::string_view utf8);
  // The raw fields as the setting file holds them.
  const std::array<uint8_t, kCreatorFieldBytes>& GetCreatorField() const { return creator_; }
  const std::array<uint8_t, kCommentFieldBytes>& GetCommentField() const { return comment_; }
  // The creator field always keeps its last byte NUL.
  void SetCreatorField(const uint8_t* bytes, size_t size);
  void SetCommentField(const uint8_t* bytes, size_t size);
  // OK of the file property dialog: marks the document modified when either
  // text differs, then stores both. False, nothing changed, if one is too long.
  bool ApplyFileProperties(std::string_view creator, std::string_view comment);
  // What the property dialog shows as the file name: the path, else the title.
  std::string GetPropertyFileName() const;

  // --- Other members ---
  uint32_t GetReservedWord() const { return reserved_; }
  void SetReservedWord(uint32_t v) { reserved_ = v; }
  uint8_t GetFlagByte() const { return flag_; }
  void SetFlagByte(uint8_t v) { flag_ = v; }
  uint32_t GetLoadError() const { return loadError_; }
  void SetLoadError(uint32_t id) { loadError_ = id; }
  CDocLinkObject* GetLinkObject() const { return link_.get(); }
  void SetLinkObject(std::unique_ptr<CDocLinkObject> link) { link_ = std::move(link); }
  std::vector<uint16_t>& ExtraData() { return extraData_; }
  const std::vector<uint16_t>& ExtraData() const { return extraData_; }
  const DownloadSelection& GetDownloadSelection() const { return download_; }
  void SetDownloadSelection(const DownloadSelection& s) { download_ = s; }
  const SyncGroups& GetSyncGroups() const { return sync_; }
  SyncGroups& GetSyncGroups() { return sync_; }
  void SetSyncGroups(const SyncGroups& groups) { sync_ = groups; }

  // --- The stored fields as a whole (for undoing whole-document changes) ---
  const CAxisCfgDocFields& GetStoredFields() const { return *this; }
  // Puts every stored field back except the download dialog's last choice,
  // which is the dialog's memory rather than content of the document.
  void SetStoredFields(const CAxisCfgDocFields& fields);

  // --- Document operations ---
  // New-document values of every member; the row list is emptied.
  void ResetDocument();
  // Where the new-document step and the change of axes get the axis
  // settings sequence, and whether a new document asks for its axes.
  void SetAxisSettingsSequence(IAxisSettingsSequence* sequence) { axisSettings_ = sequence; }
  void SetAskAxesForNewFile(bool ask) { askAxesForNew_ = ask; }
  // Resets everything, asks for the axes when the option is on and creates
  // the 600 rows. A cancelled axis dialog leaves the document as it was and
  // returns false.
  bool OnNewDocument() override;
  // Menu "Change axis".
  ChangeAxesResult ChangeAxes();

 private:
  struct Snapshot;
  void TakeSnapshot(Snapshot& s);
  void RestoreSnapshot(Snapshot& s);

  CAxisCfgDocFields& Fields() { return *this; }

  // The positioning table rows (the stored fields are inherited).
  std::vector<std::unique_ptr<CPosData>> rows_;
  std::unique_ptr<CDocLinkObject> link_;

  IAxisSettingsSequence* axisSettings_ = nullptr;
  bool askAxesForNew_ = false;
};

}  // namespace axcfg
