#pragma once
// Client handles: 16-bit numbers issued by the library, unique among all
// processes of the user, kept in the shared segment's client table with the
// process that holds them. Slots of processes that died are taken back.
#include <string>

namespace tavinter {

// A new handle for this process (>0), or TAV_E_NO_HANDLE / TAV_E_SEGMENT.
int AllocateClientHandle(const std::string& name);
// Frees a handle held by this process (or by a process that is gone).
void FreeClientHandle(int handle);
// True when the handle's slot belongs to this process.
bool OwnsClientHandle(int handle);
// Records the port once the server confirmed the open.
void SetClientPort(int handle, int port, bool open);
void SetClientName(int handle, const std::string& name);
// True when a modem owner took the client's port over.
bool ClientForcedOff(int handle);

}  // namespace tavinter
