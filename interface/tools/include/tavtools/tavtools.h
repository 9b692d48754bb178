#pragma once
/* tavtools: the destination text and the programming-tool check that the
 * configuration tool calls around its connection. No widgets: the command
 * line and the server side link this part alone. The settings dialogs are in
 * tavtools/tavtools_dialogs.h (library tavtools_dialogs).
 *
 * The number in brackets is the ordinal by which the callers know the call.
 */
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

enum { TAVTOOLS_NAME_SIZE = 256, TAVTOOLS_TEXT_SIZE = 80 };

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
