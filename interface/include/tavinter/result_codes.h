#pragma once
/* Result codes of the communication interface library.
 *
 * 0 is success for every library call. The connection server answers a
 * request with 10000 for success and a negative code otherwise; the library
 * turns 10000 into 0 for its callers and passes every other code on.
 *
 *   -10000 .. -10099, -10900   codes of the connection server and its transports
 *   -10500 .. -10599           codes of this library (client side, segment, settings)
 *   -11000 - nn                the PLC answered a unit memory command with "!nn"
 */

#ifdef __cplusplus
extern "C" {
#endif

enum TavResultCode {
  TAV_OK = 0,
  TAV_SERVER_SUCCESS = 10000, /* what a working server returns for success */

  /* Library codes. */
  TAV_E_BAD_RECORD = -10500,      /* connection record missing or its channel unusable */
  TAV_E_NOT_OPEN = -10501,        /* the record has no open connection */
  TAV_E_SERVER_START = -10502,    /* the connection server could not be started */
  TAV_E_SERVER_ABSENT = -10503,   /* the server did not publish itself in time */
  TAV_E_REPLY_TIMEOUT = -10504,   /* the server did not answer in time */
  TAV_E_SERVER_LOST = -10505,     /* the server closed the connection without a reply */
  TAV_E_BAD_REPLY = -10506,       /* short, over-long or malformed reply */
  TAV_E_PEER_USER = -10507,       /* the peer belongs to another user */
  TAV_E_BAD_ARGUMENT = -10508,    /* station, slot, address, count or buffer out of range */
  TAV_E_BAD_ANSWER = -10509,      /* the PLC's answer does not fit the command */
  TAV_E_NO_HANDLE = -10510,       /* every client handle is in use */
  TAV_E_SEGMENT = -10511,         /* the shared status segment is unavailable */
  TAV_E_SETTINGS = -10512,        /* the settings could not be read or written */
  TAV_E_NO_SIMULATION = -10513,   /* the PLC simulation is not installed */
  TAV_E_BUFFER_SMALL = -10514,    /* the answer does not fit the caller's buffer */
  TAV_E_NOT_SUPPORTED = -10515,   /* the operation is not available in this build */
  TAV_E_TRANSPORT = -10516,       /* the local request socket failed */
  TAV_E_FORCED_OFF = -10517,      /* the modem line was taken over by its owner */
  TAV_E_PORT_BUSY = -10518,       /* another live server copy holds the port */

  /* A unit memory command answered with "!nn" gives TAV_E_PLC_ANSWER_BASE - nn. */
  TAV_E_PLC_ANSWER_BASE = -11000
};

#ifdef __cplusplus
}
#endif
