#pragma once
// What the phone book's window asks of the dial-up: connect an entry through
// the modem of a COM port, hang up, and say whether a line is up. The window
// works without one (connecting is then unavailable).
#include "modem_book/phone_book_entry.h"

namespace modembook {

class IDialUp {
 public:
  virtual ~IDialUp() = default;
  // Whether connecting can be offered at all.
  virtual bool Available() const = 0;
  virtual bool Connected() const = 0;
  // Dials the entry on the port; the phone number is not empty.
  virtual void Connect(const CPhoneBookEntry& entry, int port) = 0;
  // Hangs up the line that is up.
  virtual void Disconnect() = 0;
};

}  // namespace modembook
