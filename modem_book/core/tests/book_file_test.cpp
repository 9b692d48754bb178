// The book file: header and entries against hand-made images, the missing,
// short and damaged files, byte-identical round trips, the 4,096 limit, an
// interrupted save, and the list operations.
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/resource.h>

#include "modem_book/phone_book_file.h"
#include "modem_book/tel_connect_doc.h"
#include "file_bytes.h"
#include "test_home.h"

using namespace modembook;
namespace fs = std::filesystem;

namespace {

std::string Header(uint32_t count, const char* version = "2.2015") {
  std::string h(16, '\0');
  std::memcpy(h.data(), version, std::strlen(version));
  for (int i = 0; i < 4; ++i) h[8 + i] = static_cast<char>((count >> (8 * i)) & 0xFF);
  return h;
}

std::string EntryBytes(const std::string& title, const std::string& phone, char fill = 0) {
  std::string e(96, fill);
  std::memset(e.data(), 0, 74);
  std::memcpy(e.data(), title.data(), title.size());
  std::memcpy(e.data() + 42, phone.data(), phone.size());
  e[74] = 3;
  e[75] = 0;
  return e;
}

CPhoneBookEntry Entry(const std::string& title, const std::string& phone = "1") {
  CPhoneBookEntry e;
  e.SetTitle(title);
  e.SetPhone(phone);
  return e;
}

class BookFile : public ::testing::Test {
 protected:
  std::string dir = keldtest::FreshDir("book");
  std::string path = dir + "/KELD_TavModem.dat";
  CTelConnectDoc Doc() {
    CTelConnectDoc d;
    d.SetPath(path);
    return d;
  }
};

}  // namespace

TEST_F(BookFile, DefaultPathIsTheLibrarysDataFile) {
  EXPECT_EQ(fs::path(CTelConnectDoc::DefaultPath()).filename(), "KELD_TavModem.dat");
  EXPECT_NE(CTelConnectDoc::DefaultPath().find(keldtest::TestHome()), std::string::npos);
}

TEST_F(BookFile, MissingAndShortFilesBecomeANewEmptyBookOnDisk) {
  CTelConnectDoc doc = Doc();
  ASSERT_EQ(doc.Load(), kBookOk);
  EXPECT_EQ(doc.Count(), 0u);
  EXPECT_EQ(keldtest::ReadBytes(path), Header(0));
  keldtest::WriteBytes(path, std::string("2.20", 4));
  CTelConnectDoc again = Doc();
  again.Add(Entry("kept in memory only"));
  ASSERT_EQ(again.Load(), kBookOk);
  EXPECT_EQ(again.Count(), 0u);
  EXPECT_EQ(again.Version(), "2.2015");
  EXPECT_EQ(keldtest::ReadBytes(path), Header(0));
}

TEST_F(BookFile, ACreateFailureGives1003) {
  CTelConnectDoc doc;
  doc.SetPath(dir + "/no/such/folder/book.dat");
  EXPECT_EQ(doc.Load(), kErrCreate);
}

TEST_F(BookFile, ReadsEntriesOfAHandMadeImageAndWritesThemBackByteForByte) {
  std::string image = Header(3, "2.1") + EntryBytes("\x91\xE5\x8D\xE3", "0612345678") +
                      EntryBytes(std::string(42, 'X'), std::string(32, '7')) + EntryBytes("r", "2", '\x5A');
  image[12] = 7;  // reserved header bytes are not checked, and written as zero
  keldtest::WriteBytes(path, image + "trailing bytes are ignored");
  CTelConnectDoc doc = Doc();
  ASSERT_EQ(doc.Load(), kBookOk);
  ASSERT_EQ(doc.Count(), 3u);
  EXPECT_EQ(doc.Version(), "2.1");
  EXPECT_EQ(doc.Entries()[0].Title(), "大阪");
  EXPECT_EQ(doc.Entries()[1].Title(), std::string(42, 'X'));
  EXPECT_EQ(doc.Entries()[1].Phone(), std::string(32, '7'));
  ASSERT_EQ(doc.Save(), kBookOk);
  // "2.2015" is written whatever was read; the entries come back unchanged.
  EXPECT_EQ(keldtest::ReadBytes(path), Header(3) + image.substr(16));
  CTelConnectDoc again = Doc();
  ASSERT_EQ(again.Load(), kBookOk);
  ASSERT_EQ(again.Save(), kBookOk);
  EXPECT_EQ(keldtest::ReadBytes(path), Header(3) + image.substr(16));
}

