// The printed pages: ports on page 1, entries after, headings, and pages
// too small for the usual arithmetic.
#include <gtest/gtest.h>

#include "modem_book/print_layout.h"

using namespace modembook;

namespace {
CTelConnectDoc Book(int entries) {
  CTelConnectDoc doc;
  for (int i = 0; i < entries; ++i) {
    CPhoneBookEntry e;
    e.SetTitle("t" + std::to_string(i));
    doc.Add(e);
  }
  return doc;
}
}  // namespace

TEST(PrintLayout, PortsOnPageOneAndEntriesPerPage) {
  CTelConnectDoc doc = Book(31);
  CPortModemSettings s = doc.Port(2);
  s.dialMode = kDialOther;
  s.dialCommand = "ATX";
  doc.SetPort(2, s);
  PrintLayout l = LayoutPrint(doc, 660, 10);  // 66 lines
  EXPECT_EQ(l.linesPerPage, 66);
  EXPECT_EQ(l.entriesPerPage, 15);
  ASSERT_EQ(l.pages.size(), 1u + 3u);  // 31 entries: 15 + 15 + 1
  const PrintPage& first = l.pages[0];
  ASSERT_EQ(first.lines.size(), 60u);
  EXPECT_EQ(first.lines[0].text, "COM port         : 1");
  EXPECT_EQ(first.lines[1].text, "Dial mode : Tone");
  EXPECT_EQ(first.lines[5].text, "Dial mode : ATX");
  EXPECT_EQ(first.lines[2].text, "Initial command  : ATV1E0S0=1S2=43");
  EXPECT_EQ(first.lines[3].text, "PLC time-out : 10");
  EXPECT_EQ(first.lines[3].second, "Line connection time-out : 60");
  EXPECT_EQ(first.pageText, "PAGE : 1");
  EXPECT_EQ(first.caption, "Modem Connection");
  ASSERT_EQ(l.pages[1].lines.size(), 60u);
  EXPECT_EQ(l.pages[1].lines[0].text, "Title    : t0");
  EXPECT_EQ(l.pages[1].lines[2].text, "Property : 9600-8-1-N");
  EXPECT_EQ(l.pages[1].lines[3].text, "");
  EXPECT_EQ(l.pages[3].lines.size(), 4u);
  EXPECT_EQ(l.pages[3].pageText, "PAGE : 4");
  // No entries: the port page alone.
  EXPECT_EQ(LayoutPrint(Book(0), 660, 10).pages.size(), 1u);
}

TEST(PrintLayout, ASmallPageStillTakesAnEntryAndContinuesThePorts) {
  PrintLayout l = LayoutPrint(Book(2), 70, 10);  // 7 lines: 7 / 4 - 1 = 0
  EXPECT_EQ(l.entriesPerPage, 1);
  size_t portLines = 0, pages = 0;
  for (const auto& p : l.pages) {
    EXPECT_EQ(p.lines.size(), 4u);  // a port or an entry per page, never split
    if (pages++ < 15) portLines += p.lines.size();
  }
  EXPECT_EQ(portLines, 60u);
  EXPECT_EQ(l.pages.size(), 15u + 2u);
  EXPECT_EQ(l.pages[1].lines[0].text, "COM port         : 2");
  // A zero text height or a page smaller than a line never divides by zero.
  EXPECT_GE(LayoutPrint(Book(1), 5, 10).pages.size(), 1u);
  EXPECT_GE(LayoutPrint(Book(1), 100, 0).pages.size(), 1u);
}
