#pragma once
// Cancelling a request that waits in the server (a dial, a connect): the
// client raises a flag in its slot of the shared segment, and the server,
// which reads it between the steps of its wait, takes it down again when it
// gives the request up. Each kind of wait has a flag of its own.
#include <cstdint>

#include "shared_segment.h"

namespace tavinter {

using CancelFlag = int32_t SegClient::*;

// Client: raises the flag of the client handle; TAV_E_BAD_ARGUMENT when the
// client is not attached to the port (portMatches(client's port) is false).
template <typename PortMatches>
int RaiseCancel(int handle, CancelFlag flag, PortMatches portMatches);
// Server: 1 when the flag of the client on the port is up (it is taken down), else 0.
int TakeCancel(int port, int handle, CancelFlag flag);
// Takes the flag down (a cancel left from an earlier wait must not end the next one).
void ClearCancel(int handle, CancelFlag flag);

}  // namespace tavinter

#include "segment_access.h"

namespace tavinter {

template <typename PortMatches>
int RaiseCancel(int handle, CancelFlag flag, PortMatches portMatches) {
  return WithClient(handle, [&](Segment&, SegClient& c) -> int {
    if (!portMatches(c.port)) return TAV_E_BAD_ARGUMENT;
    c.*flag = 1;
    return 0;
  });
}

}  // namespace tavinter
