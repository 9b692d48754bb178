#include <gtest/gtest.h>

#include "connsrv/ethernet_frame.h"
#include "connsrv/header_link.h"
#include "connsrv/result_codes.h"
#include "fake_link.h"
#include "plcframe/frame_codec.h"

using namespace connsrv;
using connsrv_test::FakeClock;
using connsrv_test::FakeLink;

namespace {

std::string Code(std::string_view data) {
  char buf[3];
  std::snprintf(buf, sizeof buf, "%02X", plcframe::BlockCheck(data));
  return buf;
}

std::string Bytes(std::initializer_list<int> b) {
  std::string s;
  for (int v : b) s += static_cast<char>(v);
  return s;
}

}  // namespace

TEST(EthernetFrame, TrailingMarksDecideWhereTheCodeGoes) {
  const std::string data = "%01#WDD0000000001";
  EXPECT_EQ(CEthernetFrame::CompleteText(data, false), data + Code(data) + "\r");
  // "&": digits, then the mark; "*" and "**": the digits take their place.
  EXPECT_EQ(CEthernetFrame::CompleteText(data + "&", false), data + Code(data) + "&\r");
  EXPECT_EQ(CEthernetFrame::CompleteText(data + "*", false), data + Code(data) + "\r");
  EXPECT_EQ(CEthernetFrame::CompleteText(data + "**", false), data + Code(data) + "\r");
  // Marks inside the text are data: the frame keeps every byte and the code covers them.
  const std::string inner = "%01#WDD00000*0&01";
  EXPECT_EQ(CEthernetFrame::CompleteText(inner, false), inner + Code(inner) + "\r");
  // Every byte counts for a single unchecked request, marks included.
  EXPECT_EQ(CEthernetFrame::CompleteText(data + "&", true), data + "&" + Code(data + "&") + "\r");
  EXPECT_EQ(CEthernetFrame::CompleteText(data + "**", true), data + "**" + Code(data + "**") + "\r");
}

TEST(EthernetFrame, TextEndsAtItsNulAndAnEmptyTextStillGetsACode) {
  const std::string withNul = std::string("%01#RDD0000000001", 17) + std::string("\0garbage", 8);
  EXPECT_EQ(CEthernetFrame::CompleteText(withNul, false), CEthernetFrame::CompleteText("%01#RDD0000000001", false));
  EXPECT_EQ(CEthernetFrame::CompleteText("", false), "00\r");
}

TEST(EthernetFrame, HeaderCarriesLengthStationsAndRoute) {
  EthernetRoute route;
  route.hops = {{1, 2}, {3, 4}};
  route.unit = 0x03;
  route.station = 0xFF;
  const std::string h = CEthernetFrame::Header(0x123, false, 7, route);
  EXPECT_EQ(h, Bytes({0x10, 0, 0x23, 0x01, 3, 7, 3, 2, 1, 2, 3, 4, 0x03, 0xFF}));
  EXPECT_EQ(CEthernetFrame::Header(5, true, 9, EthernetRoute{}), Bytes({0x10, 0, 5, 0, 4, 9, 0, 0, 0, 0}));

  size_t headerLength = 0, textLength = 0;
  ASSERT_EQ(CEthernetFrame::ParseHeader(h, headerLength, textLength), CEthernetFrame::Parse::kOk);
  EXPECT_EQ(headerLength, 14u);
  EXPECT_EQ(textLength, 0x123u);

  route.hops.resize(9);
  EXPECT_TRUE(CEthernetFrame::Header(5, false, 0, route).empty());
  EXPECT_TRUE(CEthernetFrame::Header(2051, false, 0, EthernetRoute{}).empty());
}

