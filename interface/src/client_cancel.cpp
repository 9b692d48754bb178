#include "client_cancel.h"

namespace tavinter {

int TakeCancel(int port, int handle, CancelFlag flag) {
  return WithClient(handle, [&](Segment&, SegClient& c) -> int {
    if (c.port != port || !(c.*flag)) return 0;
    c.*flag = 0;
    return 1;
  }) == 1;
}

void ClearCancel(int handle, CancelFlag flag) {
  WithClient(handle, [&](Segment&, SegClient& c) { return c.*flag = 0; });
}

}  // namespace tavinter