TEST_F(BookFile, DamagedFilesGive1001AndStayUntouched) {
  const std::string good = Header(1) + EntryBytes("good", "1");
  const std::vector<std::string> damaged = {
      Header(4097) + EntryBytes("a", "1"),
      Header(2) + EntryBytes("a", "1"),
      Header(1) + EntryBytes("a", "1").substr(0, 95),
      Header(0xFFFFFFFFu),
  };
  for (const auto& bytes : damaged) {
    keldtest::WriteBytes(path, good);
    CTelConnectDoc doc = Doc();
    ASSERT_EQ(doc.Load(), kBookOk);
    keldtest::WriteBytes(path, bytes);
    EXPECT_EQ(doc.Load(), kErrRead);
    EXPECT_EQ(keldtest::ReadBytes(path), bytes);
    ASSERT_EQ(doc.Count(), 1u);
    EXPECT_EQ(doc.Entries()[0].Title(), "good");
  }
}

TEST_F(BookFile, AFileThatCannotBeOpenedIsReportedNotRecreated) {
  fs::create_directory(path);
  CTelConnectDoc doc = Doc();
  EXPECT_EQ(doc.Load(), kErrRead);
  EXPECT_TRUE(fs::is_directory(path));
  const std::string plain = dir + "/plain";
  keldtest::WriteBytes(plain, "x");
  CTelConnectDoc under;
  under.SetPath(plain + "/KELD_TavModem.dat");
  EXPECT_EQ(under.Load(), kErrRead);
  EXPECT_EQ(keldtest::ReadBytes(plain), "x");
}

TEST_F(BookFile, The4096thEntryIsTakenAndThe4097thRefused) {
  CTelConnectDoc doc = Doc();
  for (int i = 0; i < 4095; ++i) ASSERT_EQ(doc.Add(Entry("e" + std::to_string(i))), kBookOk);
  EXPECT_EQ(doc.Add(Entry("last")), kBookOk);
  EXPECT_EQ(doc.Add(Entry("one too many")), kErrFull);
  EXPECT_EQ(doc.Count(), 4096u);
  ASSERT_EQ(doc.Save(), kBookOk);
  EXPECT_EQ(fs::file_size(path), 16u + 4096u * 96u);
  CTelConnectDoc again = Doc();
  ASSERT_EQ(again.Load(), kBookOk);
  EXPECT_EQ(again.Entries().back().Title(), "last");
  EXPECT_EQ(again.Import({Entry("x")}, false), kErrFull);
  EXPECT_EQ(again.Count(), 4096u);
  EXPECT_EQ(again.Import({Entry("x")}, true), kBookOk);
  EXPECT_EQ(again.Count(), 1u);
}

TEST_F(BookFile, AnInterruptedSaveKeepsTheOldFileAndLeavesNoTemporaryFile) {
  CTelConnectDoc doc = Doc();
  doc.Add(Entry("old"));
  ASSERT_EQ(doc.Save(), kBookOk);
  const std::string before = keldtest::ReadBytes(path);
  for (int i = 0; i < 200; ++i) doc.Add(Entry("new " + std::to_string(i)));
  struct rlimit old {};
  getrlimit(RLIMIT_FSIZE, &old);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const int rc = doc.Save();
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(rc, kErrWrite);
  EXPECT_TRUE(doc.BookModified());
  EXPECT_EQ(keldtest::ReadBytes(path), before);
  int files = 0;
  for (auto& e : fs::directory_iterator(dir)) files += e.is_regular_file() ? 1 : 0;
  EXPECT_EQ(files, 1);
}