TEST(EthernetFrame, UntrustedHeadersAreCheckedBeforeUse) {
  size_t hl = 0, tl = 0;
  using P = CEthernetFrame::Parse;
  EXPECT_EQ(CEthernetFrame::ParseHeader("", hl, tl), P::kNeedMore);
  EXPECT_EQ(CEthernetFrame::ParseHeader(Bytes({0x10, 0, 5, 0}), hl, tl), P::kNeedMore);
  EXPECT_EQ(CEthernetFrame::ParseHeader(Bytes({0x10, 0, 5, 0, 3, 0, 3, 2, 1, 1}), hl, tl), P::kNeedMore);
  EXPECT_EQ(CEthernetFrame::ParseHeader("%01$RD", hl, tl), P::kBad);
  EXPECT_EQ(CEthernetFrame::ParseHeader(Bytes({0x10, 0, 5, 0, 3, 0, 3, 9}), hl, tl), P::kBad);        // 9 hops
  EXPECT_EQ(CEthernetFrame::ParseHeader(Bytes({0x10, 0, 0x03, 0x08, 3, 0, 3, 0}), hl, tl), P::kBad);  // 2,051
  EXPECT_EQ(CEthernetFrame::ParseHeader(Bytes({0x10, 0, 0x02, 0x08, 3, 0, 3, 0, 0, 0}), hl, tl), P::kOk);
  EXPECT_EQ(tl, 2050u);
}

TEST(EthernetFrame, RoutesReadFromTheirText) {
  EthernetRoute r;
  ASSERT_TRUE(CEthernetFrame::ParseRoute("1.2,3.4;0.255", r));
  ASSERT_EQ(r.hops.size(), 2u);
  EXPECT_EQ(r.hops[1], std::make_pair(uint8_t{3}, uint8_t{4}));
  EXPECT_EQ(r.unit, 0);
  EXPECT_EQ(r.station, 255);
  ASSERT_TRUE(CEthernetFrame::ParseRoute(";5.6", r));
  EXPECT_TRUE(r.hops.empty());
  for (const char* bad : {"", "1.2", "1.2;", "1.2,;3.4", "1.256;0.1", "1.2,;", "a.b;1.1", "1.2,3.4,;1.1",
                          "1.1,1.1,1.1,1.1,1.1,1.1,1.1,1.1,1.1;1.1"})
    EXPECT_FALSE(CEthernetFrame::ParseRoute(bad, r)) << bad;
}

struct HeaderLinkTest : ::testing::Test {
  FakeClock clock;
  FakeLink inner{clock};
  CHeaderLink link{inner};

  std::string ReadAll() {
    std::string got;
    char buf[7];  // small reads: the text must come out whole across them
    for (int i = 0; i < 200; ++i) {
      int n = link.Read(buf, sizeof buf, 10);
      if (n < 0) break;
      got.append(buf, static_cast<size_t>(n));
    }
    return got;
  }
};

TEST_F(HeaderLinkTest, StripsHeadersSplitAnywhere) {
  EthernetRoute route;
  route.hops = {{1, 1}};
  const std::string a = "%01$RD1234AB\r", b = "%01$WD12\r";
  const std::string stream = CEthernetFrame::Header(a.size(), false, 0, route) + a +
                             CEthernetFrame::Header(b.size(), false, 0, EthernetRoute{}) + b;
  for (size_t cut = 1; cut < stream.size(); ++cut) {
    link.Purge();
    inner.replies.push_back({{0, stream.substr(0, cut)}, {5, stream.substr(cut)}});
    link.Write("x", 1);
    EXPECT_EQ(ReadAll(), a + b) << cut;
    EXPECT_EQ(link.Fault(), 0);
  }
}

TEST_F(HeaderLinkTest, BareFramesAndBadHeadersFailTheRead) {
  const std::string bad[] = {"%01$RD1234AB\r", Bytes({0x10, 0, 5, 0, 3, 0, 3, 9}), Bytes({0x11, 0, 0, 0}),
                             Bytes({0x10, 0, 0xFF, 0xFF, 3, 0, 3, 0, 0, 0})};
  for (const auto& b : bad) {
    link.Purge();
    inner.replies.push_back({{0, b}});
    link.Write("x", 1);
    char buf[64];
    EXPECT_EQ(link.Read(buf, sizeof buf, 10), -1);
    EXPECT_EQ(link.Fault(), kErrEthernetReceive);
    EXPECT_EQ(link.Read(buf, sizeof buf, 10), -1);  // stays failed until purged
  }
  link.Purge();
  EXPECT_EQ(link.Fault(), 0);
}
