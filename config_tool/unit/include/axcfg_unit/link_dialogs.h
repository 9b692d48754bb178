#pragma once
// The settings dialogs of the unit link: communication settings and station
// number. Only a program with windows has them; a link without them answers
// both as cancelled.
#include <cstdint>
#include <string>

namespace axcfg {

class ILinkDialogs {
 public:
  virtual ~ILinkDialogs() = default;
  // Dialog results: 1 accepted, 2 cancelled.
  virtual int CommunicationSettings(uint8_t* context, const std::string& applicationName, void* owner,
                                    uint16_t& destinationNo, std::string& destinationName) = 0;
  virtual int SpecifyStation(uint8_t* context, void* owner, const std::string& applicationName,
                             uint16_t& destinationNo, std::string& destinationName) = 0;
};

// The settings dialogs of this installation (library keld_axcfg_unit_dialogs).
ILinkDialogs& TavLinkDialogs();

}  // namespace axcfg
