#include "feed/xml_start_tag.h"

#include <gtest/gtest.h>

namespace tarnwick::feed {
namespace {

TEST(NameKey, StopsAtTheFirstSeparatorCharacter) {
  EXPECT_EQ(NameKey("title"), "title");
  EXPECT_EQ(NameKey("title/x"), "title");
  EXPECT_EQ(NameKey("a b"), "a");
  EXPECT_EQ(NameKey("a=b"), "a");
  EXPECT_EQ(NameKey("a[1]"), "a");
  EXPECT_EQ(NameKey("a]"), "a");
  EXPECT_EQ(NameKey("dc:date"), "dc:date");
}

TEST(StartTagName, SkipsWhitespaceAndStopsAtMarkupCharacters) {
  EXPECT_EQ(StartTagName("<item>"), "item");
  EXPECT_EQ(StartTagName("<atom:link href='x'/>"), "atom:link");
  EXPECT_EQ(StartTagName("<a=b>"), "a");
  EXPECT_EQ(StartTagName("<a\\b>"), "a");
  EXPECT_EQ(StartTagName("<a?b>"), "a");
  EXPECT_EQ(StartTagName("<a!b>"), "a");
  EXPECT_EQ(StartTagName("<"), "");
}

TEST(StartTagAttribute, QuotedAndUnquotedValuesAreDecoded) {
  EXPECT_EQ(StartTagAttribute("<a href=\"x?a=1&amp;b=2\">", "href"), "x?a=1&b=2");
  EXPECT_EQ(StartTagAttribute("<a href='say \"hi\"'>", "href"), "say \"hi\"");
  EXPECT_EQ(StartTagAttribute("<a href=x&lt;y>", "href"), "x<y");
  EXPECT_EQ(StartTagAttribute("<a href = \"spaced\" >", "href"), "spaced");
  EXPECT_EQ(StartTagAttribute("<a\nhref\n=\n'lines'>", "href"), "lines");
}

TEST(StartTagAttribute, TheFirstAttributeOfTheNameWins) {
  EXPECT_EQ(StartTagAttribute("<a x='1' x='2'>", "x"), "1");
  EXPECT_EQ(StartTagAttribute("<a y='x' x='2'>", "x"), "2");  // values are never taken for names
  EXPECT_EQ(StartTagAttribute("<a xx='1' x='2'>", "x"), "2");
}

TEST(StartTagAttribute, AttributeWithoutEqualsGivesItsOwnName) {
  EXPECT_EQ(StartTagAttribute("<option selected>", "selected"), "selected");
  EXPECT_EQ(StartTagAttribute("<option selected/>", "selected"), "selected");
  EXPECT_EQ(StartTagAttribute("<option selected?>", "selected"), "selected");
  EXPECT_EQ(StartTagAttribute("<option selected value='1'>", "selected"), "selected");
  EXPECT_EQ(StartTagAttribute("<option selected 'stray'>", "selected"), "selected");
  EXPECT_EQ(StartTagAttribute("<option selected value='1'>", "value"), "1");
}

TEST(StartTagAttribute, TheTagEndsWhereANameIsExpected) {
  EXPECT_EQ(StartTagAttribute("<a / b='1'>", "b"), "");
  EXPECT_EQ(StartTagAttribute("<a ? b='1'>", "b"), "");
  EXPECT_EQ(StartTagAttribute("<a 'q' b='1'>", "b"), "1");  // a stray quoted run is passed over
  EXPECT_EQ(StartTagAttribute("<a 'b'='1'>", "b"), "");     // and never taken for a name
}

TEST(StartTagAttribute, ValuesNeverReachPastTheTag) {
  EXPECT_EQ(StartTagAttribute("<a b='open>", "b"), "open");
  EXPECT_EQ(StartTagAttribute("<a b=>", "b"), "");
  EXPECT_EQ(StartTagAttribute("", "b"), "");
  EXPECT_EQ(StartTagAttribute("<a b=x>y c=d>", "b"), "x");
}

}  // namespace
}  // namespace tarnwick::feed
