#include "axcfg_unit/fixed_destination_library.h"

#include <cstring>

namespace axcfg {

int CFixedDestinationLibrary::ReadSection(uint8_t* context, const std::string& /*section*/) {
  std::memcpy(context, destination_.data(), destination_.size());
  return 0;
}

}  // namespace axcfg
