#pragma once
// In-process entry point of the simulated PLC, called by the simulation
// channel of the interface library (C++ callers).

extern "C" int PlcSimExchange(int station, const char* frame, int frameLength,
                              char* answer, int answerCapacity, int* answerLength);
// 0: an answer was given (answer/answerLength set); non-zero: no answer (another station,
// broadcast, dropped by fault injection, or capacity too small). The first call creates the
// process's simulated PLC (configured from environment variables KELD_SIM_MODEL, KELD_SIM_STATION,
// KELD_SIM_SLOT, KELD_SIM_AXES if set, else defaults), loading its memory from the data folder;
// it advances in real time between calls; its memory is saved at process exit.
extern "C" void PlcSimShutdown(void);  // saves and frees the process's simulated PLC
// Saves the memory of the process's simulated PLC (if it exists) and leaves it
// running: servo, tool operation mode and motion go on as on a real unit.
extern "C" void PlcSimSave(void);
