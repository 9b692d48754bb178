// The phone book reader on any bytes: no crash and no read past a buffer; a
// refused file stays byte for byte as it was and leaves the document alone;
// an accepted one is written back with its entries' bytes unchanged.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <unistd.h>

#include "file_bytes.h"
#include "modem_book/phone_book_file.h"
#include "modem_book/tel_connect_doc.h"

using namespace modembook;

namespace {
using keldtest::ReadBytes;
const std::string& BookPath() {
  static const std::string path = [] {
    const char* tmp = std::getenv("TMPDIR");
    return std::string(tmp && *tmp ? tmp : "/tmp") + "/modem_book_fuzz_" + std::to_string(::getpid()) + ".dat";
  }();
  return path;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  {
    std::ofstream out(BookPath(), std::ios::binary | std::ios::trunc);
    out.write(input.data(), static_cast<std::streamsize>(input.size()));
  }
  CTelConnectDoc doc;
  doc.SetPath(BookPath());
  CPhoneBookEntry marker;
  marker.SetTitle("marker");
  doc.Add(marker);
  const int rc = doc.Load();
  if (rc == kErrRead) {
    if (ReadBytes(BookPath()) != input) std::abort();
    if (doc.Count() != 1 || !(doc.Entries()[0] == marker)) std::abort();
  } else if (rc == kBookOk) {
    for (const auto& e : doc.Entries()) {
      (void)PropertyText(e, true);
      (void)e.Title();
      (void)e.Phone();
    }
    if (size >= kBookHeaderSize) {
      const std::string image = BookImageBytes(doc.Entries());
      if (image.compare(kBookHeaderSize, std::string::npos, input, kBookHeaderSize,
                        image.size() - kBookHeaderSize) != 0)
        std::abort();
    } else if (doc.Count() != 0) {
      std::abort();
    }
  } else {
    std::abort();
  }
  ::unlink(BookPath().c_str());
  return 0;
}
