// The exported feed list as other feed readers receive it.
#include "opml/opml_writer.h"

#include "feed/xml_document.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarnwick::opml {
namespace {

TEST(OpmlWriter, WritesOpml20WithOneFolderPerNewsboxAndEscapedValues) {
  const std::vector<store::FeedSettings> feeds = {
      {"A&B", "Quotes \"<here>\"", "http://a.example/?x=1&y=2", "Tech", "/d/Tech.mbx", 0, 1, 0, 15, 1},
      {"Solo", "Solo", "http://s.example/", "Own", "/d/Own.mbx", 1, 0, 1, 30, 1},
      {"C", "Line\r\nbreak\x01", "http://c.example/", "Tech", "/d/Tech.mbx", 0, 1, 0, 15, 1}};
  EXPECT_EQ(WriteOpml(feeds),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<opml version=\"2.0\">\n"
            "    <head>\n"
            "        <title>Tarnwick feeds</title>\n"
            "    </head>\n"
            "    <body>\n"
            "        <outline text=\"Tech\" title=\"Tech\">\n"
            "            <outline text=\"A&amp;B\" title=\"Quotes &quot;&lt;here&gt;&quot;\" type=\"rss\" "
            "xmlUrl=\"http://a.example/?x=1&amp;y=2\" category=\"Tech\"/>\n"
            "            <outline text=\"C\" title=\"Line&#13;&#10;break\" type=\"rss\" xmlUrl=\"http://c.example/\" "
            "category=\"Tech\"/>\n"
            "        </outline>\n"
            "        <outline text=\"Own\" title=\"Own\">\n"
            "            <outline text=\"Solo\" title=\"Solo\" type=\"rss\" xmlUrl=\"http://s.example/\" "
            "category=\"Own\"/>\n"
            "        </outline>\n"
            "    </body>\n"
            "</opml>\n");
  feed::XmlDocument document;
  EXPECT_TRUE(document.ParseText(WriteOpml(feeds))) << document.ErrorText();
}

}  // namespace
}  // namespace tarnwick::opml
