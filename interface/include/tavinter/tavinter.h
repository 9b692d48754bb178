#pragma once
/* KELD_TAVINTER: the communication interface library.
 *
 * Every program reaches a PLC through these calls. Client programs open a
 * connection from their 304-byte connection record (connection_record.h) and
 * send requests; the library hands each request to the connection server
 * (KELD_TAVMGR) of the record's port over a local socket and starts that
 * server when none answers. The server side publishes its endpoint, hands
 * back answers and log records, and keeps the status that the log viewer
 * reads from the shared segment.
 *
 * Results are 32-bit: 0 for success unless stated otherwise, error codes as
 * in result_codes.h. The number in brackets after each call is its ordinal
 * (ordinals.h lists them all). Texts are UTF-8.
 */
#include <stdint.h>

#include "tavinter/result_codes.h"

#ifdef __cplusplus
extern "C" {
#endif

enum {
  TAV_CONNECTION_RECORD_SIZE = 304,
  TAV_REQUEST_RECORD_SIZE = 9369,
  TAV_CHANNEL_CONFIG_SIZE = 200,
  TAV_PORT_COUNT = 326,
  TAV_CLIENT_SLOTS = 512,
  TAV_MAX_UNIT_WORDS = 0x100000, /* word addresses are five hexadecimal digits */
  TAV_MEMORY_UNIT = 0x0F,        /* memory kind of the unit memory calls: shared memory of a unit */
  TAV_REGISTRATION_SIZE = 1440,  /* 6 data + 6 contact registration frames of 120 bytes */
  TAV_RECORD_LINE_BYTES = 125,   /* one record line: at most 118 characters and a NUL */
  TAV_RECORD_LINE_CHARS = 118
};

/* ---- Connection use (client programs) ------------------------------------ */

/* [204] Stores the calling product's number in the record. */
int TavSetProductNo(unsigned char* record, int productNo);
/* [41] Initialises the record from a named section of the library settings:
 * the destination (channel) kept for that application, and the name. A
 * section never written gives the simulation channel. */
int TavReadSection(unsigned char* record, const char* section);
/* [42] Stores the record's destination under a named section. */
int TavWriteSection(const unsigned char* record, const char* section);
/* [153] Language of texts and of a started server: english 0 = Japanese, else English. */
int TavSetLanguage(unsigned char* record, int english);
/* [8] Opens the connection described by the record (owner is unused). Starts
 * the port's server when none answers. */
int TavOpen(void* owner, unsigned char* record);
/* [150] Sets the application name shown for this client. */
int TavSetApplicationName(unsigned char* record, const char* name);
/* [14] Closes the connection. */
int TavClose(unsigned char* record);
/* [188] Text of a code in the record's language; [70] in the language last set.
 * The text is cut to size - 1 bytes (on a character boundary) and NUL-terminated. */
int TavGetErrorTextOfRecord(const unsigned char* record, int code, char* text, int size);
int TavGetErrorText(int code, char* text, int size);

/* [321] / [322] Reads or writes 16-bit words of a unit's shared memory in
 * slot 0..28 of the PLC at station 0..99, through the open connection.
 * memoryKind must be TAV_MEMORY_UNIT. Long transfers go in frames of at most
 * 500 words in ascending address order and stop at the first failing frame. */
int TavReadUnitWords(unsigned char* record, int station, int memoryKind, int slot,
                     long wordAddress, long wordCount, uint16_t* words);
int TavWriteUnitWords(unsigned char* record, int station, int memoryKind, int slot,
                      long wordAddress, long wordCount, const uint16_t* words);

/* Sends one PLC command text ("%SS#..." without block check code) as request
 * 10 and gives back the answer from the "$" or "!" on. */
int TavSendCommand(unsigned char* record, int station, const char* command,
                   char* answer, int answerSize, int* answerLength);

/* Sends any request code with a 9,369-byte request record (null: an empty
 * one) through the open connection; the client handle is filled in. 0 with
 * the delivered answer in answer (answerLength bytes), or the error code. */
int TavRequest(unsigned char* record, int code, const unsigned char* requestRecord, unsigned char* answer,
               int answerSize, int* answerLength);

/* The server port number (1..326) of the record's channel, or TAV_E_BAD_RECORD. */
int TavPortNumberOfRecord(const unsigned char* record);

/* ---- Paths ---------------------------------------------------------------- */

/* [338] Full path of a settings (*.INI) or data file of the tool set. */
int TavGetFilePath(const char* fileName, char* path, int size);
/* [256] Folder of the language resources and help pages. */
int TavGetResourceFolder(char* path, int size);
/* [255] Common folder of the installation. */
int TavGetCommonFolder(char* path, int size);
/* Device path of COM port n: environment KELD_COM<n>, else the port map of the
 * library settings, else /dev/ttyS(n-1). */
int TavGetComDevicePath(int comNo, char* path, int size);

/* ---- Modem ---------------------------------------------------------------- */

/* [264] Number of COM ports with a modem configured (section TAVMODEM). */
int TavGetModemPortCount(void);
/* The COM numbers of those ports in the order listed (default 1..15): at
 * most capacity of them are stored; returns how many there are. */
int TavGetModemPorts(int* ports, int capacity);
/* [205] / [206] The stored channel record of a channel id (modem ports 501..515). */
int TavReadPortRecord(unsigned char* record, int channelId);
int TavWritePortRecord(const unsigned char* record, int channelId);
/* [128] Dials through the open modem connection (request 30). */
int TavDial(unsigned char* record, const char* dialText);
/* [151] 1 while the call of the named connection is still up, else 0. */
int TavLineInUse(int connected, const char* channelName);
/* [159] 0 while other applications still use the named connection's port, 1 when none. */
int TavOthersReleased(const char* channelName, const char* ownName);
/* [160] Non-zero once the other applications have released the port. */
int TavPollOthersReleased(const char* channelName, const char* ownName);
/* [179] Takes the port over: the other applications' requests fail from now on. */
int TavForceOthersOff(const char* channelName);
/* [129] Hangs up the call (request 31). */
int TavHangUp(void* owner, const char* channelName, unsigned char* record);
/* [161] Ends the hang-up: the port is free for everybody again. */
int TavHangUpDone(const char* channelName);

/* ---- Server side (KELD_TAVMGR) -------------------------------------------- */

enum { TAV_ROLE_SERVER = 0, TAV_ROLE_VIEWER = 1 };

/* [280] Server: claims the port's status entry. Viewer: watches the port. */
int TavAttachPort(int port, int role);
/* [281] Server: gives the port's entry up. Viewer: stops watching. */
int TavDetachPort(int port, int role);
/* [169] Empties the port's record ring. */
int TavResetPortRecords(int port);
/* [172] Server: makes sure the port has a record ring. Viewer: 0 when it has one. */
int TavAttachPortRecords(int port);
/* [4] The server is ready under its name ("KELDTAVINTER" + port). */
int TavServerReady(int port, const char* serverName);
/* [2] publish != 0: creates the port's request socket and returns its
 * listening descriptor (>= 0); publish == 0: withdraws it. */
int TavPublishEndpoint(int port, int publish);
/* [170] The channel is torn down: configuration, clients and call state go. */
int TavChannelTearDown(int port);
/* [194] The port is no longer in use. [123] Final release: the entry is free. */
int TavReleasePort(int port);
int TavReleasePortFinal(int port);
/* [21] 1 while the process that holds the client handle lives, else 0. */
int TavClientAlive(int handle, int reserved);
/* [284] Records a client of the port with its name. [285] Removes it. */
int TavAddClient(int port, int handle, const char* name);
int TavRemoveClient(int port, int handle);
/* [80] Server: gives the client a record ring. Viewer: 0 when it has one. */
int TavAttachClientRecords(int handle);
/* [202] An open failed: the client entry goes again. */
int TavOpenFailed(int port, int handle);
/* [138] An open succeeded. */
int TavOpenDone(int port, int handle);
/* [134] Marks the port's status as changed for the viewers. */
int TavTouchPortStatus(int port);
/* [135] The client handle is free again (client gone). */
int TavReleaseClient(int handle);
/* [286] The command of a request 16 (kept per client, readable by the viewer's log). */
int TavNoteCommand(int handle, int port, const char* command);
/* [5] Hands the answer bytes of the current request to the client. */
int TavDeliverAnswer(int handle, int length, const void* bytes);
/* [6] The first byte of the answer delivered so far (-1 when none). */
int TavAnswerFirstByte(int handle);
/* [263] Stores a log record in the port's and client's rings and, with a
 * file name, appends it to that file in the log folder. */
int TavLogRecord(int port, int handle, int subNumber, int direction, int length, const void* data,
                 const char* folder, const char* fileName);
/* [49] 1 with a command text when a command must precede the client's
 * requests (section PRECOMMAND of the settings, key "PORT<n>"), else 0. */
int TavGetPreCommand(int handle, char* command, int size);
/* [57] 1 and the 1,440 bytes last registered for the station, 0 when none.
 * [58] Keeps a new set (all zero forgets it). Kept in the server process. */
int TavGetMonitorRegistration(int port, int station, unsigned char* frames);
int TavSetMonitorRegistration(int port, int station, const unsigned char* frames);
/* [137] The channel configuration in force for the port, with the open value. */
int TavSetChannelConfig(int port, const unsigned char* config, int value);
/* [347] The PLC simulation: one complete frame in, one answer out. 0 when
 * answered; TAV_E_NO_SIMULATION when the simulation is not installed. */
int TavPlcSimExchange(int station, const char* frame, int frameLength, char* answer,
                      int answerCapacity, int* answerLength);
/* [48] / [72] A modem call is connected for a client, with its dial text.
 * [163] / [131] The call has ended; the port's forced state is cleared. */
int TavModemConnected(int port, int handle);
int TavModemDialText(int port, const char* dialText);
int TavModemDisconnected(int port);
int TavModemReleased(int port);

/* Request serving (no ordinals): accepts one request on the published
 * descriptor, waiting at most timeoutMs. Returns the connection descriptor
 * (>= 0) with the code and the 9,369-byte record, or an error code; a
 * request of another user, or a short or over-long one, is refused. */
int TavAcceptRequest(int listenFd, int* code, unsigned char* record, int timeoutMs);
/* Sends the result and the answer delivered for the handle, closes the connection. */
int TavReplyRequest(int connectionFd, int handle, int result);

/* ---- Log viewer ----------------------------------------------------------- */

typedef struct TavStatusSnapshot {
  uint8_t portInUse[TAV_PORT_COUNT];       /* index = port number - 1 */
  uint16_t portClients[TAV_PORT_COUNT];
  int16_t clientHandle[TAV_CLIENT_SLOTS];  /* 0 = free slot */
  int16_t clientPort[TAV_CLIENT_SLOTS];    /* 0 = none */
  char clientName[TAV_CLIENT_SLOTS][84];
} TavStatusSnapshot;

/* [82] Registers a viewer process. */
int TavRegisterViewer(void);
/* [1] Takes the status snapshot. */
int TavGetStatus(TavStatusSnapshot* status);
/* [287] Name of the client in a snapshot slot. */
int TavGetClientName(int slot, char* name, int size);
/* [282] The port's channel configuration (200 bytes); TAV_E_NOT_OPEN when none. */
int TavGetPortConfig(int port, unsigned char* config);
/* [166] / [74] The record lines of a port / client: capacity lines of 125
 * bytes, or null when there is no record area. */
const char* TavPortRecordArea(int port, int* capacity);
const char* TavClientRecordArea(int handle, int* capacity);
/* [175] / [79] Lines in use; [190] / [189] index of the oldest line. */
int TavPortLineCount(int port);
int TavClientLineCount(int handle);
int TavPortOldestLine(int port);
int TavClientOldestLine(int handle);
/* [176] / [133] Status byte: top bit set when lines were added since the last look. */
int TavPortStatusByte(int port);
int TavClientStatusByte(int handle);
/* [167] / [75] The viewer has looked: clears the top bit. */
int TavMarkPortSeen(int port);
int TavMarkClientSeen(int handle);
/* [173] / [81] The viewer stops using the record area. */
int TavDetachPortRecords(int port);
int TavDetachClientRecords(int handle);
/* [168] / [76] Clears the lines. */
int TavClearPortRecords(int port);
int TavClearClientRecords(int handle);
/* Copies line `index` (0..capacity-1) of a port or client ring, NUL-terminated
 * (at most 118 characters), under the segment lock. */
int TavCopyPortLine(int port, int index, char* line, int size);
int TavCopyClientLine(int handle, int index, char* line, int size);

/* The state of a port's or client's record ring at one moment. */
typedef struct TavRingSnapshot {
  int32_t owner;     /* port number or client handle */
  uint32_t serial;   /* identity of this allocation of the ring: a ring freed and
                        given to another owner (or to a new server of the same
                        port) comes back with another serial */
  int32_t capacity;  /* lines of 125 bytes */
  int32_t start;     /* index of the oldest line */
  int32_t count;     /* lines in use */
  uint32_t pad;
  uint64_t appended; /* lines appended since the ring was given to its owner;
                        grows on a full ring too, for every viewer alike */
} TavRingSnapshot;

/* Copies the ring's state and, with lines non-null, its lines under the
 * segment lock, so a writer never tears them: lines receives lineCapacity
 * lines of TAV_RECORD_LINE_BYTES bytes, each at its ring index, every line in
 * use NUL-terminated. TAV_E_NOT_OPEN when the port or client has no ring;
 * TAV_E_BUFFER_SMALL (state filled) when lineCapacity is below the capacity. */
int TavSnapshotPortRecords(int port, TavRingSnapshot* state, char* lines, int lineCapacity);
int TavSnapshotClientRecords(int handle, TavRingSnapshot* state, char* lines, int lineCapacity);

#ifdef __cplusplus
}
#endif
