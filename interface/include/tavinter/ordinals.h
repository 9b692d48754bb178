#pragma once
/* The ordinal numbers by which the calling programs know the library's
 * operations, mapped to the functions of tavinter.h. An ordinal whose
 * function is null is known but not provided by this build (board and USB
 * steps); its name says what it stands for. */
#ifdef __cplusplus
extern "C" {
#endif

typedef struct TavOrdinal {
  int ordinal;
  const char* name;      /* the function's name, or the role when not provided */
  const char* role;      /* who calls it: client, paths, modem, server, viewer */
  void (*function)(void); /* cast to the declared type before calling; null when not provided */
} TavOrdinal;

/* The whole table, ascending by ordinal; *count receives its length. */
const TavOrdinal* TavOrdinalTable(int* count);
/* The entry of one ordinal, or null when the number is unknown. */
const TavOrdinal* TavFindOrdinal(int ordinal);

#ifdef __cplusplus
}
#endif
