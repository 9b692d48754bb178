#pragma once
/* Cancelling a dial in progress. The dialling client's request waits in the
 * server while the modem dials; another thread of the client (a Cancel
 * button, a SIGINT watcher) sets a flag in the shared segment that the server
 * reads after every read of the modem, about once a second. */

#ifdef __cplusplus
extern "C" {
#endif

/* Client: cancels the dial of the client handle on the port (the server's
 * port number or the COM number of the modem line). */
int TavCancelDial(int port, int handle);

/* Server: 1 once the client asked to cancel its dial (the request is then
 * taken back), else 0. */
int TavDialCancelRequested(int port, int handle);

#ifdef __cplusplus
}
#endif
