#include "axcfg_data/sync_group.h"

#include "axcfg_data/le_bytes.h"

namespace axcfg {

void CSyncGroupRecord::ToBytes(uint8_t* out) const {
  PutLe32(out + 0, operation);
  PutLe16(out + 4, mode);
  PutLe16(out + 6, masterMask);
  PutLe16(out + 8, slaveMask);
  PutLe16(out + 10, difference);
  PutLe16(out + 12, differenceBehavior);
}

void CSyncGroupRecord::FromBytes(const uint8_t* in) {
  operation = GetLe32(in + 0);
  mode = GetLe16(in + 4);
  masterMask = GetLe16(in + 6);
  slaveMask = GetLe16(in + 8);
  difference = GetLe16(in + 10);
  differenceBehavior = GetLe16(in + 12);
}

}  // namespace axcfg
