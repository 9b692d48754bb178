#pragma once
/* tavtools: the communication settings and station dialogs, the destination
 * text and the programming-tool check that the configuration tool calls
 * around its connection. The destination lives in the application's section
 * of the communication library's settings (TavReadSection / TavWriteSection).
 *
 * Dialog results: 1 accepted (OK), 2 cancelled. owner is a QWidget* or null.
 * The number in brackets is the ordinal by which the callers know the call.
 */
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

enum { TAVTOOLS_NAME_SIZE = 256, TAVTOOLS_TEXT_SIZE = 80 };

/* [3] Communication settings: destination kind (simulation, serial COM port
 * with baud rate, data bits, parity, stop bits and time-out, Ethernet address
 * and port, USB, modem) and station number. On OK the destination is stored
 * under the application's section, the record (when given and not open) is
 * reloaded from it, and *destinationNo / destinationName (256 bytes) receive
 * the station and the destination's name. The arguments marked reserved are
 * accepted for the callers' sake and not used. */
int TavCommunicationSettings(unsigned char* record, const char* applicationName, void* owner, int reserved1,
                             const char* reserved2, int reserved3, int reserved4, const int16_t* options,
                             int optionCount, uint16_t* destinationNo, int32_t* output, char* destinationName,
                             int reserved5, int reserved6);

/* [8] Station number (0 = the PLC on the link itself, 1..99) of the destination;
 * on OK it is stored with the application's section as well. */
int TavSpecifyStation(unsigned char* record, void* owner, const char* applicationName, int reserved1,
                      int reserved2, uint16_t* destinationNo, char* destinationName, int reserved3);

/* [37] The destination text, for example "COM1 9600bps Station No.1", into an
 * 80-byte buffer (cut on a character boundary). */
int TavDestinationText(const unsigned char* record, uint16_t destinationNo, const char* destinationName,
                       char* text);

/* [1] Programming-tool check: 0 when the destination answers a PLC command
 * through the open connection, else the error code. */
int TavCheckProgrammingTool(unsigned char* record, uint16_t destinationNo, int32_t* scratch,
                            const char* destinationName, const char* applicationName);

#ifdef __cplusplus
}
#endif
