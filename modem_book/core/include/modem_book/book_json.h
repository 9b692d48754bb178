#pragma once
// The phone book and the port settings as JSON (UTF-8), for listing,
// exporting and importing from scripts. Keys come in a fixed order:
//   {"version","count","entries":[{"index" (from 1),"title","phone",
//    "baudIndex","dataLength","parity","stopBits","property","reserved" (hex)}]}
//   {"lastPort","portList":[...],"ports":[{"port","dialMode","dialCommand",
//    "initCommand","plcTimeout","lineTimeout","dialPrefix"}]}
#include <string>
#include <vector>

#include "modem_book/phone_book_entry.h"
#include "modem_book/tel_connect_doc.h"

namespace modembook {

std::string BookJson(const CTelConnectDoc& doc);
std::string PortsJson(const CTelConnectDoc& doc);

// The entries of an import file: the JSON above (index and property are
// ignored, reserved is kept) or a phone book file image. Every entry is
// checked before any is returned; false with a message naming the first fault.
bool EntriesFromImport(const std::string& bytes, std::vector<CPhoneBookEntry>& entries, std::string& error);

}  // namespace modembook
