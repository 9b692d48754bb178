// Records from ring lines and their text export and pages.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstring>
#include <fstream>
#include <sstream>

#include "commscope/record_text.h"
#include "platform/folders.h"
#include "scripted_viewer_library.h"
#include "file_bytes.h"

using namespace commscope;
using commscope::testing::ScriptedRing;
using keldtest::ReadBytes;

namespace {

std::vector<std::string> Assemble(const ScriptedRing& r, int maxLines = 3000) {
  return AssembleRecords(r.lines.data(), r.capacity, r.start, r.count, maxLines);
}

TEST(Records, LongRecordsJoinUntilTheNextHeaderAndNeverPastTheNewestLine) {
  ScriptedRing r(1, 3000);
  std::string data(300, 'd');
  r.Append("[header 1]");
  r.Append(data.substr(0, 118));
  r.Append(data.substr(118, 118));
  r.Append(data.substr(236));  // stored as 118, 118, 64
  r.Append(std::string(118, 'e'));
  r.Append("[header 2]");  // a header ends the record before it
  r.Append(std::string(118, 'f'));  // the newest line: nothing after it to join
  auto records = Assemble(r);
  ASSERT_EQ(records.size(), 5u);
  EXPECT_EQ(records[0], "[header 1]");
  EXPECT_EQ(records[1], data);
  EXPECT_EQ(records[2], std::string(118, 'e'));
  EXPECT_EQ(records[3], "[header 2]");
  EXPECT_EQ(records[4], std::string(118, 'f'));

  std::string path = platform::DataDir() + "/long.txt";
  platform::EnsureDir(platform::DataDir());
  ASSERT_EQ(ExportText(records, path), 0u);
  EXPECT_EQ(ReadBytes(path), "[header 1]\r\n" + data + "\r\n" + std::string(118, 'e') + "\r\n[header 2]\r\n" +
                                std::string(118, 'f') + "\r\n");
}

TEST(Records, AFullRingIsReadFromItsOldestLineAndWrapsAtTheCapacity) {
  ScriptedRing full(1, 3000);
  for (int i = 0; i < 4200; ++i) full.Append("line " + std::to_string(i % 3000));
  ASSERT_EQ(full.start, 1200);
  auto records = Assemble(full);
  ASSERT_EQ(records.size(), 3000u);
  EXPECT_EQ(records[0], "line 1200");
  EXPECT_EQ(records[1799], "line 2999");
  EXPECT_EQ(records[1800], "line 0");
  EXPECT_EQ(records[2999], "line 1199");

  // A ring not full whose oldest line sits near the end wraps at the capacity, not the count.
  ScriptedRing part(1, 3000);
  part.start = 2990;
  for (int i = 0; i < 20; ++i) part.Append("p" + std::to_string(i));
  records = Assemble(part);
  ASSERT_EQ(records.size(), 20u);
  EXPECT_EQ(records[9], "p9");
  EXPECT_EQ(records[10], "p10");
  EXPECT_EQ(part.lines[0], 'p');  // p10 went to index 0
}

TEST(Records, DamagedStateStaysInsideTheRing) {
  ScriptedRing r(1, 10);
  for (int i = 0; i < 10; ++i) std::memset(&r.lines[static_cast<size_t>(i) * kLineBytes], 'x', kLineBytes);
  // No NUL anywhere: each line ends at 118 characters and they all join.
  auto records = AssembleRecords(r.lines.data(), 10, 3, 10, 3000);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].size(), 10u * kLineChars);
  EXPECT_EQ(AssembleRecords(r.lines.data(), 10, 99, 500, 3000).size(), 1u);  // clamped
  EXPECT_TRUE(AssembleRecords(r.lines.data(), 10, -4, -1, 3000).empty());
  EXPECT_TRUE(AssembleRecords(nullptr, 10, 0, 5, 3000).empty());
  EXPECT_EQ(AssembleRecords(r.lines.data(), 10, 0, 10, 2)[0].size(), 2u * kLineChars);  // the view's limit
}

TEST(Records, ExportFailuresAreReportedAndKeepWhatWasWritten) {
  std::vector<std::string> records(5000, std::string(100, 'r'));
  EXPECT_EQ(ExportText(records, "/nonexistent-folder/x.txt"), kIdMakeFileFailed);

  // A file size limit makes the write fail part-way: reported, the start kept.
  std::string path = platform::DataDir() + "/limited.txt";
  platform::EnsureDir(platform::DataDir());
  auto old = std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 100000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  unsigned rc = ExportText(records, path);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, old);
  EXPECT_EQ(rc, kIdSaveFileFailed);
  std::string written = ReadBytes(path);
  EXPECT_GT(written.size(), 0u);
  EXPECT_EQ(written.substr(0, 102), std::string(100, 'r') + "\r\n");
}

TEST(Records, PagesCarryTheirHeader) {
  EXPECT_EQ(PageHeader(3), "<<  Page[3]   >>");
  std::vector<std::string> records(7, "x");
  auto pages = PaginateRecords(records, 3);
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_EQ(pages[2].size(), 1u);
  EXPECT_EQ(PaginateRecords({}, 3).size(), 1u);  // an empty view prints one empty page
}

}  // namespace
