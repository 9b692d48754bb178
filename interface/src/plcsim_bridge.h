#pragma once
namespace tavinter {
// Lets the simulated PLC store its state when the simulation channel closes
// (nothing when the simulation was never loaded).
void ShutdownSimulation();
}  // namespace tavinter
