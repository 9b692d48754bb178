#pragma once
/* The table of Ethernet links that the library keeps per Ethernet port
 * (server ports 5..68) in the shared segment, and the route information of
 * the library settings.
 *
 * The connection server registers the link of each client it serves, updates
 * its state when the link comes up, and removes it when the client goes; the
 * log viewer reads a client's link to show its settings. A link is named by
 * the server port and the client handle.
 *
 * Link record (TAV_LINK_RECORD_SIZE bytes, little-endian; ports unsigned):
 *
 *   0   int16     channel kind (5, 8 or 9)
 *   2   int16     client handle
 *   4   int16     transport port (the Ethernet port 1..64 of the configuration)
 *   6   char[40]  source address (dotted decimal; the bound address)
 *   46  uint16    source TCP port
 *   48  int16     source station
 *   50  char[40]  destination address or host name
 *   90  uint16    destination TCP port
 *   92  int16     destination station
 *   94  int16     1: frames carry the route header
 *   96  int32     time-out, seconds
 *   100 int32     connect limit, seconds (0: 180)
 */
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

enum {
  TAV_LINK_RECORD_SIZE = 104,
  TAV_LINKS_PER_PORT = 512,
  TAV_LINK_ADDRESS_SIZE = 40,
  TAV_ROUTE_TEXT_SIZE = 128,
  TAV_MAX_ROUTE = 255
};

/* Link states. */
enum {
  TAV_LINK_NONE = 0,
  TAV_LINK_LISTENING = 1,
  TAV_LINK_CONNECTED = 2,
  TAV_LINK_OPENED_BY_PLC = 9
};

typedef struct TavEthernetLinkState {
  int32_t state;      /* TAV_LINK_... */
  int32_t status;     /* 10001 once the PLC's connection was accepted, -10042 when an accept failed, else 0 */
  int32_t peerPort;   /* the PLC's TCP port of an accepted connection */
  char peerAddress[TAV_LINK_ADDRESS_SIZE]; /* its address text, NUL-terminated */
} TavEthernetLinkState;

/* [193] Server start of an Ethernet port (5..68): links left in the table by
 * an earlier server copy of the port are dropped, and the port takes links. */
int TavAnnounceEthernetPort(int port);
/* [195] Registers the link of the record's client on the port: 1 for a new
 * link, 0 when the client's link was there and is updated (its state is
 * kept), TAV_E_TABLE_FULL when the port holds TAV_LINKS_PER_PORT links,
 * TAV_E_NOT_OPEN when the port was not announced. */
int TavRegisterEthernetLink(int port, const unsigned char* record);
/* [196] Removes the client's link; TAV_E_NOT_OPEN when it has none. */
int TavRemoveEthernetLink(int port, int handle);
/* [197] Sets the link's state, status and peer (peerAddress may be null). */
int TavSetEthernetLinkState(int port, int handle, int state, int status, const char* peerAddress, int peerPort);
/* [200] Server: the client's link record (TAV_LINK_RECORD_SIZE bytes) and
 * state; either may be null. TAV_E_NOT_OPEN when the client has no link. */
int TavReadEthernetLink(int port, int handle, unsigned char* record, TavEthernetLinkState* state);
/* [220] The number of links of the port. */
int TavEthernetLinkCount(int port);
/* [203] Viewer: the link of a client handle on whichever port serves it,
 * with its port number in *port (may be null). */
int TavGetClientEthernetLink(int handle, int* port, unsigned char* record, TavEthernetLinkState* state);

/* [267] The route text of a route index 1..255 from the library settings
 * ([ROUTES] ROUTE<index> = "net.st,net.st,...;unit.st"): 1 with the text, 0
 * when the index has no route (the text is then empty). Index 0 is the direct
 * link and never has a route. */
int TavGetRoute(int index, char* text, int size);

#ifdef __cplusplus
}
#endif
