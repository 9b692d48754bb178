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

/* Every code of this library with its name: the enum and the list its texts
 * are checked against come from this one table. */
#define TAV_LIBRARY_ERROR_CODES(X)                                                              \
  X(TAV_E_BAD_RECORD, -10500)      /* connection record missing or its channel unusable */     \
  X(TAV_E_NOT_OPEN, -10501)        /* the record has no open connection */                     \
  X(TAV_E_SERVER_START, -10502)    /* the connection server could not be started */            \
  X(TAV_E_SERVER_ABSENT, -10503)   /* the server did not publish itself in time */             \
  X(TAV_E_REPLY_TIMEOUT, -10504)   /* the server did not answer in time */                     \
  X(TAV_E_SERVER_LOST, -10505)     /* the server closed the connection without a reply */      \
  X(TAV_E_BAD_REPLY, -10506)       /* short, over-long or malformed reply */                   \
  X(TAV_E_PEER_USER, -10507)       /* the peer belongs to another user */                      \
  X(TAV_E_BAD_ARGUMENT, -10508)    /* station, slot, address, count or buffer out of range */  \
  X(TAV_E_BAD_ANSWER, -10509)      /* the PLC's answer does not fit the command */             \
  X(TAV_E_NO_HANDLE, -10510)       /* every client handle is in use */                         \
  X(TAV_E_SEGMENT, -10511)         /* the shared status segment is unavailable */              \
  X(TAV_E_SETTINGS, -10512)        /* the settings could not be read or written */             \
  X(TAV_E_NO_SIMULATION, -10513)   /* the PLC simulation is not installed */                   \
  X(TAV_E_BUFFER_SMALL, -10514)    /* the answer does not fit the caller's buffer */           \
  X(TAV_E_NOT_SUPPORTED, -10515)   /* the operation is not available in this build */          \
  X(TAV_E_TRANSPORT, -10516)       /* the local request socket failed */                       \
  X(TAV_E_FORCED_OFF, -10517)      /* the modem line was taken over by its owner */            \
  X(TAV_E_PORT_BUSY, -10518)       /* another live server copy holds the port */               \
  X(TAV_E_RUNTIME_DIR, -10519)     /* the runtime folder is a link, foreign or open to others */ \
  X(TAV_E_TABLE_FULL, -10520)      /* the port's table of Ethernet links is full */

#define TAV_AS_ENUM(name, value) name = value,
#define TAV_AS_VALUE(name, value) value,

enum TavResultCode {
  TAV_OK = 0,
  TAV_SERVER_SUCCESS = 10000, /* what a working server returns for success */

  /* Library codes. */
  TAV_LIBRARY_ERROR_CODES(TAV_AS_ENUM)

  /* A unit memory command answered with "!nn" gives TAV_E_PLC_ANSWER_BASE - nn. */
  TAV_E_PLC_ANSWER_BASE = -11000
};

static const int kTavLibraryErrorCodes[] = {TAV_LIBRARY_ERROR_CODES(TAV_AS_VALUE)};


#ifdef __cplusplus
}
#endif
