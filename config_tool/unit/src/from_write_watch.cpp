#include "axcfg_unit/from_write_watch.h"

#include "axcfg_unit/unit_addresses.h"
#include "axcfg_unit/unit_link.h"

namespace axcfg {

int CFromWriteWatch::Check() {
  uint16_t word = 0;
  if (int rc = link_.Read(unitaddr::kHandshake, 1, &word, kReportNone)) {
    link_.ReportError(rc, kReportMessageBox);
    return kFromWriteCommError;
  }
  switch (word) {
    case 0:
      return kFromWriteFinished;
    case unitaddr::kFromFailed: {
      const uint16_t zero = 0;
      link_.Write(unitaddr::kHandshake, 1, &zero, kReportNone);
      return kFromWriteFailed;
    }
    case unitaddr::kFromWriting:
      return kFromStillWriting;
    default:
      return kFromWriteUnexpected;
  }
}

int CFromWriteWatch::Tick() {
  if (++ticks_ > kMaxTicks) return kFromWriteFailed;
  return Check();
}

}  // namespace axcfg