TEST_F(BookFile, DeleteSelectsTheEntryBeforeAndRefusesWithoutSelection) {
  CTelConnectDoc doc = Doc();
  int sel = 99;
  EXPECT_EQ(doc.Delete(0, sel), kErrNothingToDelete);
  for (const char* t : {"a", "b", "c"}) doc.Add(Entry(t));
  doc.SetBookModified(false);
  EXPECT_EQ(doc.Delete(-1, sel), kErrNothingToDelete);
  EXPECT_EQ(doc.Delete(3, sel), kErrNothingToDelete);
  EXPECT_EQ(doc.Count(), 3u);
  EXPECT_FALSE(doc.BookModified());
  ASSERT_EQ(doc.Delete(2, sel), kBookOk);
  EXPECT_EQ(sel, 1);
  ASSERT_EQ(doc.Delete(0, sel), kBookOk);
  EXPECT_EQ(sel, 0);
  EXPECT_EQ(doc.Entries()[0].Title(), "b");
  ASSERT_EQ(doc.Delete(0, sel), kBookOk);
  EXPECT_EQ(sel, -1);
  EXPECT_TRUE(doc.BookModified());
}

TEST_F(BookFile, SortingReordersTheEntriesSoDeleteAndEditHitTheSelectedOne) {
  CTelConnectDoc doc = Doc();
  CPhoneBookEntry fast = Entry("b", "3");
  fast.SetBaudIndex(7);
  doc.Add(Entry("c", "1"));
  doc.Add(fast);
  doc.Add(Entry("a", "2"));
  doc.Add(Entry("b", "0"));  // same title as the second: stays after it
  doc.SetBookModified(false);
  std::vector<size_t> order = doc.SortByColumn(0);
  EXPECT_EQ(order, (std::vector<size_t>{2, 1, 3, 0}));
  EXPECT_TRUE(doc.BookModified());
  EXPECT_EQ(doc.Entries()[1].Phone(), "3");
  // The list form right-aligns the rate, so 115200 sorts after 9600.
  doc.SortByColumn(2);
  EXPECT_EQ(doc.Entries()[3].BaudIndex(), 7);
  doc.SortByColumn(1);
  EXPECT_EQ(doc.Entries()[0].Phone(), "0");
  int sel = -1;
  ASSERT_EQ(doc.Delete(0, sel), kBookOk);
  EXPECT_EQ(doc.Entries()[0].Phone(), "1");
  CPhoneBookEntry edited = doc.Entries()[1];
  edited.SetTitle("edited");
  ASSERT_TRUE(doc.Replace(1, edited));
  EXPECT_EQ(doc.Entries()[1].Phone(), "2");
  EXPECT_EQ(doc.Entries()[1].Title(), "edited");
  // Japanese titles compare by their Shift_JIS bytes.
  CTelConnectDoc jp = Doc();
  jp.Add(Entry("ﾓﾃﾞﾑ"));  // 0xD3...
  jp.Add(Entry("東京"));  // 0x93...
  jp.SortByColumn(0);
  EXPECT_EQ(jp.Entries()[0].Title(), "東京");
}

TEST_F(BookFile, ReplaceMarksModifiedOnlyForAChange) {
  CTelConnectDoc doc = Doc();
  doc.Add(Entry("a"));
  doc.SetBookModified(false);
  EXPECT_TRUE(doc.Replace(0, Entry("a")));
  EXPECT_FALSE(doc.BookModified());
  EXPECT_FALSE(doc.Replace(1, Entry("b")));
  EXPECT_TRUE(doc.Replace(0, Entry("b")));
  EXPECT_TRUE(doc.BookModified());
}
