#pragma once
// The axis settings sequence without widgets: the used-axis choice, the
// arrangement of the used axes into interpolation groups with the two
// synchronous groups, and the sequence that runs both dialogs in turn. The
// dialogs (or the command line) only show and edit what these classes hold.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/axis_layout.h"
#include "axcfg_data/sync_group.h"
#include "axcfg_data/sync_group_check.h"

namespace axcfg {

// A message a dialog shows on OK: the text and whether the dialog stays open.
struct DialogOkResult {
  bool accepted = false;  // false: the dialog stays open
  unsigned id = 0;        // id of the refusal or of the first message text, 0 for none
  std::string message;    // shown before closing (accepted) or as the refusal
};

// State of the used-axis dialog.
class CUsedAxisChoice {
 public:
  static constexpr int kChooseUsedAxes = 0;
  static constexpr int kChooseAxesToInitialise = 1;

  // Mode 0: the axes of `mask` ticked, the document's family, entries and
  // synchronous groups.
  CUsedAxisChoice(uint16_t mask, uint32_t family, const CAxisLayout& entries, const SyncGroups& sync);
  // Mode 1: only the axes of `enabled` can be ticked; `ticked` starts ticked.
  static CUsedAxisChoice ForInitialise(uint16_t enabled, uint16_t ticked);

  int Mode() const { return mode_; }
  uint32_t Family() const { return family_; }
  // Switching the family (mode 0 only) enables or disables boxes 5-8.
  void SetFamily(uint32_t family);
  bool IsBoxEnabled(int axisIndex) const;
  bool IsTicked(int axisIndex) const { return (ticks_ >> axisIndex) & 1u; }
  void SetTicked(int axisIndex, bool ticked);

  // The OK button: refusal 10101 / 10103, or accepted with the 10104 text
  // when axes 5-8 are dropped for family 1.
  DialogOkResult Ok();

  // After an accepted OK: the chosen axes and the records, reset where a
  // dropped axis was master or slave.
  uint16_t Mask() const { return mask_; }
  const SyncGroups& Sync() const { return sync_; }
  uint16_t StartMask() const { return startMask_; }
  uint32_t StartFamily() const { return startFamily_; }

 private:
  CUsedAxisChoice() = default;
  uint16_t EnabledMask() const;

  int mode_ = kChooseUsedAxes;
  uint16_t ticks_ = 0;
  uint16_t mask_ = 0;
  uint16_t enabledMode1_ = 0;
  uint32_t family_ = 0;
  uint32_t startFamily_ = 0;
  uint16_t startMask_ = 0;
  CAxisLayout entries_;
  SyncGroups sync_{};
};

// Where an axis label is dropped in the group dialog.
inline constexpr int kDropIndependent = -1;  // the independent area
inline constexpr int kDropNowhere = -2;      // outside all areas
// 0..3 are the group boxes A..D.

// One block of synchronous group controls as the user left it. Fields that
// were never touched keep the stored value unless the group is on.
struct SyncBlockEdit {
  std::optional<bool> on;
  std::optional<uint16_t> mode;
  std::optional<int> master;  // axis index 0..7
  std::optional<int> slave;
  std::optional<std::string> differenceText;
  std::optional<uint16_t> behavior;
};

// Parses the difference value text: digits only, the whole text, 0..65535.
std::optional<uint16_t> ParseDifferenceText(const std::string& text);

// State of the group dialog.
class CGroupArrangement {
 public:
  // Axes of `used` that sit in an interpolation group of `layout` stay
  // there; the rest are independent. Damaged layouts are read leniently: an
  // axis belongs to the first entry holding it, group numbers outside 1..4
  // and one-axis entries give independent axes, a group keeps three axes.
  CGroupArrangement(uint16_t used, const CAxisLayout& layout, const SyncGroups& sync,
                    const std::array<uint16_t, kAxisCount>& homeCodes,
                    const std::array<uint16_t, kAxisCount>& pulserCodes, uint32_t family);
  // Filled from a document: its home return and pulser operation codes.
  static CGroupArrangement FromDocument(const CAxisCfgDoc& doc, uint16_t used, const CAxisLayout& layout,
                                        const SyncGroups& sync);

