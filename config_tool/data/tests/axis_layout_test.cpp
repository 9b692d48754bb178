#include <gtest/gtest.h>

#include "axcfg_data/axis_layout.h"

using namespace axcfg;

namespace {

// Group A = axes 2 and 5, axis 3 alone, group B = axes 1, 7 and 8.
CAxisLayout MixedLayout() {
  CAxisLayout l;
  l.Clear();
  l.Append(MakeGroupEntry(1, 0x12));
  l.Append(MakeSingleAxisEntry(2));
  l.Append(MakeGroupEntry(2, 0xC1));
  return l;
}

}  // namespace

TEST(AxisEntry, EncodingOfSingleAndGroupEntries) {
  EXPECT_EQ(MakeSingleAxisEntry(0), 0x00010001u);
  EXPECT_EQ(MakeSingleAxisEntry(7), 0x00010080u);
  EXPECT_EQ(MakeSingleAxisEntry(8), 0u);
  EXPECT_EQ(MakeGroupEntry(2, 0x0B), 0x0203000Bu);
  EXPECT_EQ(EntryMask(0x0203000B), 0x0B);
  EXPECT_EQ(EntryAxisCount(0x0203000B), 3);
  EXPECT_EQ(EntryGroupNo(0x0203000B), 2);
  EXPECT_TRUE(IsGroupEntry(0x0203000B));
  EXPECT_FALSE(IsGroupEntry(0x01010004));  // a group number but one axis: a single axis
  EXPECT_EQ(GroupLetter(1), 'A');
  EXPECT_EQ(GroupLetter(4), 'D');
  EXPECT_EQ(GroupLetter(0), ' ');
  EXPECT_EQ(GroupLetter(5), ' ');
}

TEST(AxisLayout, NewLayoutHasAxisOneAlone) {
  CAxisLayout l;
  EXPECT_EQ(l.GetAxisEntryCount(), 1);
  EXPECT_EQ(l.GetAxisEntry(0), 0x00010001u);
  EXPECT_EQ(l.GetAxisEntry(1), 0u);
  EXPECT_EQ(l.GetTotalAxisCount(), 1);
  EXPECT_TRUE(l.IsAxisUsed(0));
  for (int a = 1; a < 8; ++a) EXPECT_FALSE(l.IsAxisUsed(a)) << a;
  EXPECT_EQ(l.GetAxisLabel(0), "1 axis");
  EXPECT_EQ(l.GetAxisLabel(1), "");
  EXPECT_TRUE(l.IsValid());
}

TEST(AxisLayout, WalksAndLookupsOfAMixedLayout) {
  CAxisLayout l = MixedLayout();
  ASSERT_TRUE(l.IsValid());
  EXPECT_EQ(l.GetTotalAxisCount(), 6);
  EXPECT_EQ(l.GetUsedAxisMask(), 0xD7);
  const int used[] = {1, 2, 3, 5, 7, 8};
  for (int n = 0; n < 6; ++n) EXPECT_EQ(l.GetUsedAxisNumber(n), used[n]) << n;
  EXPECT_EQ(l.GetUsedAxisNumber(6), -1);
  EXPECT_EQ(l.GetUsedAxisNumber(-1), -1);
  EXPECT_FALSE(l.IsAxisUsed(3));
  EXPECT_TRUE(l.IsAxisUsed(4));

  int cursor = 1;
  EXPECT_EQ(l.NextLayoutItem(cursor), kGroupItemBase + 0);
  EXPECT_EQ(cursor, 2);
  EXPECT_EQ(l.NextLayoutItem(cursor), 2);
  EXPECT_EQ(l.NextLayoutItem(cursor), kGroupItemBase + 1);
  EXPECT_EQ(cursor, 0);
  EXPECT_EQ(l.NextLayoutItem(cursor), -1);
  cursor = 4;
  EXPECT_EQ(l.NextLayoutItem(cursor), -1);

  EXPECT_EQ(l.FindGroupEntry(1).entryIndex, 2);
  EXPECT_EQ(l.FindGroupEntry(1).axisCount, 3);
  EXPECT_EQ(l.FindGroupEntry(2).entryIndex, 3);  // no group C: the entry count
  EXPECT_EQ(l.FindGroupEntry(2).axisCount, 0);
  EXPECT_EQ(l.FindGroupEntry(-1).entryIndex, 3);  // group number 0 is no group
  EXPECT_EQ(l.GetGroupAxis(-1, 1), -1);
  EXPECT_EQ(l.GetGroupAxis(0, 1), 1);
  EXPECT_EQ(l.GetGroupAxis(0, 2), 4);
  EXPECT_EQ(l.GetGroupAxis(0, 3), -1);
  EXPECT_EQ(l.GetGroupAxis(1, 3), 7);
  EXPECT_EQ(l.GetGroupAxis(1, 0), -1);
  EXPECT_EQ(l.GetGroupAxis(3, 1), -1);
  EXPECT_EQ(l.GetEntryAxisCount(1u << 4), 2);
  EXPECT_EQ(l.GetEntryAxisCount(1u << 2), 1);
  EXPECT_EQ(l.GetEntryAxisCount(1u << 3), 1);  // not in the layout

  EXPECT_EQ(l.GetAxisLabel(1), "2 axis [A]");
  EXPECT_EQ(l.GetAxisLabel(2), "3 axis");
  EXPECT_EQ(l.GetAxisLabel(7), "8 axis [B]");
  EXPECT_EQ(l.GetAxisLabel(3), "");

  AxisMaskSet set = l.BuildAxisMaskSet();
  EXPECT_EQ(set, (AxisMaskSet{0x12, 0xC1, 0, 0, 0x04}));
}

