#include "modem_book/tel_connect_doc.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <numeric>
#include <unistd.h>

#include "modem_book/phone_book_file.h"
#include "platform/file_util.h"
#include "tavinter/tavinter.h"

namespace modembook {

namespace {

enum class ReadResult { Ok, Missing, Failed };

// Reads at most `limit` bytes of the file: nothing past 4,096 entries is ever used.
ReadResult ReadBookFile(const std::string& path, size_t limit, std::string& bytes) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? ReadResult::Missing : ReadResult::Failed;
  bytes.clear();
  char buf[65536];
  while (bytes.size() < limit) {
    ssize_t n = ::read(fd, buf, std::min(sizeof buf, limit - bytes.size()));
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return ReadResult::Failed;
    }
    if (n == 0) break;
    bytes.append(buf, static_cast<size_t>(n));
  }
  ::close(fd);
  return ReadResult::Ok;
}

std::string SortKey(const CPhoneBookEntry& e, int column) {
  if (column == 0) return e.TitleBytes();
  if (column == 1) return e.PhoneBytes();
  return PropertyText(e, true);
}

}  // namespace

std::string ColumnText(const CPhoneBookEntry& e, int column) {
  if (column == 0) return e.Title();
  if (column == 1) return e.Phone();
  return PropertyText(e, true);
}

CTelConnectDoc::CTelConnectDoc() : path_(DefaultPath()), version_(kBookVersion) {
  for (int p = 1; p <= kPortCount; ++p) portList_.push_back(p);
}

std::string CTelConnectDoc::DefaultPath() {
  char path[4096] = {};
  if (TavGetFilePath("KELD_TavModem.dat", path, sizeof path) != 0) return "KELD_TavModem.dat";
  return path;
}

int CTelConnectDoc::CreateNew() {
  if (!platform::WriteFileAtomic(path_, BookImageBytes({}))) return kErrCreate;
  version_ = kBookVersion;
  entries_.clear();
  bookModified_ = false;
  return kBookOk;
}

int CTelConnectDoc::Load() {
  std::string bytes;
  switch (ReadBookFile(path_, kMaxBookImage, bytes)) {
    case ReadResult::Missing: return CreateNew();
    case ReadResult::Failed: return kErrRead;
    case ReadResult::Ok: break;
  }
  BookImage image;
  switch (ParseBookImage(bytes, image)) {
    case BookImageResult::Short: return CreateNew();
    case BookImageResult::Damaged: return kErrRead;
    case BookImageResult::Ok: break;
  }
  version_ = image.version;
  entries_ = std::move(image.entries);
  bookModified_ = false;
  return kBookOk;
}

int CTelConnectDoc::Save() {
  if (!platform::WriteFileAtomic(path_, BookImageBytes(entries_))) return kErrWrite;
  version_ = kBookVersion;
  bookModified_ = false;
  return kBookOk;
}

int CTelConnectDoc::Add(const CPhoneBookEntry& entry) {
  if (entries_.size() >= kMaxEntries) return kErrFull;
  entries_.push_back(entry);
  bookModified_ = true;
  return kBookOk;
}

bool CTelConnectDoc::Replace(size_t index, const CPhoneBookEntry& entry) {
  if (index >= entries_.size()) return false;
  if (!(entries_[index] == entry)) {
    entries_[index] = entry;
    bookModified_ = true;
  }
  return true;
}

int CTelConnectDoc::Delete(int index, int& selection) {
  if (entries_.empty() || index < 0 || static_cast<size_t>(index) >= entries_.size()) return kErrNothingToDelete;
  entries_.erase(entries_.begin() + index);
  bookModified_ = true;
  selection = entries_.empty() ? -1 : std::max(0, index - 1);
  return kBookOk;
}

std::vector<size_t> CTelConnectDoc::SortByColumn(int column) {
  std::vector<std::string> keys;
  keys.reserve(entries_.size());
  for (const auto& e : entries_) keys.push_back(SortKey(e, column));
  std::vector<size_t> order(entries_.size());
  std::iota(order.begin(), order.end(), 0);
  // std::string compares its bytes as unsigned char.
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return keys[a] < keys[b]; });
  std::vector<CPhoneBookEntry> sorted;
  sorted.reserve(entries_.size());
  for (size_t i : order) sorted.push_back(entries_[i]);
  if (!std::is_sorted(order.begin(), order.end())) bookModified_ = true;
  entries_ = std::move(sorted);
  return order;
}

int CTelConnectDoc::Import(const std::vector<CPhoneBookEntry>& entries, bool replace) {
  const size_t total = entries.size() + (replace ? 0 : entries_.size());
  if (total > kMaxEntries) return kErrFull;
  if (replace) entries_.clear();
  entries_.insert(entries_.end(), entries.begin(), entries.end());
  bookModified_ = true;
  return kBookOk;
}

void CTelConnectDoc::SetPort(int com, const CPortModemSettings& settings) {
  auto& p = ports_.at(static_cast<size_t>(com - 1));
  if (p == settings) return;
  p = settings;
  SetPortModified(com, true);
}

void CTelConnectDoc::SetCurrentPort(int com) { currentPort_ = com >= 1 && com <= kPortCount ? com : 1; }

bool CTelConnectDoc::AnyModified() const {
  return bookModified_ || std::any_of(portModified_.begin(), portModified_.end(), [](bool m) { return m; });
}

void CTelConnectDoc::InitialiseRegisteredData() {
  for (int com = 1; com <= kPortCount; ++com) {
    ports_[com - 1].ResetToDefaults();
    portModified_[com - 1] = true;
  }
  currentPort_ = 1;
  entries_.clear();
  bookModified_ = true;
}

int CTelConnectDoc::SaveModified() {
  for (int com = 1; com <= kPortCount; ++com)
    if (PortModified(com))
      if (int rc = WritePortSettings(com)) return rc;
  if (bookModified_) return Save();
  return kBookOk;
}

}  // namespace modembook
