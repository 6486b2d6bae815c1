#include "feed/xml_document.h"
#include "platform/file_io.h"

#include "../../fuzz/xml_table_checks.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>

namespace tarnwick::feed {
namespace {

// Visits every element with the cursor, in document order, reading everything a caller can read.
// Returns the number of elements visited.
size_t WalkEverything(XmlDocument& doc) {
  size_t visited = 0;
  doc.Rewind();
  if (!doc.FindElement()) return 0;
  for (;;) {
    // Broken links could make the walk circle; more visits than elements is a failure already.
    if (++visited > doc.Elements().Count()) return visited;
    std::string name = doc.TagName();
    size_t read = name.size() + doc.ElementText().size();
    // The markup of an element with children copies its whole subtree; reading it at every level
    // of a deep document would cost the square of its size, so only leaves give theirs.
    if (doc.Elements()[doc.CurrentPosition()].firstChild == 0) read += doc.ElementMarkup().size();
    read += doc.AttributeValue("href").size() + doc.AttributeValue(name).size();
    if (doc.FindChildElement()) {
      read += doc.ChildText().size() + doc.ChildAttributeValue("x").size();
      EXPECT_TRUE(doc.EnterElement());
      continue;
    }
    while (!doc.FindElement()) {
      if (!doc.LeaveElement()) return visited;
    }
    (void)read;
  }
}

void ExpectSound(XmlDocument& doc, const std::string& what) {
  EXPECT_EQ(TableFault(doc), "") << what;
  EXPECT_EQ(WalkEverything(doc), doc.Elements().Count() - 1u) << what;
}

std::string Repeat(std::string_view piece, size_t times) {
  std::string text;
  text.reserve(piece.size() * times);
  for (size_t i = 0; i < times; ++i) text += piece;
  return text;
}

constexpr size_t kMillion = 1000000;

TEST(XmlLimits, AMillionUnclosedElementsAreLiftedToTheTopLevelInLinearTime) {
  XmlDocument doc;
  EXPECT_FALSE(doc.ParseText(Repeat("<a>", kMillion)));
  EXPECT_EQ(doc.ErrorText(), "Root element has sibling");
  const ElementTable& table = doc.Elements();
  ASSERT_EQ(table.Count(), kMillion + 1);
  EXPECT_EQ(table[0].firstChild, 1u);
  EXPECT_EQ(table[1].nextSibling, 2u);
  EXPECT_EQ(table[kMillion].parent, 0u);
  EXPECT_EQ(table[kMillion].length, 3u);
  ExpectSound(doc, "unclosed");
}

TEST(XmlLimits, AMillionNestedElementsAreWalkedWithoutRecursion) {
  XmlDocument doc;
  ASSERT_TRUE(doc.ParseText(Repeat("<a>", kMillion) + "deep" + Repeat("</a>", kMillion)));
  ExpectSound(doc, "nested");
  doc.Rewind();
  ASSERT_TRUE(doc.FindElement());
  size_t depth = 1;
  while (doc.FindChildElement() && doc.EnterElement()) ++depth;
  EXPECT_EQ(depth, kMillion);
  EXPECT_EQ(doc.ElementText(), "deep");
}

TEST(XmlLimits, FloodsOfStrayEndTagsUnderDeepNestingStayLinear) {
  std::string text = Repeat("<a>", kMillion);
  for (size_t i = 0; i < kMillion; ++i) text += "</b" + std::to_string(i % 5000) + ">";
  text += Repeat("</a>", kMillion);
  XmlDocument doc;
  EXPECT_FALSE(doc.ParseText(text));
  EXPECT_EQ(doc.ErrorText(), "No start tag for end tag 'b0' at offset 3000000");
  EXPECT_EQ(doc.Elements()[kMillion].length, text.size() - 4 * kMillion + 4 - 3 * (kMillion - 1));
  ExpectSound(doc, "stray end tags");
}

TEST(XmlLimits, OverlongStartTagKeepsItsExactLength) {
  std::string value(5000000, 'v');
  XmlDocument doc;
  ASSERT_TRUE(doc.ParseText("<r><a x=\"" + value + "\">text</a><e y='" + value + "'/></r>"));
  ASSERT_TRUE(doc.FindChildElement("a"));
  uint32_t a = doc.ChildPosition();
  EXPECT_EQ(doc.Elements().StartTagLength(a), value.size() + 8);
  EXPECT_EQ(doc.Elements()[a].length, value.size() + 8 + 4 + 4);
  EXPECT_EQ(doc.ChildText(), "text");
  EXPECT_EQ(doc.ChildAttributeValue("x"), value);
  ASSERT_TRUE(doc.FindChildElement("e"));
  EXPECT_EQ(doc.Elements()[doc.ChildPosition()].length, value.size() + 9);
  EXPECT_EQ(doc.ChildAttributeValue("y").size(), value.size());
  ExpectSound(doc, "long start tag");
}

TEST(XmlLimits, OverlongEndTagKeepsItsExactLength) {
  XmlDocument doc;
  ASSERT_TRUE(doc.ParseText("<r><a>t</a" + std::string(2000, ' ') + "><b/></r>"));
  ASSERT_TRUE(doc.FindChildElement("a"));
  EXPECT_EQ(doc.Elements().EndTagLength(doc.ChildPosition()), 2004u);
  ASSERT_TRUE(doc.EnterElement());
  EXPECT_EQ(doc.ElementMarkup(), "t");
  EXPECT_EQ(doc.ElementText(), "t");
  ExpectSound(doc, "long end tag");
}

TEST(XmlLimits, AHundredMegabyteFeedIsParsedWhole) {
  std::string item =
      "<item><title>Item &amp; title</title><link>http://example.com/a?b=1&amp;c=2</link>"
      "<description><![CDATA[<p>Some <b>HTML</b> body text that runs on for a while.</p>]]></description>"
      "<guid isPermaLink=\"false\">id</guid><pubDate>Tue, 10 Jun 2003 04:00:00 GMT</pubDate></item>\n";
  size_t items = 100 * 1024 * 1024 / item.size() + 1;
  std::string text = "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>Big</title>";
  text += Repeat(item, items);
  text += "</channel></rss>";
  ASSERT_GT(text.size(), 100u * 1024 * 1024);
  XmlDocument doc;
  ASSERT_TRUE(doc.ParseText(std::move(text))) << doc.ErrorText();
  ASSERT_EQ(doc.Elements().Count(), 1 + 3 + 6 * items);  // record 0, rss, channel, title, items
  ASSERT_TRUE(doc.FindChildElement("channel"));
  ASSERT_TRUE(doc.EnterElement());
  size_t found = 0;
  while (doc.FindChildElement("item")) ++found;
  EXPECT_EQ(found, items);
  ASSERT_TRUE(doc.EnterElement());
  EXPECT_EQ(doc.AttributeValue("x"), "");
  ASSERT_TRUE(doc.FindChildElement("description"));
  EXPECT_EQ(doc.ChildText(), "<p>Some <b>HTML</b> body text that runs on for a while.</p>");
}

// Random byte strings made of the pieces that steer the scanner, with NUL and high bytes among
// them; a fixed seed keeps every run the same.
TEST(XmlLimits, ArbitraryBytesAlwaysLeaveASoundTree) {
  const std::vector<std::string> pieces = {"<a>",
                                           "</a>",
                                           "<b x='1'>",
                                           "</b>",
                                           "<a/>",
                                           "<!--",
                                           "-->",
                                           "<![CDATA[",
                                           "]]>",
                                           "<?p",
                                           "?>",
                                           "<!DOCTYPE d [",
                                           "]>",
                                           "<!ENTITY e '>'>",
                                           "\"",
                                           "'",
                                           "<",
                                           ">",
                                           "/",
                                           "=",
                                           "&amp;",
                                           "&#233;",
                                           "&#x1F600;",
                                           "text",
                                           " ",
                                           "\n",
                                           std::string(1, '\0'),
                                           "\xC3\xA9",
                                           "\xFF",
                                           "<1",
                                           "<!x",
                                           "<!-",
                                           "<![",
                                           "x=y",
                                           "<c d=e/>",
                                           "</",
                                           "<!A"};
  std::mt19937 random(20240607);
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    size_t length = random() % 40;
    for (size_t i = 0; i < length; ++i) text += pieces[random() % pieces.size()];
    XmlDocument doc;
    bool wellFormed = doc.ParseText(text);
    EXPECT_EQ(wellFormed, doc.ErrorText().empty()) << text;
    ExpectSound(doc, text);
    XmlDocument copy = doc;
    EXPECT_EQ(WalkEverything(copy), doc.Elements().Count() - 1u);
  }
}

std::string CorpusFolder() {
  const char* shared = std::getenv("TARNWICK_SHARED_DIR");
  return shared != nullptr ? std::string(shared) + "/corpus/feeds" : std::string();
}

// Every document of the shared feed corpus gives a sound tree that the cursor walks completely,
// and every document of the corpus's "wellformed" folders (all true XML) is found well-formed.
TEST(XmlCorpus, EveryFeedDocumentParsesIntoASoundTree) {
  std::string folder = CorpusFolder();
  if (folder.empty() || !std::filesystem::is_directory(folder)) GTEST_SKIP() << "no feed corpus at " << folder;
  size_t files = 0;
  size_t wellFormedFiles = 0;
  XmlDocument doc;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    std::string path = entry.path().generic_string();
    ++files;
    bool wellFormed = doc.LoadFile(path);
    ExpectSound(doc, path);
    if (path.find("/wellformed/") != std::string::npos) {
      ++wellFormedFiles;
      EXPECT_TRUE(wellFormed) << path << ": " << doc.ErrorText();
    }
  }
  EXPECT_GT(files, 4000u);
  EXPECT_GT(wellFormedFiles, 1700u);
}

