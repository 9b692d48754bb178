#pragma once
// The texts a Hayes-style modem answers with, judged line by line: what a
// result line means, the code text a client receives for it, the caller
// number that follows an incoming call, and the settings taken from the
// initialisation command (result mode, escape character).
#include <string>

namespace connsrv {

enum class ModemResult {
  kOk,          // "OK" or numeric 0
  kConnect,     // "CONNECT ...", a text holding "%%%", or a numeric connect code
  kRing,        // "RING" or numeric 2
  kNoCarrier,   // "NO CARRIER" or numeric 3
  kError,       // "ERROR" or numeric 4
  kNoDialtone,  // "NO DIALTONE" (also the old misspelling) or numeric 6
  kBusy,        // "BUSY" or numeric 7
  kNoAnswer,    // "NO ANSWER" or numeric 8
  kOther,       // any other line
};

// A line without its surrounding blanks, CR and LF.
std::string TrimmedModemLine(const std::string& line);

// Judges one result line (without its CR/LF). A numeric result is a line of
// digits only; words are compared without surrounding blanks and case.
ModemResult ClassifyModemLine(const std::string& line);

// The code text a client receives for a result line: the table's number for
// a known word, a numeric result as it came, any other text unchanged.
std::string ModemCodeText(const std::string& line);

// True for results after which the modem is back in command mode without a
// call (3, 4, 6, 7, 8).
bool EndsCall(ModemResult r);

// The caller number of an incoming call's text: up to 15 characters starting
// at the first "0", ending early at a CR or LF or the end of the text; empty
// when the text holds no "0".
std::string CallerNumber(const std::string& text);

// Numeric result mode when the initialisation command holds "V0" or "v0".
bool NumericModeFor(const std::string& initCommand);

// The escape character set by "S2=n" / "s2=n" in the initialisation command
// (up to three digits, used when below 128 and present), otherwise "+".
char EscapeCharacterFor(const std::string& initCommand);

}  // namespace connsrv
