#pragma once
// The phone book document: the entries in list order (at most 4,096), the
// modem settings of COM 1..15 with the current port and the ports that have
// a modem, and what has changed since the last save. Loading and saving the
// book file and the port settings are its operations; results are 0 or the
// message id of the failure (1001 read, 1002 write, 1003 create, 1010 full,
// 1011 nothing to delete).
#include <array>
#include <string>
#include <vector>

#include "modem_book/phone_book_entry.h"
#include "modem_book/port_modem_settings.h"

namespace modembook {

enum BookError : int {
  kBookOk = 0,
  kErrRead = 1001,
  kErrWrite = 1002,
  kErrCreate = 1003,
  kErrFull = 1010,
  kErrNothingToDelete = 1011,
};

class CTelConnectDoc {
 public:
  CTelConnectDoc();

  // The book file: the library's path of "KELD_TavModem.dat" unless set.
  static std::string DefaultPath();
  void SetPath(std::string path) { path_ = std::move(path); }
  const std::string& Path() const { return path_; }

  // Reads the book. A missing file, or one shorter than its header, becomes a
  // new empty book on disk (1003 when that cannot be written). A file that
  // cannot be opened or read, or whose count is above 4,096 or runs past its
  // end, gives 1001 and leaves file and document as they were.
  int Load();
  // Writes the book through a temporary file renamed over the old one: 1002
  // with the old file intact when anything fails.
  int Save();

  const std::string& Version() const { return version_; }
  const std::vector<CPhoneBookEntry>& Entries() const { return entries_; }
  size_t Count() const { return entries_.size(); }

  int Add(const CPhoneBookEntry& entry);
  // False when the index is outside the list; the book is modified only when
  // the entry differs.
  bool Replace(size_t index, const CPhoneBookEntry& entry);
  // Removes the entry at index; selection becomes the entry before it, or the
  // first (-1 when the book is empty then). 1011 when there are no entries or
  // index names none.
  int Delete(int index, int& selection);
  // Reorders the entries by a column's text (0 title, 1 phone, 2 property in
  // list form), ascending by Shift_JIS bytes, equal texts keeping their order.
  // Returns for each new position the entry's old position.
  std::vector<size_t> SortByColumn(int column);
  // Appends (or, with replace, swaps in) entries; 1010 when they would make
  // more than 4,096, with the book unchanged.
  int Import(const std::vector<CPhoneBookEntry>& entries, bool replace);

  // Port settings, index = COM number - 1.
  const CPortModemSettings& Port(int com) const { return ports_.at(static_cast<size_t>(com - 1)); }
  // Changes a port's settings; marks it modified when they differ.
  void SetPort(int com, const CPortModemSettings& settings);
  int CurrentPort() const { return currentPort_; }
  void SetCurrentPort(int com);
  const std::vector<int>& PortList() const { return portList_; }
  void SetPortList(std::vector<int> ports) { portList_ = std::move(ports); }
  // Reads the port list, the last-used port and the 15 port records through
  // the interface library; clears the ports' modified flags.
  void ReadPortSettings();
  // Writes one port's record back; the current port is also stored as the
  // last-used port. 1002 when the library refuses.
  int WritePortSettings(int com);
  // Writes every modified port, then the book when modified; the first failure.
  int SaveModified();

  // Every port to its defaults, port 1 current, no entries, all modified.
  void InitialiseRegisteredData();

  bool BookModified() const { return bookModified_; }
  bool PortModified(int com) const { return portModified_.at(static_cast<size_t>(com - 1)); }
  bool AnyModified() const;
  void SetBookModified(bool m) { bookModified_ = m; }
  void SetPortModified(int com, bool m) { portModified_.at(static_cast<size_t>(com - 1)) = m; }

  // A second copy of the program shows the data but changes nothing.
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool r) { readOnly_ = r; }

 private:
  int CreateNew();

  std::string path_;
  std::string version_;
  std::vector<CPhoneBookEntry> entries_;
  std::array<CPortModemSettings, kPortCount> ports_{};
  std::array<bool, kPortCount> portModified_{};
  std::vector<int> portList_;
  int currentPort_ = 1;
  bool bookModified_ = false;
  bool readOnly_ = false;
};

// A column's text of an entry as the list shows it (UTF-8).
std::string ColumnText(const CPhoneBookEntry& entry, int column);

}  // namespace modembook