  uint16_t UsedMask() const { return used_; }
  const std::vector<int>& Members(int group) const { return groups_[group]; }
  std::vector<int> Independent() const;
  // Group index 0..3 of an axis, kDropIndependent when independent, kDropNowhere when unused.
  int GroupOf(int axisIndex) const;

  // Whether dropping the axis on the target changes anything.
  bool CanMove(int axisIndex, int target) const;
  // Applies a drop; false when nothing changed.
  bool Move(int axisIndex, int target);
  // All axes independent, groups empty, both records reset.
  void Initialize();

  // The records as the controls show them, and as they were at the start.
  const SyncGroups& Working() const { return working_; }
  const SyncGroups& Untouched() const { return untouched_; }
  // The user changed controls of block g (0 or 1).
  void Edit(int g, const SyncBlockEdit& edit);
  const SyncBlockEdit& Edits(int g) const { return edits_[g]; }

  // OK: the checks in order (21512, 21513, 21514, 21515, 21511), then the
  // Mode B home return correction with its 21518/21519 text. On acceptance
  // the records and the corrected codes are stored in this object.
  DialogOkResult Ok();

  // Groups A..D that hold axes, then the independent axes, ascending.
  CAxisLayout Layout() const;
  const SyncGroups& Sync() const { return working_; }
  const std::array<uint16_t, kAxisCount>& HomeCodes() const { return homeCodes_; }
  const std::array<uint16_t, kAxisCount>& PulserCodes() const { return pulserCodes_; }
  uint32_t Family() const { return family_; }

 private:
  void Remove(int axisIndex);
  // The records OK would store and whether each typed difference parsed.
  SyncGroups RecordsToStore(std::array<bool, 2>& differenceValid) const;

  uint16_t used_ = 0;
  std::array<std::vector<int>, kGroupCount> groups_;
  SyncGroups working_{};
  SyncGroups untouched_{};
  std::array<SyncBlockEdit, 2> edits_{};
  std::array<uint16_t, kAxisCount> homeCodes_{};
  std::array<uint16_t, kAxisCount> pulserCodes_{};
  uint32_t family_ = 0;
};

// The two dialogs as the sequence sees them. Each returns true for OK; a
// dialog calls its state's Ok itself and shows the messages it returns.
class IAxisDialogs {
 public:
  virtual ~IAxisDialogs() = default;
  virtual bool RunUsedAxis(CUsedAxisChoice& choice) = 0;
  virtual bool RunGroups(CGroupArrangement& arrangement) = 0;
  // Message 21521 with the information icon.
  virtual void ShowInformation(const std::string& text) = 0;
};

// Used-axis dialog, group dialog (Cancel goes back to the used-axis dialog
// with its last state), then the layout, records and corrected home return
// codes into the document and the 21521 check of the used axes. Returns
// the entry count, 0 when cancelled. The family reaches the document at the
// used-axis OK; the caller restores it on cancel.
int RunAxisSettingsSequence(CAxisCfgDoc& doc, CAxisLayout& layout, IAxisDialogs& dialogs);

// 21521 applies: family 1 with home return code 6 or 7, or family 0 with
// pulser operation code 3, on one of the axes of `used`.
bool HasDroppedParameter(const CAxisCfgDoc& doc, uint16_t used);

// The sequence over a set of dialogs, to install on a document.
class CAxisSettingsSequenceCore : public IAxisSettingsSequence {
 public:
  explicit CAxisSettingsSequenceCore(IAxisDialogs& dialogs) : dialogs_(dialogs) {}
  int Run(CAxisCfgDoc& doc, bool, CAxisLayout& layout) override {
    return RunAxisSettingsSequence(doc, layout, dialogs_);
  }

 private:
  IAxisDialogs& dialogs_;
};

}  // namespace axcfg