TEST(AxisLayout, GroupEntryWithOneAxisCountsAsSingleAxis) {
  CAxisLayout l;
  l.Clear();
  l.Append(0x01010004);  // group A holding only axis 3
  l.Append(MakeSingleAxisEntry(0));
  int cursor = 1;
  EXPECT_EQ(l.NextLayoutItem(cursor), 2);
  EXPECT_EQ(l.GetAxisLabel(2), "3 axis");
  EXPECT_EQ(l.GetAxisGroupNo(2), 0);
  // Looked up by its group number it is still found, as the mask set has it.
  EXPECT_EQ(l.FindGroupEntry(0).entryIndex, 0);
  EXPECT_EQ(l.FindGroupEntry(0).axisCount, 1);
  EXPECT_EQ(l.GetGroupAxis(0, 1), 2);
  EXPECT_EQ(l.GetGroupAxis(0, 2), -1);
  // Back to the unit it stays in group A, so the unit's words survive.
  EXPECT_EQ(EntriesToUnitLayout(l), (UnitLayoutWords{0x04, 0, 0, 0, 0x01}));
}

TEST(AxisLayout, DamagedCountsNeverReadBeyondTheEntries) {
  CAxisLayout l = MixedLayout();
  l.SetRawEntryCount(1000);
  EXPECT_EQ(l.GetAxisEntryCount(), 8);
  EXPECT_EQ(l.GetAxisEntry(8), 0u);
  EXPECT_FALSE(l.IsValid());
  l.SetRawEntryCount(-3);
  EXPECT_EQ(l.GetAxisEntryCount(), 0);
  EXPECT_EQ(l.GetTotalAxisCount(), 0);
  int cursor = 1;
  EXPECT_EQ(l.NextLayoutItem(cursor), -1);
  EXPECT_EQ(l.GetUsedAxisNumber(0), -1);
}

TEST(AxisLayout, ValidityRules) {
  auto make = [](std::initializer_list<uint32_t> entries) {
    CAxisLayout l;
    l.Clear();
    for (uint32_t e : entries) l.Append(e);
    return l;
  };
  EXPECT_TRUE(make({MakeGroupEntry(1, 0x07), MakeSingleAxisEntry(7)}).IsValid());
  EXPECT_FALSE(make({}).IsValid());
  EXPECT_FALSE(make({MakeGroupEntry(1, 0x03), MakeSingleAxisEntry(1)}).IsValid());     // overlap
  EXPECT_FALSE(make({MakeGroupEntry(1, 0x0F)}).IsValid());                            // 4-axis group
  EXPECT_FALSE(make({MakeGroupEntry(1, 0x03), MakeGroupEntry(1, 0x0C)}).IsValid());   // group A twice
  EXPECT_FALSE(make({0x01030003}).IsValid());                                          // count 3, mask of 2
  EXPECT_FALSE(make({MakeGroupEntry(5, 0x03)}).IsValid());                            // no group E
  EXPECT_FALSE(make({0x00010100}).IsValid());                                          // axis 9
}

TEST(UnitLayoutWords, ValidityOfTheUnitsCopy) {
  EXPECT_TRUE(IsUnitLayoutValid({0x07, 0, 0, 0, 0xF0}));
  EXPECT_FALSE(IsUnitLayoutValid({0, 0, 0, 0, 0}));           // no axis
  EXPECT_FALSE(IsUnitLayoutValid({0x0F, 0, 0, 0, 0}));        // 4-axis group
  EXPECT_TRUE(IsUnitLayoutValid({0, 0, 0, 0, 0xFF}));         // 8 single axes
  EXPECT_FALSE(IsUnitLayoutValid({0x03, 0x02, 0, 0, 0}));     // shared axis
  EXPECT_FALSE(IsUnitLayoutValid({0x01, 0, 0, 0, 0x01}));     // group and single
  EXPECT_TRUE(IsUnitLayoutValid({0xFF00, 0, 0, 0, 0x01}));    // high bytes are not axes
}

TEST(UnitLayoutWords, ConversionPutsGroupsBeforeSingleAxes) {
  CAxisLayout l;
  // Independent axes 2 and 3, group B = axes 1 and 8, group D = axis 4 alone.
  ASSERT_TRUE(UnitLayoutToEntries({0, 0x81, 0, 0x08, 0x06}, l));
  ASSERT_EQ(l.GetAxisEntryCount(), 4);
  EXPECT_EQ(l.GetAxisEntry(0), 0x02020081u);
  EXPECT_EQ(l.GetAxisEntry(1), 0x04010008u);
  EXPECT_EQ(l.GetAxisEntry(2), 0x00010002u);
  EXPECT_EQ(l.GetAxisEntry(3), 0x00010004u);
  EXPECT_EQ(EntriesToUnitLayout(l), (UnitLayoutWords{0, 0x81, 0, 0x08, 0x06}));

  CAxisLayout before = l;
  EXPECT_FALSE(UnitLayoutToEntries({0x1E, 0, 0, 0, 0}, l));  // a 4-axis group is refused
  EXPECT_EQ(l, before);
}
