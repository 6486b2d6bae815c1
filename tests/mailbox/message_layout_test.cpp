#include "mailbox/message_layout.h"

#include "mailbox/page_text.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace tarnwick::mailbox {
namespace {

const platform::ManualClock kClock{platform::DateTime::FromParts(2026, 12, 7, 7, 3, 15)};

feed::Article FullArticle() {
  feed::Article article;
  article.title = "Title";
  article.link = "http://example.org/a";
  article.body = "<p>Body</p>";
  article.author = "Ann";
  article.date = "Tue, 10 Jun 2003 04:00:00 GMT";
  article.guid = "g1";
  article.enclosureUrl = "http://example.org/a.mp3";
  article.category = "News";
  article.comments = "http://example.org/a#comments";
  article.source = "Wire";
  return article;
}

const MessageContext kContext{"<g1@tarnwick.invalid>", "Mon, 7 Dec 2026 07:03:15", "Version: 1.0", "Daily"};

TEST(MessageSeparator, NamesTheTimeInMailboxForm) {
  EXPECT_EQ(MessageSeparator("6/3/2003 4:05:09 AM", kClock), "From ???@??? Tue Jun 3 04:05:09 2003");
  EXPECT_EQ(MessageSeparator("12/13/2003 18:30:00", kClock), "From ???@??? Sat Dec 13 18:30:00 2003");
  EXPECT_EQ(MessageSeparator("not a time", kClock), "From ???@??? Mon Dec 7 07:03:15 2026");
}

TEST(ComposeMessage, WritesEveryHeaderInOrder) {
  EXPECT_EQ(ComposeMessage(FullArticle(), kContext, "From ???@??? Mon Dec 7 07:03:15 2026\r\n"),
            "From ???@??? Mon Dec 7 07:03:15 2026\r\n"
            "Subject: Title\r\n"
            "From: Ann\r\n"
            "Date: Tue, 10 Jun 2003 04:00:00 GMT\r\n"
            "Website: http://example.org/a\r\n"
            "Message-Id: <g1@tarnwick.invalid>\r\n"
            "Downloaded: Mon, 7 Dec 2026 07:03:15\r\n"
            "Enclosed: http://example.org/a.mp3\r\n"
            "Category: News\r\n"
            "Website-Comments: http://example.org/a#comments\r\n"
            "Source: Wire\r\n"
            "Tarnwick-Plugin-Version: 1.0\r\n"
            "Feed: Daily\r\n"
            "MIME-Version: 1.0\r\n"
            "Content-Type: text/html; charset=utf-8\r\n"
            "Content-Transfer-Encoding: 8bit\r\n"
            "\r\n"
            "<x-html><p>Body</p></x-html>\r\n");
}

TEST(ComposeMessage, LeavesOutEmptyOptionalHeadersButKeepsAnEmptySubject) {
  feed::Article article;
  article.body = "b";
  article.author = "A";
  article.date = "D";
  std::string message = ComposeMessage(article, kContext, "From x\r\n");
  EXPECT_NE(message.find("\r\nSubject: \r\nFrom: A\r\nDate: D\r\nMessage-Id: "), std::string::npos);
  for (const char* absent : {"Website:", "Enclosed:", "Category:", "Website-Comments:", "Source:"}) {
    EXPECT_EQ(message.find(absent), std::string::npos) << absent;
  }
}

TEST(ComposeMessage, HeaderValuesCannotBreakTheHeaderBlock) {
  feed::Article article = FullArticle();
  article.title = "Line one\r\n\r\nX-Forged: yes";
  article.author = "Ann\nBcc: victim@example.org";
  std::string message = ComposeMessage(article, kContext, "From x\r\n");
  EXPECT_NE(message.find("Subject: Line one    X-Forged: yes\r\n"), std::string::npos);
  EXPECT_NE(message.find("From: Ann Bcc: victim@example.org\r\n"), std::string::npos);
  // The first empty line is the one before the body.
  EXPECT_EQ(message.find("\r\n\r\n"), message.find("\r\n\r\n<x-html>"));
}

TEST(ComposeMessage, BodyLinesThatLookLikeSeparatorsAreEscaped) {
  EXPECT_EQ(EscapeFromLines("a\nFrom ???@??? Tue\r\n>From x\n>>From y\nFromage\nFrom"),
            "a\n>From ???@??? Tue\r\n>>From x\n>>>From y\nFromage\nFrom");
  feed::Article article = FullArticle();
  article.body = "first\r\nFrom ???@??? Mon Dec 7 07:03:15 2026\r\nSubject: forged";
  std::string message = ComposeMessage(article, kContext, "From x\r\n");
  EXPECT_NE(message.find("\r\n>From ???@??? Mon Dec 7"), std::string::npos);
}

TEST(FullArticleBlock, WrapsThePageInMarkers) {
  EXPECT_EQ(FullArticleBlock("PAGE"),
            "\r\n<br><p align=\"center\">--- Begin Full Article ---</p>\r\n<br>PAGE"
            "\r\n<br><p align=\"center\">---- End Full Article ----</p>\r\n<br>");
}

TEST(ReadPageText, ReadsEightBitAndUtf16Pages) {
  test::TempDir dir;
  test::WriteFileBytes(dir.File("plain.html"), "<html>caf\xc3\xa9</html>");
  EXPECT_EQ(ReadPageText(dir.File("plain.html")), "<html>caf\xc3\xa9</html>");

  std::string utf16("\xFF\xFE", 2);
  for (char16_t c : std::u16string(u"<p>\u00e9\u263a</p>")) {
    utf16 += static_cast<char>(c & 0xFF);
    utf16 += static_cast<char>(c >> 8);
  }
  test::WriteFileBytes(dir.File("wide.html"), utf16);
  EXPECT_EQ(ReadPageText(dir.File("wide.html")), "<p>\xc3\xa9\xe2\x98\xba</p>");
}

TEST(ReadPageText, RefusesBinaryAndMissingPages) {
  test::TempDir dir;
  std::string binary(200, 'a');
  binary[10] = '\0';
  test::WriteFileBytes(dir.File("binary"), binary);
  EXPECT_EQ(ReadPageText(dir.File("binary")), kUnreadablePage);
  std::string lateZero(200, 'a');
  lateZero[150] = '\0';
  test::WriteFileBytes(dir.File("late"), lateZero);
  EXPECT_EQ(ReadPageText(dir.File("late")), std::string(150, 'a'));
  EXPECT_EQ(ReadPageText(dir.File("missing")), kUnreadablePage);
  EXPECT_EQ(ReadPageText(""), kUnreadablePage);
  test::WriteFileBytes(dir.File("empty"), "");
  EXPECT_EQ(ReadPageText(dir.File("empty")), "");
}

}  // namespace
}  // namespace tarnwick::mailbox
