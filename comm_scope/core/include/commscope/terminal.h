#pragma once
// The terminal program "TAVTERM.EXE", taken only from the viewer's own folder
// (never the current directory, which may be anyone's), started detached
// with "-<port number>" and not waited for.
#include <string>

namespace commscope {

// The program file in the given folder.
std::string TerminalProgram(const std::string& programDir);
// 0 when started; kIdNoTerminal when the file is missing or not executable;
// kIdNoTerminal too when it cannot be started.
unsigned StartTerminal(const std::string& programDir, int port);

}  // namespace commscope
