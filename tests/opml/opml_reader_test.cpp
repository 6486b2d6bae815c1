// Reading OPML files of the kinds feed readers and aggregators export.
#include "opml/opml_reader.h"

#include "opml/html_entities.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarnwick::opml {
namespace {

std::string Opml(const std::string& body, const std::string& version = "2.0") {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<opml version=\"" + version +
         "\"><head><title>Subscriptions</title></head><body>" + body + "</body></opml>";
}

std::vector<std::string> Describe(const OpmlReadResult& read) {
  std::vector<std::string> lines;
  for (const OpmlEntry& entry : read.entries) lines.push_back(entry.folder + "|" + entry.title + "|" + entry.url);
  return lines;
}

TEST(OpmlReader, FlatListsTakeEveryOutlineWithAnAddressWithOrWithoutType) {
  const OpmlReadResult read = ReadOpml(
      Opml("<outline text=\"One\" type=\"rss\" xmlUrl=\"http://a.example/rss\" htmlUrl=\"http://a.example/\"/>\n"
           "<outline title=\"Two\" xmlUrl=\"  http://b.example/atom  \"/>\n"
           "<outline text=\"Three\" type=\"rss\" xmlURL=\"http://c.example/\"/>"));
  ASSERT_TRUE(read.ok) << read.error;
  EXPECT_EQ(Describe(read), (std::vector<std::string>{"|One|http://a.example/rss", "|Two|http://b.example/atom",
                                                      "|Three|http://c.example/"}));
}

TEST(OpmlReader, NestedFoldersAreFlattenedWithTheNearestFolderName) {
  const OpmlReadResult read =
      ReadOpml(Opml("<outline text=\"Tech\">"
                    "  <outline text=\"Linux\"><outline text=\"Kernel\" xmlUrl=\"http://k.example/\"/></outline>"
                    "  <outline text=\"Gadgets\" xmlUrl=\"http://g.example/\"/>"
                    "  <outline><outline text=\"Untitled folder's feed\" xmlUrl=\"http://u.example/\"/></outline>"
                    "</outline>"
                    "<outline text=\"Top\" xmlUrl=\"http://t.example/\"/>"
                    "<outline text=\"Empty folder\"></outline>"));
  ASSERT_TRUE(read.ok) << read.error;
  EXPECT_EQ(Describe(read),
            (std::vector<std::string>{"Linux|Kernel|http://k.example/", "Tech|Gadgets|http://g.example/",
                                      "Tech|Untitled folder's feed|http://u.example/", "|Top|http://t.example/",
                                      "|Empty folder|"}));
}

TEST(OpmlReader, TitlesHaveTheirHtmlReferencesDecodedAndBlanksTidied) {
  const OpmlReadResult read = ReadOpml(Opml(
      "<outline text=\"Caf&amp;eacute; &amp;amp; Bar&#8217;s &#x263A;\" xmlUrl=\"http://a.example/?a=1&amp;b=2\"/>"
      "<outline text=\"  Two&#10;lines&amp;nbsp;here \" title=\"Shown &amp;hellip;\" xmlUrl=\"http://b.example/\"/>"
      "<outline text=\"Caf&eacute; raw\" xmlUrl=\"http://c.example/\"/>"));
  ASSERT_TRUE(read.ok) << read.error;
  ASSERT_EQ(read.entries.size(), 3u);
  EXPECT_EQ(read.entries[0].title, "Caf\xC3\xA9 & Bar\xE2\x80\x99s \xE2\x98\xBA");
  EXPECT_EQ(read.entries[0].url, "http://a.example/?a=1&b=2");
  EXPECT_EQ(read.entries[1].title, "Two lines here");
  EXPECT_EQ(read.entries[1].name, "Shown \xE2\x80\xA6");
  EXPECT_EQ(read.entries[2].title, "Caf\xC3\xA9 raw");
}

TEST(OpmlReader, HtmlReferencesItDoesNotKnowStayAsWritten) {
  EXPECT_EQ(DecodeHtmlEntities("a &bogus; b & c &amp d &#xZZ; &yuml;&euro;"),
            "a &bogus; b & c &amp d &#xZZ; \xC3\xBF\xE2\x82\xAC");
}

TEST(OpmlReader, AnOpml10FileInItsOwnEncodingReadsAsUtf8) {
  const OpmlReadResult read = ReadOpml(
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<opml version=\"1.0\"><head><title>x</title></head>\r\n"
      "<body><outline text=\"Nouvelles fran\xE7"
      "aises\" type=\"rss\" xmlUrl=\"http://f.example/rss\"/></body></opml>");
  ASSERT_TRUE(read.ok) << read.error;
  ASSERT_EQ(read.entries.size(), 1u);
  EXPECT_EQ(read.entries[0].title,
            "Nouvelles fran\xC3\xA7"
            "aises");
}

TEST(OpmlReader, BrokenDocumentsGiveAClearErrorAndNoEntries) {
  const struct {
    std::string document;
    std::string error;
  } cases[] = {
      {Opml("<outline text=\"A\" xmlUrl=\"http://a.example/\"><outline text=\"B\"/>"),
       "The feed list is not well-formed XML: "},
      {"", "The feed list is not well-formed XML: "},
      {"<rss version=\"2.0\"><channel><title>Not a list</title></channel></rss>",
       "The feed list is not an OPML document: its root element is <rss>, not <opml>."},
      {"<opml version=\"2.0\"><head/><outline text=\"A\" xmlUrl=\"http://a.example/\"/></opml>",
       "The feed list is not an OPML document: it has no <body>."},
  };
  for (const auto& broken : cases) {
    const OpmlReadResult read = ReadOpml(broken.document);
    EXPECT_FALSE(read.ok) << broken.document;
    EXPECT_TRUE(read.entries.empty()) << broken.document;
    EXPECT_EQ(read.error.rfind(broken.error, 0), 0u) << read.error;
    EXPECT_TRUE(read.error.ends_with(" No feed was added.")) << read.error;
  }
  EXPECT_EQ(ReadOpmlFile("/nonexistent/list.opml").error,
            "The feed list cannot be read: /nonexistent/list.opml: No such file or directory. No feed was added.");
}

TEST(OpmlReader, DeepNestingIsReadWithoutRecursion) {
  constexpr int kDepth = 200000;
  std::string body;
  for (int i = 0; i < kDepth; ++i) body += "<outline text=\"f\">";
  body += "<outline text=\"deep\" xmlUrl=\"http://d.example/\"/>";
  for (int i = 0; i < kDepth; ++i) body += "</outline>";
  const OpmlReadResult read = ReadOpml(Opml(body));
  ASSERT_TRUE(read.ok) << read.error;
  ASSERT_EQ(read.entries.size(), 1u);
  EXPECT_EQ(read.entries[0].folder, "f");
}

}  // namespace
}  // namespace tarnwick::opml
