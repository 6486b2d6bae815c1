#include "feed/xml_node_scanner.h"

#include <gtest/gtest.h>

#include <vector>

namespace tarnwick::feed {
namespace {

// Every node of a text as "type:start+length", with a bad node's message after a "|".
std::vector<std::string> Nodes(std::string_view text) {
  std::vector<std::string> nodes;
  NodeScanner scanner(text);
  NodeToken token;
  for (scanner.Next(token); token.type != NodeType::kEndOfDocument; scanner.Next(token)) {
    std::string node = std::to_string(static_cast<int>(token.type)) + ":" + std::to_string(token.start) + "+" +
                       std::to_string(token.length);
    if (token.type == NodeType::kBad) node += "|" + token.message;
    nodes.push_back(node);
  }
  return nodes;
}

using List = std::vector<std::string>;

// The first node of a text: its type, length and message.
NodeToken First(std::string_view text) {
  NodeScanner scanner(text);
  NodeToken token;
  scanner.Next(token);
  return token;
}

TEST(NodeScanner, ClassifiesEveryKindOfNode) {
  EXPECT_EQ(Nodes("<?xml v?><!DOCTYPE r><r a='1'>t<![CDATA[x]]><!--c--></r>  "),
            (List{"16:0+9", "64:9+12", "1:21+9", "2:30+1", "8:31+13", "32:44+8", "0:52+4", "4:56+2"}));
  EXPECT_EQ(Nodes("<!ELEMENT r (#PCDATA)><!ATTLIST r a CDATA '>'><!NOTATION n SYSTEM 'x'>"),
            (List{"64:0+22", "64:22+24", "64:46+24"}));
}

TEST(NodeScanner, TextEndsBeforeLessThanOrAfterGreaterThanAndWhitespaceTurnsIntoText) {
  EXPECT_EQ(Nodes("a>b<x/>  \n<y/>  z"), (List{"2:0+2", "2:2+1", "1:3+4", "4:7+3", "1:10+4", "2:14+3"}));
}

TEST(NodeScanner, StartTagNameAndEmptyMark) {
  NodeToken token = First("<item rdf:about=\"x\"/>");
  EXPECT_EQ(token.type, NodeType::kStartTag);
  EXPECT_EQ(token.nameStart, 1u);
  EXPECT_EQ(token.nameLength, 4u);
  EXPECT_TRUE(token.IsEmptyElement());
  EXPECT_TRUE(First("<a/>").IsEmptyElement());
  EXPECT_TRUE(First("<a\t/>").IsEmptyElement());
  EXPECT_TRUE(First("<a b='c'/>").IsEmptyElement());
  EXPECT_FALSE(First("<a b=c/>").IsEmptyElement());
  EXPECT_FALSE(First("<a b/>").IsEmptyElement());
  EXPECT_FALSE(First("<a>").IsEmptyElement());
}

TEST(NodeScanner, QuotesNestOnlyOneKindAtATime) {
  EXPECT_EQ(First("<a b=\"it's > here\" c='say \"> \"'>").length, 32u);
  EXPECT_EQ(First("<a b='x\"y'>z\">").length, 11u);
}

TEST(NodeScanner, NameStartCharactersIncludeHighBytesButNotDigitsOrPunctuation) {
  EXPECT_EQ(First("<\xC3\xA9t\xC3\xA9/>").type, NodeType::kStartTag);
  EXPECT_EQ(First("<_a/>").type, NodeType::kStartTag);
  EXPECT_EQ(First("<:a/>").type, NodeType::kStartTag);
  EXPECT_EQ(First("<~/>").type, NodeType::kStartTag);
  EXPECT_EQ(First("<1/>").message, "Incorrect tag name character at offset 0");
  EXPECT_EQ(First("<-/>").message, "Incorrect tag name character at offset 0");
  EXPECT_EQ(First("< a>").message, "Incorrect tag name character at offset 0");
}

TEST(NodeScanner, BadNodesEndAtTheNextGreaterThanOrBeforeTheNextLessThan) {
  EXPECT_EQ(Nodes("x<1 y>z"), (List{"2:0+1", "-1:1+5|Incorrect tag name character at offset 1", "2:6+1"}));
  EXPECT_EQ(Nodes("<<a/>"), (List{"-1:0+1|Incorrect tag name character at offset 0", "1:1+4"}));
  EXPECT_EQ(Nodes("<!x y><a/>"), (List{"-1:0+6|Incorrect ! tag at offset 0", "1:6+4"}));
  EXPECT_EQ(Nodes("<!-x>"), (List{"-1:0+5|Incorrect comment tag at offset 0"}));
  EXPECT_EQ(Nodes("<![x>"), (List{"-1:0+5|Incorrect tag at offset 0"}));
  EXPECT_EQ(Nodes("<![CDAT nothing checked]]>"), (List{"8:0+26"}));
}

TEST(NodeScanner, TextEndingInsideMarkupNamesWhatWasLeftOpen) {
  EXPECT_EQ(First("<abc d='>").message, "Element tag at offset 0 unterminated");
  EXPECT_EQ(First("</abc").message, "Element end tag at offset 0 unterminated");
  EXPECT_EQ(First("<![CDATA[ x ]>").message, "CDATA Section at offset 0 unterminated");
  EXPECT_EQ(First("<?pi ?").message, "Processing instruction at offset 0 unterminated");
  EXPECT_EQ(First("<!-- x --").message, "Comment at offset 0 unterminated");
  EXPECT_EQ(First("<!DOCTYPE r [").message, "Doctype at offset 0 unterminated");
  EXPECT_EQ(First("<!ENTITY e '>").message, "Doctype at offset 0 unterminated");
  EXPECT_EQ(First("<").message, "tag at offset 0 unterminated");
  EXPECT_EQ(First("<!").message, "tag at offset 0 unterminated");
  EXPECT_EQ(First("<!-").message, "tag at offset 0 unterminated");
  EXPECT_EQ(First("<1 never closed").message, "tag at offset 0 unterminated");
  NodeToken atEnd = First("<!-- x");
  EXPECT_EQ(atEnd.type, NodeType::kBad);
  EXPECT_EQ(atEnd.length, 6u);
}

TEST(NodeScanner, DocumentTypeTakesItsInternalSubsetWhole) {
  std::string subset = "<!DOCTYPE r [ <!ENTITY e \"a>b\"> <!-- > --> <?p > ?> <!DOCTYPE inner [ ]> ]>";
  EXPECT_EQ(Nodes(subset + "<r/>"),
            (List{"64:0+" + std::to_string(subset.size()), "1:" + std::to_string(subset.size()) + "+4"}));
  // Quotes are not tracked in the declaration itself.
  EXPECT_EQ(First("<!DOCTYPE r SYSTEM 'a>b'>").length, 22u);
}

TEST(NodeScanner, BadMarkupInsideADocumentTypeMakesItBad) {
  EXPECT_EQ(Nodes("<!DOCTYPE r [ <![INCLUDE[ x ]]> ]><r/>"), (List{"-1:0+34|Incorrect ! tag at offset 14", "1:34+4"}));
  EXPECT_EQ(First("<!DOCTYPE r [ <!-- open").message, "Doctype at offset 0 unterminated");
  EXPECT_EQ(First("<!DOCTYPE r [ <!X").message, "Doctype at offset 0 unterminated");
}

TEST(NodeScanner, ClosingSequencesAreSoughtFromTheNodeStart) {
  EXPECT_EQ(First("<!-->").length, 5u);
  EXPECT_EQ(First("<!-- a -- b > c -->").length, 19u);
  EXPECT_EQ(First("<![CDATA[ ] ]> ]]>").length, 18u);
  EXPECT_EQ(First("<?a > b?>").length, 9u);
}

TEST(NodeScanner, EndTagNameStopsAtWhitespaceAndTagEndsAtNextGreaterThan) {
  NodeToken token = First("</item  x=\">\">");
  EXPECT_EQ(token.type, NodeType::kEndTag);
  EXPECT_EQ(token.length, 12u);
  EXPECT_EQ(token.nameStart, 2u);
  EXPECT_EQ(token.nameLength, 4u);
}

TEST(NodeScanner, NulBytesAreOrdinaryBytes) {
  std::string text("<a\0b>\0</a\0b>", 12);
  EXPECT_EQ(Nodes(text), (List{"1:0+5", "2:5+1", "0:6+6"}));
}

}  // namespace
}  // namespace tarnwick::feed
