#include "feed/xml_document.h"

#include "feed/xml_encoding.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace tarnwick::feed {
namespace {

using std::string_literals::operator""s;

// The tree as "name(child,child)" siblings joined by ",", read through the table's links, so a
// test sees at once where a repair put every element.
std::string Shape(const XmlDocument& doc, uint32_t first) {
  std::string shape;
  for (uint32_t at = first; at != 0; at = doc.Elements()[at].nextSibling) {
    if (!shape.empty()) shape += ",";
    shape += doc.ElementName(at);
    if (uint32_t child = doc.Elements()[at].firstChild; child != 0) shape += "(" + Shape(doc, child) + ")";
  }
  return shape;
}

std::string Shape(const XmlDocument& doc) {
  return Shape(doc, doc.Elements()[0].firstChild);
}

struct Parsed {
  explicit Parsed(std::string text) { wellFormed = doc.ParseText(std::move(text)); }
  XmlDocument doc;
  bool wellFormed = false;
};

TEST(XmlDocument, EmptyTextHasNoRootAndFindsNothing) {
  XmlDocument fresh;
  EXPECT_EQ(fresh.ErrorText(), "Empty document");
  Parsed p("");
  EXPECT_FALSE(p.wellFormed);
  EXPECT_EQ(p.doc.ErrorText(), "Empty document");
  EXPECT_FALSE(p.doc.FindElement());
  EXPECT_FALSE(p.doc.FindChildElement());
  EXPECT_EQ(p.doc.TagName(), "");
}

TEST(XmlDocument, TextWithoutElementsHasNoRootEvenAfterABadNode) {
  Parsed p("just text <1 and more");
  EXPECT_FALSE(p.wellFormed);
  EXPECT_EQ(p.doc.ErrorText(), "No root element");
}

TEST(XmlDocument, SecondTopLevelElementIsReportedButStillReachable) {
  Parsed p("<a/><b/>");
  EXPECT_FALSE(p.wellFormed);
  EXPECT_EQ(p.doc.ErrorText(), "Root element has sibling");
  ASSERT_TRUE(p.doc.FindElement());
  EXPECT_EQ(p.doc.TagName(), "a");
  ASSERT_TRUE(p.doc.FindElement());
  EXPECT_EQ(p.doc.TagName(), "b");
  EXPECT_FALSE(p.doc.FindElement());
}

TEST(XmlDocument, MismatchedEndTagClosesTheInnerElementAsNotEnded) {
  Parsed p("<a><b></a>");
  EXPECT_FALSE(p.wellFormed);
  EXPECT_EQ(p.doc.ErrorText(), "End tag 'a' at offset 7 does not match start tag 'b' at offset 3");
  const ElementTable& table = p.doc.Elements();
  EXPECT_EQ(table[2].start, 3u);
  EXPECT_EQ(table[2].length, 3u);  // only its start tag
  EXPECT_EQ(table.EndTagLength(2), 0u);
  EXPECT_EQ(table[1].length, 10u);  // a is closed by its own end tag
  EXPECT_EQ(table.EndTagLength(1), 4u);
  EXPECT_EQ(Shape(p.doc), "a(b)");
}

TEST(XmlDocument, MismatchReportsTheInnermostOpenElementAndLiftsChildren) {
  Parsed p("<r><a><x/><b><y/></r>");
  EXPECT_EQ(p.doc.ErrorText(), "End tag 'r' at offset 18 does not match start tag 'b' at offset 10");
  EXPECT_EQ(Shape(p.doc), "r(a,x,b,y)");
  EXPECT_EQ(p.doc.Elements()[1].length, 21u);
}

TEST(XmlDocument, EndTagWithoutStartTagIsIgnored) {
  Parsed p("<a></b></a>");
  EXPECT_FALSE(p.wellFormed);
  EXPECT_EQ(p.doc.ErrorText(), "No start tag for end tag 'b' at offset 3");
  EXPECT_EQ(p.doc.Elements()[1].length, 11u);
  EXPECT_EQ(p.doc.Elements().EndTagLength(1), 4u);
}

TEST(XmlDocument, LoneStartTagIsNotEnded) {
  Parsed p("<a>");
  EXPECT_EQ(p.doc.ErrorText(), "Element 'a' at offset 0 not ended");
  EXPECT_FALSE(p.wellFormed);
  Parsed nested("<a><b>text");
  EXPECT_EQ(nested.doc.ErrorText(), "Root element has sibling");  // b was lifted beside a
  EXPECT_EQ(Shape(nested.doc), "a,b");
}

TEST(XmlDocument, FirstErrorWins) {
  Parsed p("<a><1><!x></b>");
  EXPECT_EQ(p.doc.ErrorText(), "Incorrect tag name character at offset 3");
  Parsed comment("<a><!-- never closed </a>");
  EXPECT_EQ(comment.doc.ErrorText(), "Comment at offset 3 unterminated");
  EXPECT_EQ(Shape(comment.doc), "a");
}

TEST(XmlDocument, EmptyElementMarkFollowsNameWhitespaceOrQuoteButNotAnUnquotedValue) {
  for (const char* text : {"<r><a/></r>", "<r><a /></r>", "<r><a b=\"1\"/></r>", "<r><a b='1'/></r>"}) {
    Parsed p(text);
    EXPECT_TRUE(p.wellFormed) << text;
    EXPECT_EQ(Shape(p.doc), "r(a)") << text;
  }
  Parsed unquoted("<r><a b=1/><c/></r>");
  EXPECT_FALSE(unquoted.wellFormed);
  EXPECT_EQ(unquoted.doc.ErrorText(), "End tag 'r' at offset 16 does not match start tag 'a' at offset 3");
  EXPECT_EQ(Shape(unquoted.doc), "r(a,c)");
  ASSERT_TRUE(unquoted.doc.FindChildElement("a"));
  EXPECT_EQ(unquoted.doc.ChildAttributeValue("b"), "1/");
}

TEST(XmlDocument, GreaterThanInsideAQuotedValueDoesNotEndTheTag) {
  Parsed p("<r><a b=\"x>y\" c='>'>t</a></r>");
  ASSERT_TRUE(p.wellFormed);
  ASSERT_TRUE(p.doc.FindChildElement("a"));
  EXPECT_EQ(p.doc.ChildAttributeValue("b"), "x>y");
  EXPECT_EQ(p.doc.ChildAttributeValue("c"), ">");
  EXPECT_EQ(p.doc.ChildText(), "t");
}

TEST(XmlDocument, ElementTextDecodesReferencesAsUtf8) {
  Parsed p("<a>&amp; &#233; &#x263A; &nbsp; &#0;</a>");
  ASSERT_TRUE(p.doc.FindElement());
  EXPECT_EQ(p.doc.ElementText(), "& \xC3\xA9 \xE2\x98\xBA &nbsp; &#0;");
}

TEST(XmlDocument, ElementTextJoinsTextAndRawCdataAndIsEmptyWithChildren) {
  Parsed p("<r><a> x &lt; <![CDATA[<b>&amp;</b>]]> y<!-- c --> <?p?>z</a><e/><k>t<i/></k></r>");
  ASSERT_TRUE(p.wellFormed);
  ASSERT_TRUE(p.doc.FindChildElement("a"));
  EXPECT_EQ(p.doc.ChildText(), " x < <b>&amp;</b> yz");
  ASSERT_TRUE(p.doc.FindChildElement("e"));
  EXPECT_EQ(p.doc.ChildText(), "");
  ASSERT_TRUE(p.doc.FindChildElement("k"));
  EXPECT_EQ(p.doc.ChildText(), "");
  EXPECT_EQ(p.doc.ElementText(), "");  // r has children
}

TEST(XmlDocument, AttributeValuesFollowTheTokenRules) {
  Parsed p("<r><a q=\"one &amp; two\" u=plain/x s='single' flag other=\"v\" e= >t</a></r>");
  ASSERT_TRUE(p.doc.FindChildElement());
  ASSERT_TRUE(p.doc.EnterElement());
  EXPECT_EQ(p.doc.AttributeValue("q"), "one & two");
  EXPECT_EQ(p.doc.AttributeValue("u"), "plain/x");
  EXPECT_EQ(p.doc.AttributeValue("s"), "single");
  EXPECT_EQ(p.doc.AttributeValue("flag"), "flag");
  EXPECT_EQ(p.doc.AttributeValue("other"), "v");
  EXPECT_EQ(p.doc.AttributeValue("e"), "");
  EXPECT_EQ(p.doc.AttributeValue("missing"), "");
  EXPECT_EQ(p.doc.AttributeValue("a"), "");  // the tag name is not an attribute
  EXPECT_EQ(p.doc.AttributeValue("q=ignored"), "one & two");
  Parsed last("<a flag/>");
  ASSERT_TRUE(last.doc.FindElement());
  EXPECT_EQ(last.doc.AttributeValue("flag"), "flag");
}

TEST(XmlDocument, ChannelTitleSearchNeverFindsAnItemTitle) {
  Parsed p(
      "<rss><channel><item><title>Item one</title></item><item><title>Item two</title></item>"
      "<title>The channel</title></channel></rss>");
  ASSERT_TRUE(p.wellFormed);
  ASSERT_TRUE(p.doc.FindChildElement("channel"));
  ASSERT_TRUE(p.doc.EnterElement());
  EXPECT_EQ(p.doc.TagName(), "channel");
  ASSERT_TRUE(p.doc.EnterElement());
  ASSERT_TRUE(p.doc.FindElement("title"));
  EXPECT_EQ(p.doc.ElementText(), "The channel");
}

TEST(XmlDocument, NamesMatchByTheirLeadingPartExactlyAndWithCase) {
  Parsed p("<feed><atom:title>A</atom:title><Title>B</Title><title>C</title></feed>");
  ASSERT_TRUE(p.doc.FindChildElement("title/x"));
  EXPECT_EQ(p.doc.ChildText(), "C");
  p.doc.RestartChildSearch();
  EXPECT_FALSE(p.doc.FindChildElement("ti"));
  EXPECT_TRUE(p.doc.FindChildElement("atom:title"));
  EXPECT_EQ(p.doc.ChildText(), "A");
  EXPECT_TRUE(p.doc.FindChildElement("Title[1]"));
  EXPECT_EQ(p.doc.ChildText(), "B");
}

// The walk of a feed check: from an empty position down to the leaves and back up.
TEST(XmlDocument, CursorMovesAcrossLevels) {
  Parsed p("<r><a><b/><c/></a><d/></r>");
  XmlDocument& doc = p.doc;
  ASSERT_TRUE(doc.FindChildElement());  // finds r, then its first child
  EXPECT_EQ(doc.TagName(), "r");
  EXPECT_EQ(doc.ElementName(doc.ChildPosition()), "a");
  ASSERT_TRUE(doc.EnterElement());
  EXPECT_EQ(doc.TagName(), "a");
  EXPECT_EQ(doc.ElementName(doc.ParentPosition()), "r");
  ASSERT_TRUE(doc.FindChildElement());
  ASSERT_TRUE(doc.FindChildElement());
  EXPECT_EQ(doc.ElementName(doc.ChildPosition()), "c");
  EXPECT_FALSE(doc.FindChildElement());
  EXPECT_EQ(doc.ElementName(doc.ChildPosition()), "c");  // a failed search keeps the position
  doc.RestartChildSearch();
  ASSERT_TRUE(doc.FindChildElement());
  EXPECT_EQ(doc.ElementName(doc.ChildPosition()), "b");
  ASSERT_TRUE(doc.LeaveElement());
  EXPECT_EQ(doc.TagName(), "r");
  EXPECT_EQ(doc.ElementName(doc.ChildPosition()), "a");
  ASSERT_TRUE(doc.FindChildElement());
  EXPECT_EQ(doc.ElementName(doc.ChildPosition()), "d");
  ASSERT_TRUE(doc.EnterElement());  // enters d
  EXPECT_FALSE(doc.FindElement());  // d has no sibling
  ASSERT_TRUE(doc.LeaveElement());
  EXPECT_FALSE(doc.LeaveElement());  // at the top
}

TEST(XmlDocument, EnteringWithoutAChildLeavesNoCurrentElement) {
  Parsed p("<feed><title>T</title></feed>");
  ASSERT_TRUE(p.doc.FindElement());
  ASSERT_TRUE(p.doc.EnterElement());
  EXPECT_EQ(p.doc.CurrentPosition(), 0u);
  EXPECT_EQ(p.doc.TagName(), "");
  EXPECT_FALSE(p.doc.EnterElement());
  EXPECT_EQ(p.doc.AttributeValue("x"), "");
  ASSERT_TRUE(p.doc.FindElement("title"));
  EXPECT_EQ(p.doc.ElementText(), "T");
}

// A title dialog looks for a "title" child of the root's first child this way; when the root has
// no children at all, the document stands in and the root itself is the candidate.
TEST(XmlDocument, WithNoElementAtTheLevelTheDocumentStandsInForTheCurrentElement) {
  Parsed p("<title>Only</title>");
  ASSERT_TRUE(p.doc.FindElement());
  ASSERT_TRUE(p.doc.EnterElement());
  EXPECT_FALSE(p.doc.FindElement("title"));
  ASSERT_TRUE(p.doc.FindChildElement("title"));
  EXPECT_EQ(p.doc.CurrentPosition(), 0u);
  EXPECT_EQ(p.doc.ChildText(), "Only");
  EXPECT_EQ(p.doc.ChildAttributeValue("x"), "");  // no current element, so no attribute either
}

TEST(XmlDocument, ElementMarkupIsTheRawContent) {
  Parsed p("<content type=\"xhtml\"><div>a &amp; <b>b</b></div></content>");
  ASSERT_TRUE(p.doc.FindElement());
  EXPECT_EQ(p.doc.ElementText(), "");
  EXPECT_EQ(p.doc.ElementMarkup(), "<div>a &amp; <b>b</b></div>");
  Parsed empty("<a/>");
  ASSERT_TRUE(empty.doc.FindElement());
  EXPECT_EQ(empty.doc.ElementMarkup(), "");
  EXPECT_EQ(XmlDocument().ElementMarkup(), "");
}

TEST(XmlDocument, CopiesAreIndependent) {
  XmlDocument original;
  original.ParseText("<r><a>one</a><b>two</b></r>");
  ASSERT_TRUE(original.FindChildElement("b"));
  XmlDocument copy = original;
  original.ParseText("<x/>");
  EXPECT_EQ(copy.ChildText(), "two");
  ASSERT_TRUE(copy.EnterElement());
  EXPECT_EQ(copy.TagName(), "b");
  EXPECT_TRUE(copy.WellFormed());
  copy = original;
  EXPECT_EQ(copy.Text(), "<x/>");
  EXPECT_EQ(copy.CurrentPosition(), 0u);
}

TEST(XmlDocument, LoadFileReportsTheSizeAndAnyParseError) {
  test::TempDir dir;
  test::WriteFileBytes(dir.File("good.xml"), "<rss><channel/></rss>");
  test::WriteFileBytes(dir.File("bad.xml"), "<rss><channel></rss>");
  test::WriteFileBytes(dir.File("empty.xml"), "");
  XmlDocument doc;
  EXPECT_TRUE(doc.LoadFile(dir.File("good.xml")));
  EXPECT_EQ(doc.ErrorText(), "21 bytes");
  EXPECT_FALSE(doc.LoadFile(dir.File("bad.xml")));
  EXPECT_EQ(doc.ErrorText(), "20 bytes, End tag 'rss' at offset 15 does not match start tag 'channel' at offset 5");
  EXPECT_FALSE(doc.LoadFile(dir.File("empty.xml")));
  EXPECT_EQ(doc.ErrorText(), "0 bytes, Empty document");
  EXPECT_FALSE(doc.ParseText("<a>"));
  EXPECT_EQ(doc.ErrorText(), "Element 'a' at offset 0 not ended");
}

// What a parse leaves besides its error text: the text and every record of the table.
std::string Outcome(const XmlDocument& doc) {
  std::string outcome = doc.Text() + "|" + std::to_string(doc.WellFormed());
  for (uint32_t at = 0; at < doc.Elements().Count(); ++at) {
    const ElementRecord& record = doc.Elements()[at];
    for (uint32_t field : {record.start, record.length, record.tagLengths, record.flags, record.parent,
                           record.firstChild, record.nextSibling, record.previousSibling}) {
      outcome += " " + std::to_string(field);
    }
  }
  return outcome;
}

// UTF-8 documents are parsed as read, without the conversion; the result must be what converting
// first gave, valid or not, whatever the declaration, and wherever the file's read pieces of
// 128 KiB cut a character.
TEST(XmlDocument, LoadFileParsesUtf8DocumentsToTheTableOfTheConvertedText) {
  const std::string declared = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
  const std::string pad(128 * 1024 - 20, 'x');
  const std::vector<std::string> bodies = {"caf\xC3\xA9 \xF0\x9F\x98\x80",
                                           "caf\xE9",
                                           "\xFF\xFE",
                                           "\xC0\xAF \xED\xA0\x80",
                                           "cut \xE2\x82",
                                           pad + "\xF0\x9F\x98\x80",
                                           pad + "\xE2\x82" + "x",
                                           pad + "\xF4\x90\x80\x80",
                                           pad + "\xE2\x82\xAC"};
  test::TempDir dir;
  for (const std::string& head : {std::string(), declared, "<?xml version='1.0' encoding='utf8'?>"s}) {
    for (const std::string& body : bodies) {
      // Shifting the body moves each character across the piece boundary.
      for (size_t shift = 0; shift < (body.size() > pad.size() ? 4u : 1u); ++shift) {
        const std::string bytes = head + "<rss><t a='\xC3\xA9'>" + std::string(shift, ' ') + body + "</t></rss>";
        test::WriteFileBytes(dir.File("feed.xml"), bytes);
        XmlDocument loaded;
        loaded.LoadFile(dir.File("feed.xml"));
        XmlDocument converted;
        converted.ParseText(XmlDocumentAsUtf8(bytes));
        const std::string size = std::to_string(bytes.size()) + " bytes";
        EXPECT_EQ(loaded.ErrorText(), converted.ErrorText().empty() ? size : size + ", " + converted.ErrorText());
        EXPECT_TRUE(Outcome(loaded) == Outcome(converted)) << head << " shift " << shift << " body " << body.size();
      }
    }
  }
}

TEST(XmlDocument, UnreadableFileKeepsThePreviousDocument) {
  test::TempDir dir;
  XmlDocument doc;
  doc.ParseText("<a>kept</a>");
  EXPECT_FALSE(doc.LoadFile(dir.File("missing.xml")));
  EXPECT_EQ(doc.ErrorText(), "No such file or directory");
  EXPECT_FALSE(doc.LoadFile(dir.Path()));
  EXPECT_EQ(doc.ErrorText(), "Is a directory");
  ASSERT_TRUE(doc.FindElement());
  EXPECT_EQ(doc.ElementText(), "kept");
}

TEST(XmlDocument, FileBeyondTheAddressableSizeIsRefusedUnread) {
  test::TempDir dir;
  std::string path = dir.File("huge.xml");
  test::WriteFileBytes(path, "<a/>");
  std::filesystem::resize_file(path, XmlDocument::kMaxTextBytes + 1);  // sparse: nothing is written
  XmlDocument doc;
  doc.ParseText("<kept/>");
  EXPECT_FALSE(doc.LoadFile(path));
  EXPECT_EQ(doc.ErrorText(), "File too large");
  EXPECT_EQ(doc.Text(), "<kept/>");
}

TEST(XmlDocument, NamedEdgeDocumentsParseAsExpected) {
  const char* source = std::getenv("TARNWICK_SOURCE_DIR");
  ASSERT_NE(source, nullptr);
  std::string folder = std::string(source) + "/tests/data/feed/xml/";
  XmlDocument doc;
  ASSERT_TRUE(doc.LoadFile(folder + "doctype_internal_subset.xml")) << doc.ErrorText();
  ASSERT_TRUE(doc.FindChildElement("title"));
  EXPECT_EQ(doc.ChildText(), "Subset > skipped");
  ASSERT_TRUE(doc.LoadFile(folder + "atom_xhtml_content.xml")) << doc.ErrorText();
  ASSERT_TRUE(doc.FindChildElement("entry"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.FindChildElement("content"));
  ASSERT_TRUE(doc.EnterElement());
  EXPECT_EQ(doc.ElementText(), "");
  EXPECT_EQ(doc.ElementMarkup(), "<div xmlns=\"http://www.w3.org/1999/xhtml\"><p>Caf\xC3\xA9 &amp; more</p></div>");
  EXPECT_EQ(doc.AttributeValue("type"), "xhtml");
}

}  // namespace
}  // namespace tarnwick::feed
