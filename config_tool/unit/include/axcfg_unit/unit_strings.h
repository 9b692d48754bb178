#pragma once
#include <string>
// Ids of the unit link's texts in the configuration tool's string table.
namespace axcfg {
enum UnitStringId : unsigned {
  kStrRequestFirst = 9000,  // request texts 9000..9014 (9009 unused)
  kStrToolErrorFirst = 9020,  // error texts of codes 1..5 at 9021..9025
  kStrToolErrorUndefined = 9026,
  kStrCommunicationSystemError = 9030,
  kStrFromNotAcknowledged = 9031,
  kStrSlotNo = 9032,
};
// Registers the unit link's English texts with the tool's table (repeatable).
void RegisterUnitStrings();
// A text of the tool's table in force.
std::string UnitText(unsigned id);
}  // namespace axcfg
