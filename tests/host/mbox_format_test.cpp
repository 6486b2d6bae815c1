#include "core/mbox_format.h"

#include "support/scoped_time_zone.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace tarnwick::host {
namespace {

TEST(MboxFormat, EscapingAddsOneMarkToEveryLineThatCouldPassForASeparator) {
  std::string body = "From the editor\r\n>From quoted\r\n>>From twice\r\nFromage\r\n> From spaced\r\nplain From \r\n";
  std::string escaped = EscapeBody(body);
  EXPECT_EQ(escaped,
            ">From the editor\r\n>>From quoted\r\n>>>From twice\r\nFromage\r\n> From spaced\r\nplain From \r\n");
  EXPECT_EQ(UnescapeBody(escaped), body);
}

TEST(MboxFormat, EscapingRoundTripsALastLineWithoutLineEnd) {
  std::string body = "a\r\nFrom b";
  EXPECT_EQ(EscapeBody(body), "a\r\n>From b");
  EXPECT_EQ(UnescapeBody(EscapeBody(body)), body);
  EXPECT_EQ(UnescapeBody("From x\r\n"), "From x\r\n") << "an unescaped line is left alone";
}

TEST(MboxFormat, SeparatorLineHasTheFixedShapeWithUnpaddedDayAndPaddedTime) {
  const tarnwick::test::ScopedTimeZone zone("UTC0");
  std::time_t when = 1054613109;  // Tue, 3 Jun 2003 04:05:09 UTC
  EXPECT_EQ(SeparatorLine(when), "From ???@??? Tue Jun 3 04:05:09 2003");
  EXPECT_TRUE(IsSeparatorLine(SeparatorLine(when) + "\r\n"));
  EXPECT_FALSE(IsSeparatorLine("From someone@example.com Tue Jun 3 04:05:09 2003"));
  EXPECT_FALSE(IsSeparatorLine(">From ???@??? Tue"));
}

TEST(MboxFormat, LineEndsBecomeCrLfWithoutDoublingExistingOnes) {
  EXPECT_EQ(WithCrLfLineEnds("a\nb\r\nc\n"), "a\r\nb\r\nc\r\n");
  EXPECT_EQ(WithCrLfLineEnds("\n\n"), "\r\n\r\n");
  EXPECT_EQ(WithCrLfLineEnds("no end"), "no end");
}

TEST(MboxFormat, SplitFindsSeparatorHeaderBlockAndBody) {
  std::string stored = "From ???@??? Tue Jun 3 04:05:09 2003\r\nSubject: A\r\n\r\nbody\r\n\r\nmore\r\n";
  StoredMessageParts parts = SplitStoredMessage(stored);
  EXPECT_EQ(parts.separatorLine, "From ???@??? Tue Jun 3 04:05:09 2003\r\n");
  EXPECT_EQ(parts.headerBlock, "Subject: A\r\n\r\n");
  EXPECT_EQ(parts.body, "body\r\n\r\nmore\r\n");

  StoredMessageParts bare = SplitStoredMessage("Subject: B\nX: y\n\nbody\n");
  EXPECT_TRUE(bare.separatorLine.empty());
  EXPECT_EQ(bare.headerBlock, "Subject: B\nX: y\n\n");
  EXPECT_EQ(bare.body, "body\n");

  StoredMessageParts headersOnly = SplitStoredMessage("Subject: C\r\n");
  EXPECT_EQ(headersOnly.headerBlock, "Subject: C\r\n");
  EXPECT_TRUE(headersOnly.body.empty());
}

TEST(MboxFormat, HeaderValueTakesTheFirstFieldUnfoldedAndTrimmed) {
  std::string header =
      "Subject:   Long\r\n\tcontinued  \r\nmessage-id: <a@b>\r\nSubject: second\r\nX-Subject: no\r\n\r\n";
  EXPECT_EQ(HeaderValue(header, "Subject"), "Long\tcontinued");
  EXPECT_EQ(HeaderValue(header, "Message-Id"), "<a@b>");
  EXPECT_EQ(HeaderValue(header, "Subj"), "");
  EXPECT_EQ(HeaderValue(header, "Date"), "");
  EXPECT_EQ(HeaderValue("Subject:\r\n", "Subject"), "");
}

}  // namespace
}  // namespace tarnwick::host
