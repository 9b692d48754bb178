#pragma once
namespace tavinter {
// Lets the simulated PLC store its state when the simulation channel closes
// (nothing when the simulation was never loaded). The simulated unit lives on
// with the server: its servo, tool operation mode and motion stay as they are
// between clients, as a real unit's do, and its keep-alive supervision decides
// when an axis left moving stops.
void SaveSimulation();
}  // namespace tavinter
