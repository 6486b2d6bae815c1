#include "feed/xml_encoding.h"

#include <gtest/gtest.h>

#include <string>

#include "feed/xml_document.h"

namespace tarnwick::feed {
namespace {

using std::string_literals::operator""s;

// UTF-16 of an ASCII text, with or without its mark.
std::string Utf16(std::string_view ascii, bool bigEndian, bool mark) {
  std::string out = mark ? (bigEndian ? "\xFE\xFF" : "\xFF\xFE") : "";
  for (char c : ascii) {
    out += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
  }
  return out;
}

TEST(XmlDocumentAsUtf8, MarkedAndUnmarkedWideDocumentsBecomeUtf8) {
  const std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-16\"?><rss><title>Tea</title></rss>";
  EXPECT_EQ(XmlDocumentAsUtf8(Utf16(xml, false, true)), xml);
  EXPECT_EQ(XmlDocumentAsUtf8(Utf16(xml, true, true)), xml);
  EXPECT_EQ(XmlDocumentAsUtf8(Utf16(xml, false, false)), xml);
  EXPECT_EQ(XmlDocumentAsUtf8(Utf16(xml, true, false)), xml);
  EXPECT_EQ(XmlDocumentAsUtf8("\xFF\xFE\0\0<\0\0\0a\0\0\0/\0\0\0>\0\0\0"s), "<a/>");
}

TEST(XmlDocumentAsUtf8, DeclaredEncodingIsConverted) {
  EXPECT_EQ(XmlDocumentAsUtf8("<?xml version='1.0' encoding='ISO-8859-1'?><t>Caf\xE9</t>"),
            "<?xml version='1.0' encoding='ISO-8859-1'?><t>Caf\xC3\xA9</t>");
  EXPECT_EQ(XmlDocumentAsUtf8("<?xml version=\"1.0\" encoding = \"windows-1252\" ?><t>\x93q\x94</t>"),
            "<?xml version=\"1.0\" encoding = \"windows-1252\" ?><t>\xE2\x80\x9Cq\xE2\x80\x9D</t>");
}

TEST(XmlDocumentAsUtf8, Utf8DocumentsStayAndInvalidBytesBecomeReplacementCharacters) {
  EXPECT_EQ(XmlDocumentAsUtf8("\xEF\xBB\xBF<a>\xC3\xA9</a>"), "<a>\xC3\xA9</a>");  // mark dropped
  const std::string valid = "<?xml version='1.0' encoding='UTF-8'?><a>caf\xC3\xA9 \xF0\x9F\x98\x80</a>";
  EXPECT_EQ(XmlDocumentAsUtf8(valid), valid);
  // Undeclared, declared UTF-8, unknown, or not valid in the encoding declared.
  for (std::string text :
       {"<a>\xE9</a>"s, "<?xml version='1.0' encoding='x-unknown'?><a>\xE9</a>"s,
        "<?xml version='1.0' encoding='UTF-8'?><a>\xE9</a>"s, "<?xml version='1.0' encoding='Shift_JIS'?><a>\x82</a>"s,
        "<a encoding='latin1'>\xE9</a>"s}) {
    const std::string expected = text.substr(0, text.size() - 5) + "\xEF\xBF\xBD</a>";
    EXPECT_EQ(XmlDocumentAsUtf8(text), expected) << text;
  }
}

TEST(XmlDocumentAsUtf8, WideEncodingsDeclaredOnByteWideDocumentsAreReadAsUtf8) {
  for (std::string_view name :
       {"UTF-16", "UTF16LE", "utf-16be", "UTF-32", "UCS-4", "UCS-2", "ISO-10646", "ISO-10646-UCS-2", "unicode"}) {
    const std::string text = "<?xml version='1.0' encoding='" + std::string(name) + "'?><a>caf\xC3\xA9 \xE9</a>";
    EXPECT_EQ(XmlDocumentAsUtf8(text), text.substr(0, text.size() - 5) + "\xEF\xBF\xBD</a>") << name;
  }
  // Four-byte units without a mark are known by the pattern of "<?".
  EXPECT_EQ(XmlDocumentAsUtf8("<\0\0\0?\0\0\0x\0\0\0"s), "<?x");
  EXPECT_EQ(XmlDocumentAsUtf8("\0\0\0<\0\0\0?\0\0\0x"s), "<?x");
}

TEST(XmlDocumentAsUtf8, LoadFileParsesAWideDocument) {
  const std::string path = ::testing::TempDir() + "/wide-feed.xml";
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  const std::string bytes =
      Utf16("<?xml version=\"1.0\"?><rss><channel><title>Wide</title></channel></rss>", true, true);
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
  XmlDocument document;
  ASSERT_TRUE(document.LoadFile(path)) << document.ErrorText();
  EXPECT_EQ(document.ErrorText(), std::to_string(bytes.size()) + " bytes");
  ASSERT_TRUE(document.FindElement("rss"));
  ASSERT_TRUE(document.FindChildElement("channel"));
  ASSERT_TRUE(document.EnterElement());
  ASSERT_TRUE(document.FindChildElement("title"));
  EXPECT_EQ(document.ChildText(), "Wide");
  std::remove(path.c_str());
}

}  // namespace
}  // namespace tarnwick::feed
