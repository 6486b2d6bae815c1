#include "feed/xml_element_table.h"

#include <gtest/gtest.h>

namespace tarnwick::feed {
namespace {

TEST(ElementTable, StartsWithRoomForTheTextAndGrowsByHalf) {
  ElementTable table;
  table.Reset(64 * 1000);
  EXPECT_EQ(table.Capacity(), 1008u);
  EXPECT_EQ(table.Count(), 1u);
  while (table.Count() < 1008) table.Add();
  EXPECT_EQ(table.Capacity(), 1008u);
  EXPECT_EQ(table.Add(), 1008u);
  EXPECT_EQ(table.Capacity(), 1512u);
}

TEST(ElementTable, GrowthNeverPassesThePageAfterTheLastRecordInUse) {
  ElementTable table;
  table.Reset(64ull * 60000);  // room for 60,008
  while (table.Count() < 60008) table.Add();
  table.Add();  // one and a half times: 90,012, well before the end of page 1
  EXPECT_EQ(table.Capacity(), 90012u);
  EXPECT_EQ(table.PageCount(), 2u);

  table.Reset(64ull * 250000);  // room for 250,008, the last record in page 3
  while (table.Count() < 250008) table.Add();
  table.Add();  // one and a half times would be 375,012; the end of page 4 is 327,680
  EXPECT_EQ(table.Capacity(), 327680u);
  EXPECT_EQ(table.PageCount(), 5u);
}

TEST(ElementTable, FullPagesNeverMoveAndRecordsSurviveGrowth) {
  ElementTable table;
  std::vector<const ElementRecord*> firstRecords;
  for (uint32_t index = 1; index < 300000; ++index) {
    ASSERT_EQ(table.Add(), index);
    table[index].start = index;
    if (index == ElementTable::kPageRecords + 5) firstRecords = {&table[5], &table[ElementTable::kPageRecords - 1]};
  }
  EXPECT_EQ(firstRecords[0], &table[5]);
  EXPECT_EQ(firstRecords[1], &table[ElementTable::kPageRecords - 1]);
  for (uint32_t index = 1; index < 300000; ++index) ASSERT_EQ(table[index].start, index);
  EXPECT_LE(table.Capacity(), 6u * ElementTable::kPageRecords);  // at most the page after the last used
}

TEST(ElementTable, NewRecordsAreZeroedAndResetClearsRecordZero) {
  ElementTable table;
  table[0].firstChild = 7;
  table[0].flags = ElementTable::kIllFormedFlag;
  uint32_t index = table.Add();
  table[index].nextSibling = 9;
  table.Reset(0);
  EXPECT_EQ(table[0].firstChild, 0u);
  EXPECT_EQ(table[0].flags, 0u);
  EXPECT_EQ(table.Add(), index);
  EXPECT_EQ(table[index].nextSibling, 0u);
}

TEST(ElementTable, TagLengthsShareAWordAndLongOnesStayExact) {
  ElementTable table;
  uint32_t a = table.Add();
  uint32_t b = table.Add();
  table.SetStartTagLength(a, 12);
  table.SetEndTagLength(a, 7);
  EXPECT_EQ(table[a].tagLengths, 12u | (7u << 22));
  table.SetStartTagLength(b, 5000000);
  table.SetEndTagLength(b, 70000);
  EXPECT_EQ(table.StartTagLength(b), 5000000u);
  EXPECT_EQ(table.EndTagLength(b), 70000u);
  table.SetStartTagLength(a, ElementTable::kStartTagField);  // exactly the field's largest value
  table.SetEndTagLength(a, ElementTable::kEndTagField);
  EXPECT_EQ(table.StartTagLength(a), ElementTable::kStartTagField);
  EXPECT_EQ(table.EndTagLength(a), ElementTable::kEndTagField);

  ElementTable copy = table;
  table.Reset(0);
  EXPECT_EQ(copy.StartTagLength(b), 5000000u);
  EXPECT_EQ(copy.EndTagLength(b), 70000u);
  EXPECT_EQ(copy.Count(), 3u);
}

}  // namespace
}  // namespace tarnwick::feed
