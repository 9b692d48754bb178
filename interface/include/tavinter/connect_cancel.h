#pragma once
/* The wait of an Ethernet connect, seen from the client. While a client's
 * open or request waits in the server for a connection to the PLC, the
 * server publishes the wait in the client's slot of the shared segment (the
 * address, since when, and how long before a window should show it). The
 * client's program shows its connecting window from that and may cancel:
 * the server reads the cancel flag between connect tries, every 100 ms. */

#ifdef __cplusplus
extern "C" {
#endif

#define TAV_CONNECT_ADDRESS_SIZE 84

typedef struct TavConnectWait {
  int port;          /* the server's port */
  int handle;        /* the waiting client */
  int dispTimeSec;   /* seconds of waiting before the connecting window shows */
  long long startMs; /* when the connect began, on the TavSteadyMs clock */
  char address[TAV_CONNECT_ADDRESS_SIZE]; /* "host:port" of the destination */
} TavConnectWait;

/* Milliseconds of the system's steady clock, the same in every process. */
long long TavSteadyMs(void);

/* Client: cancels the connect the client handle waits on at the port. */
int TavCancelConnect(int port, int handle);

/* Client: 1 with *wait filled while a client of this process waits on a
 * connect (handle 0: any of them, else only that one), else 0. */
int TavGetConnectWait(int handle, TavConnectWait* wait);

/* Server: the client's connect has waited elapsedMs so far and goes on
 * waiting; clears a cancel left from an earlier wait. */
int TavConnectWaitStarted(int port, int handle, const char* address, int elapsedMs, int dispTimeSec);
/* Server: 1 once the client asked to cancel its connect, else 0. */
int TavConnectCancelRequested(int port, int handle);
/* Server: the connect ended (connected, failed or cancelled). */
int TavConnectWaitEnded(int port, int handle);

#ifdef __cplusplus
}
#endif
