#include "mailbox/page_text.h"
#include "mailbox/page_charset.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>

namespace tarnwick::mailbox {
namespace {

// A text of ASCII characters as UTF-16 with a byte-order mark, little- or big-endian.
std::string Utf16(const std::string& text, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char c : text) bytes += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
  return bytes;
}

class PageTextTest : public ::testing::Test {
protected:
  std::string Read(const std::string& bytes) {
    tarnwick::test::WriteFileBytes(page, bytes);
    return ReadPageText(page);
  }
  tarnwick::test::TempDir dir;
  std::string page = dir.File("article.html");
};

TEST_F(PageTextTest, Utf16PagesAreConvertedWholeInEitherByteOrder) {
  const std::string text = "<html><body>" + std::string(300, 'a') + "</body></html>";
  EXPECT_EQ(Read(Utf16(text, false)), text);
  EXPECT_EQ(Read(Utf16(text, true)), text);
  // Characters beyond the basic plane take two units each and still make a whole page.
  std::string emoji = "\xFF\xFE";
  for (int i = 0; i < 100; ++i) emoji += std::string("\x3D\xD8\x00\xDE", 4);
  std::string expected;
  for (int i = 0; i < 100; ++i) expected += "\xF0\x9F\x98\x80";
  EXPECT_EQ(Read(emoji), expected);
}

TEST_F(PageTextTest, EarlyZeroBytesAndMissingFilesAreUnreadable) {
  EXPECT_EQ(Read("<p>short</p>" + std::string(100, '\0')), kUnreadablePage);
  EXPECT_EQ(Read(std::string("<p>kept</p>\0tail", 16)), "<p>kept</p>");
  EXPECT_EQ(Read(Utf16(std::string(100, 'a'), false).substr(2)), kUnreadablePage) << "UTF-16 without a byte-order mark";
  EXPECT_EQ(ReadPageText(dir.File("missing.html")), kUnreadablePage);
  EXPECT_EQ(ReadPageText(dir.Path()), kUnreadablePage);
  EXPECT_EQ(ReadPageText(""), kUnreadablePage);
}

TEST_F(PageTextTest, PagesAreConvertedFromTheCharsetTheyDeclare) {
  EXPECT_EQ(Read("<html><head><meta charset=\"ISO-8859-1\"></head><body>Caf\xE9</body></html>"),
            "<html><head><meta charset=\"ISO-8859-1\"></head><body>Caf\xC3\xA9</body></html>");
  EXPECT_EQ(Read("<META HTTP-EQUIV='Content-Type' CONTENT='text/html; Charset=windows-1252'>\x93q\x94"),
            "<META HTTP-EQUIV='Content-Type' CONTENT='text/html; Charset=windows-1252'>\xE2\x80\x9Cq\xE2\x80\x9D");
  EXPECT_EQ(Read("\xEF\xBB\xBF<p>\xC3\xA9</p>"), "<p>\xC3\xA9</p>");  // the UTF-8 mark is dropped
  // The server's charset counts when the page declares none; the page's own comes first.
  tarnwick::test::WriteFileBytes(page, "<p>\xE9</p>");
  EXPECT_EQ(ReadPageText(page, "iso-8859-1"), "<p>\xC3\xA9</p>");
  tarnwick::test::WriteFileBytes(page, "<meta charset=utf-8><p>\xC3\xA9</p>");
  EXPECT_EQ(ReadPageText(page, "iso-8859-1"), "<meta charset=utf-8><p>\xC3\xA9</p>");
}

TEST_F(PageTextTest, BytesThatCannotBeConvertedBecomeReplacementCharacters) {
  for (std::string bytes :
       {std::string("<p>\xE9</p>"), std::string("<meta charset=x-unknown><p>\xE9</p>"),
        std::string("<meta charset=Shift_JIS><p>\x82</p>"), std::string("<p>charset=latin1 is only text \xE9</p>")}) {
    EXPECT_EQ(Read(bytes), bytes.substr(0, bytes.size() - 5) + "\xEF\xBF\xBD</p>");
  }
  const std::string valid = "<p>caf\xC3\xA9 \xF0\x9F\x98\x80</p>";
  EXPECT_EQ(Read(valid), valid);
}

TEST_F(PageTextTest, WideCharsetsNamedForByteWideTextAreReadAsUtf8) {
  for (std::string meta : {"<meta charset=\"utf-16\">", "<meta charset=UTF-32LE>", "<meta charset='ucs-2'>",
                           "<meta http-equiv=Content-Type content='text/html; charset=ISO-10646-UCS-2'>"}) {
    const std::string page = "<html><head>" + meta + "<title>x</title></head><body><p>Hello caf\xC3\xA9</p>";
    EXPECT_EQ(Read(page), page) << meta;
  }
  tarnwick::test::WriteFileBytes(page, "<p>caf\xC3\xA9</p>");
  EXPECT_EQ(ReadPageText(page, "UTF-16"), "<p>caf\xC3\xA9</p>");
  // Without a <meta> or a server charset, an XML declaration names the page's character set.
  tarnwick::test::WriteFileBytes(page, "<?xml version='1.0' encoding='ISO-8859-1'?><t>Caf\xE9</t>");
  EXPECT_EQ(ReadPageText(page), "<?xml version='1.0' encoding='ISO-8859-1'?><t>Caf\xC3\xA9</t>");
}

TEST(CharsetOfContentType, TakesTheParameterWithoutQuotes) {
  EXPECT_EQ(CharsetOfContentType("text/html; charset=ISO-8859-1"), "ISO-8859-1");
  EXPECT_EQ(CharsetOfContentType("text/html;CHARSET=\"utf-8\""), "utf-8");
  EXPECT_EQ(CharsetOfContentType("text/html"), "");
}

}  // namespace
}  // namespace tarnwick::mailbox
