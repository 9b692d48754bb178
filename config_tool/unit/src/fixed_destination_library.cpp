#include "axcfg_unit/fixed_destination_library.h"

#include <cstring>

namespace axcfg {

int CFixedDestinationLibrary::ReadSection(uint8_t* context, const std::string& /*section*/) {
  std::memcpy(context, destination_.data(), destination_.size());
  return 0;
}

int CFixedDestinationLibrary::Open(void* owner, uint8_t* context) {
  int rc = real_.Open(owner, context);
  if (rc != 0 || !afterOpen_) return rc;
  if ((rc = afterOpen_(context)) != 0) real_.Close(context);
  return rc;
}

}  // namespace axcfg
