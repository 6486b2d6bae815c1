#include "feed/xml_references.h"

#include <gtest/gtest.h>

namespace tarnwick::feed {
namespace {

TEST(UnescapeText, NamedEntitiesAreTheFiveOfXml) {
  EXPECT_EQ(UnescapeText("&lt;a&gt; &amp;amp; &apos;&quot;"), "<a> &amp; '\"");
  EXPECT_EQ(UnescapeText("&nbsp;&copy;&LT;&amp"), "&nbsp;&copy;&LT;&amp");
  EXPECT_EQ(UnescapeText("trailing &"), "trailing &");
  EXPECT_EQ(UnescapeText("&gt"), "&gt");  // must fit with its ";"
}

TEST(UnescapeText, NumericReferencesBecomeUtf8OfOneToFourBytes) {
  EXPECT_EQ(UnescapeText("&#65;&#x42;"), "AB");
  EXPECT_EQ(UnescapeText("&#233;"), "\xC3\xA9");
  EXPECT_EQ(UnescapeText("&#x263A;"), "\xE2\x98\xBA");
  EXPECT_EQ(UnescapeText("&#127;&#128;&#2047;&#2048;&#xFFFF;"), "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF");
  EXPECT_EQ(UnescapeText("&#x1F600;"), "\xF0\x9F\x98\x80");
  EXPECT_EQ(UnescapeText("&#1114111;"), "\xF4\x8F\xBF\xBF");
}

TEST(UnescapeText, ReferencesThatCannotBeReadStayAsWritten) {
  EXPECT_EQ(UnescapeText("&#0;&#;&#x;&#xZZ;"), "&#0;&#;&#x;&#xZZ;");
  EXPECT_EQ(UnescapeText("&#X41;"), "&#X41;");            // only a lower-case x is hexadecimal
  EXPECT_EQ(UnescapeText("&#12345678;"), "&#12345678;");  // ";" more than 7 places after the digits
  EXPECT_EQ(UnescapeText("&#1234567;"), "&#1234567;");    // beyond U+10FFFF
  EXPECT_EQ(UnescapeText("&#x110000;"), "&#x110000;");
  EXPECT_EQ(UnescapeText("&#xD800;&#xDFFF;&#55357;"), "&#xD800;&#xDFFF;&#55357;");  // surrogates
  EXPECT_EQ(UnescapeText("&#xD7FF;&#xE000;"), "\xED\x9F\xBF\xEE\x80\x80");          // their neighbours are read
  EXPECT_EQ(UnescapeText("&#-65;"), "&#-65;");
  EXPECT_EQ(UnescapeText("&#65"), "&#65");
}

TEST(UnescapeText, DigitsAreReadAsTheStandardConversionReadsThem) {
  EXPECT_EQ(UnescapeText("&#65x;"), "A");  // the conversion stops at the first non-digit
  EXPECT_EQ(UnescapeText("&#x0041;"), "A");
  EXPECT_EQ(UnescapeText("&#0000065;"), "A");
}

TEST(UnescapeText, OutputNeverOutgrowsInputAndPlainTextPassesThrough) {
  std::string plain = "no references here, just <text> and bytes \xC3\xA9";
  EXPECT_EQ(UnescapeText(plain), plain);
  for (std::string text : {"&#1;", "&#128;", "&#x800;", "&#65536;", "&#x10000;"}) {
    EXPECT_LE(UnescapeText(text).size(), text.size()) << text;
  }
  std::string withNul("a\0&amp;\0b", 9);
  EXPECT_EQ(UnescapeText(withNul), std::string("a\0&\0b", 5));
}

}  // namespace
}  // namespace tarnwick::feed