// Reading documents in their own encoding loses none: every corpus document whose bytes parse as
// they stand still loads well-formed, and the wide (UTF-16, UTF-32) documents now load too.
TEST(XmlCorpus, ConversionKeepsEveryDocumentAndReadsTheWideOnes) {
  std::string folder = CorpusFolder();
  if (folder.empty() || !std::filesystem::is_directory(folder)) GTEST_SKIP() << "no feed corpus at " << folder;
  size_t wideFiles = 0;
  XmlDocument loaded;
  XmlDocument raw;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    const std::string path = entry.path().string();
    std::string bytes;
    ASSERT_TRUE(platform::ReadFileIfPresent(path, bytes)) << path;
    const bool wide = bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF") ||
                      bytes.starts_with(std::string_view("<\0?\0", 4)) ||
                      bytes.starts_with(std::string_view("\0<\0?", 4));
    const bool rawWellFormed = raw.ParseText(std::move(bytes));
    const bool loadedWellFormed = loaded.LoadFile(path);
    if (rawWellFormed) EXPECT_TRUE(loadedWellFormed) << path << ": " << loaded.ErrorText();
    if (wide) {
      ++wideFiles;
      EXPECT_TRUE(loadedWellFormed) << path << ": " << loaded.ErrorText();
    }
  }
  EXPECT_GE(wideFiles, 10u);
}

}  // namespace
}  // namespace tarnwick::feed
