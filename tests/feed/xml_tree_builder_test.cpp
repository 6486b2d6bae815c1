#include "feed/xml_tree_builder.h"

#include <gtest/gtest.h>

#include <string>

namespace tarnwick::feed {
namespace {

// What is left open at the end of the text is reported by its innermost element, the one the
// text broke off in; every open element is then cut to its start tag and its children lifted out.
TEST(XmlTreeBuilder, ElementsLeftOpenAtTheEndReportTheInnermostOne) {
  const std::string text = "<rss><channel><item><title>T</title>";
  ElementTable table;
  table.Reset(text.size());
  std::string error = "left from before";
  EXPECT_EQ(BuildElementTree(text, table, error), 1u);
  EXPECT_EQ(error, "Element 'item' at offset 14 not ended");
  EXPECT_NE(table[0].flags & ElementTable::kIllFormedFlag, 0u);
  // rss, channel, item and title now follow one another at the top level.
  for (uint32_t index = 1; index <= 4; ++index) EXPECT_EQ(table[index].parent, 0u) << index;
  EXPECT_EQ(table[1].nextSibling, 2u);
  EXPECT_EQ(table[2].nextSibling, 3u);
  EXPECT_EQ(table[3].nextSibling, 4u);
  EXPECT_EQ(table[3].length, 6u);
}

}  // namespace
}  // namespace tarnwick::feed
