#pragma once
// The rules of the synchronous groups as the group dialog applies them on
// OK, callable without the dialog (the data check runs them on the
// document's data). Nothing here changes a document.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "axcfg_data/sync_group.h"

namespace axcfg {

class CAxisCfgDoc;

// What the group dialog works on.
struct SyncGroupCheckData {
  uint16_t usedAxes = 0;                  // bit n = axis n+1
  std::array<uint8_t, 4> groupMasks{};    // interpolation groups A..D
  SyncGroups groups{};
  std::array<uint16_t, 8> homeCodes{};    // stored home return setting codes
  std::array<uint16_t, 8> pulserCodes{};  // pulser operation setting codes
};

// The dialog's data filled from the document.
SyncGroupCheckData SyncCheckDataOf(const CAxisCfgDoc& doc);

// The axis a mask stands for in the dialog: its lowest bit; axis index 0
// when the mask has no bit of axes 1..8.
int SyncAxisOfMask(uint16_t mask);

struct SyncCheckFailure {
  unsigned id = 0;  // 0 = the groups are valid
  int group = 0;    // 1 or 2 for the messages that name a group
  // The message as the dialog shows it.
  std::string Text() const;
};

// The checks of the dialog's OK in their order: axes used (21512), master
// and slave differ (21513), no axis shared by the two groups (21514), no
// slave inside an interpolation group (21515), difference value 1..32767
// (21511). Groups that are off are not checked.
SyncCheckFailure CheckSyncGroups(const SyncGroupCheckData& data);

// Mode B needs a master home return method that the unit can follow: the
// codes 0 and 2 become 1, 3 becomes 4, 5 becomes 8 and 7 becomes 6.
struct HomeReturnCorrection {
  int group = 0;  // 1 or 2
  int axis = 0;   // axis index of the master
  uint16_t from = 0;
  uint16_t to = 0;
};
std::vector<HomeReturnCorrection> PlanHomeReturnCorrections(const SyncGroupCheckData& data);
// The message listing the corrections (empty when there are none).
// Each code is named with the choice text of the document's family.
std::string HomeReturnCorrectionText(const std::vector<HomeReturnCorrection>& corrections, uint32_t family = 0);
// The text of a stored home return setting code in a family ("5:Phase Z
// method" in family 0, "5:Home metod" in family 1).
std::string HomeCodeText(uint16_t code, uint32_t family = 0);

}  // namespace axcfg
