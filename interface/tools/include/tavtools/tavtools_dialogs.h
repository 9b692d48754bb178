#pragma once
/* tavtools_dialogs: the communication settings and station dialogs (Qt
 * Widgets). The destination lives in the application's section of the
 * communication library's settings (TavReadSection / TavWriteSection).
 *
 * Dialog results: 1 accepted (OK), 2 cancelled. owner is a QWidget* or null.
 * The number in brackets is the ordinal by which the callers know the call.
 */
#include "tavtools/tavtools.h"

#ifdef __cplusplus
extern "C" {
#endif

/* [3] Communication settings: destination kind (simulation, serial COM port
 * with baud rate, data bits, parity, stop bits and time-out, Ethernet address
 * and port, USB, modem) and station number. On OK the destination is stored
 * under the application's section, the record (when given and not open) is
 * reloaded from it, and *destinationNo / destinationName (256 bytes) receive
 * the station and the destination's name. A stored destination of a kind the
 * dialog cannot edit is shown as it is and kept unless another kind is
 * chosen. The arguments marked reserved are accepted for the callers' sake
 * and not used. */
int TavCommunicationSettings(unsigned char* record, const char* applicationName, void* owner, int reserved1,
                             const char* reserved2, int reserved3, int reserved4, const int16_t* options,
                             int optionCount, uint16_t* destinationNo, int32_t* output, char* destinationName,
                             int reserved5, int reserved6);

/* [8] Station number (0 = the PLC on the link itself, 1..99) of the destination;
 * on OK it is stored with the application's section as well. */
int TavSpecifyStation(unsigned char* record, void* owner, const char* applicationName, int reserved1,
                      int reserved2, uint16_t* destinationNo, char* destinationName, int reserved3);

#ifdef __cplusplus
}
#endif
