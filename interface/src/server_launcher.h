#pragma once
// Starting a connection server copy for a port that has none: the program
// KELD_TAVMGR with the command line "-<port> -<language>", detached.
namespace tavinter {

// 0 when the program was started, TAV_E_SERVER_START when there is none or it
// could not be started.
int StartServer(int port, int language);

}  // namespace tavinter
