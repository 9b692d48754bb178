// The import reader (JSON export or phone book image) on any bytes: no crash;
// a refused import leaves the book as it was; every entry taken keeps the
// rules of the editor (title and phone limits) and the 4,096-entry limit.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "modem_book/book_json.h"
#include "modem_book/phone_book_file.h"
#include "modem_book/tel_connect_doc.h"

using namespace modembook;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::vector<CPhoneBookEntry> entries;
  std::string error;
  CTelConnectDoc doc;
  CPhoneBookEntry existing;
  existing.SetTitle("existing");
  doc.Add(existing);
  const std::string before = BookImageBytes(doc.Entries());
  if (!EntriesFromImport(input, entries, error)) {
    if (error.empty() || !entries.empty()) std::abort();
    return 0;
  }
  if (entries.size() > kMaxEntries) std::abort();
  const bool json = input.find('{') != std::string::npos && input.find_first_not_of(" \t\r\n") == input.find('{');
  if (json)
    for (const auto& e : entries)
      if (!ValidTitle(e.Title()) || !ValidPhone(e.Phone())) std::abort();
  if (doc.Import(entries, false) != kBookOk) {
    if (BookImageBytes(doc.Entries()) != before) std::abort();
  } else if (doc.Count() != entries.size() + 1) {
    std::abort();
  }
  // What was taken lists and reads back the same.
  std::vector<CPhoneBookEntry> again;
  CTelConnectDoc copy;
  copy.Import(entries, true);
  if (json && (!EntriesFromImport(BookJson(copy), again, error) || BookImageBytes(again) != BookImageBytes(entries)))
    std::abort();
  return 0;
}
