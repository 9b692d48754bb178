#pragma once
// Marks the classes and functions that AxView exports to the programs that
// link it. Everything else in the library stays internal.
#if defined(AXVIEW_BUILDING)
#define AXVIEW_API __attribute__((visibility("default")))
#else
#define AXVIEW_API
#endif
