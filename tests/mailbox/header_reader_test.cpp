#include "mailbox/header_reader.h"

#include <gtest/gtest.h>

namespace tarnwick::mailbox {
namespace {

const std::string kHeader = "Subject: Hello\r\nFeed: Daily\r\nMIME-Version: 1.0";

TEST(SplitText, PiecesBetweenSeparatorsAreAppended) {
  std::vector<std::string> list{"kept"};
  EXPECT_EQ(SplitText("a,b,,c", ",", list), 5);
  EXPECT_EQ(list, (std::vector<std::string>{"kept", "a", "b", "", "c"}));
}

TEST(SplitText, TextWithoutSeparatorIsOneItemAndATrailingOneLeavesAnEmptyItem) {
  std::vector<std::string> whole;
  EXPECT_EQ(SplitText("no separator", "\r\n", whole), 1);
  EXPECT_EQ(whole, (std::vector<std::string>{"no separator"}));
  std::vector<std::string> trailing;
  EXPECT_EQ(SplitText("a\r\nb\r\n", "\r\n", trailing), 3);
  EXPECT_EQ(trailing, (std::vector<std::string>{"a", "b", ""}));
  std::vector<std::string> empty;
  EXPECT_EQ(SplitText("", "\r\n", empty), 1);
}

TEST(SplitText, EmptySeparatorAddsNothing) {
  std::vector<std::string> list{"x"};
  EXPECT_EQ(SplitText("a,b", "", list), 0);
  EXPECT_EQ(list.size(), 1u);
}

TEST(ReadHeaderField, FindsTheValueOfANamedLine) {
  EXPECT_EQ(ReadHeaderField(kHeader, "Feed: "), "Daily");
  EXPECT_EQ(ReadHeaderField(kHeader, "Subject: "), "Hello");
  EXPECT_EQ(ReadHeaderField(kHeader, "Website: "), "");
}

TEST(ReadHeaderField, NameMatchesWithoutRegardToCase) {
  EXPECT_EQ(ReadHeaderField(kHeader, "feed: "), "Daily");
  EXPECT_EQ(ReadHeaderField(kHeader, "FEED: "), "Daily");
}

TEST(ReadHeaderField, ValueIsNotTrimmed) {
  EXPECT_EQ(ReadHeaderField("Subject:   spaced  \r\nX: y", "Subject: "), "  spaced  ");
  EXPECT_EQ(ReadHeaderField("Subject: \r\nX: y", "Subject: "), "");
}

TEST(ReadHeaderField, OnlyTheFirstOccurrenceCountsOnceAnotherFieldFollows) {
  EXPECT_EQ(ReadHeaderField("Feed: One\r\nDate: d\r\nFeed: Two", "Feed: "), "One");
}

TEST(ReadHeaderField, ConsecutiveMatchingLinesAreJoinedWithoutSeparator) {
  EXPECT_EQ(ReadHeaderField("Feed: One\r\nFeed: Two\r\nDate: d", "Feed: "), "OneTwo");
}

TEST(ReadHeaderField, ContinuationLineIsAppendedWithoutItsFirstCharacters) {
  // "Feed: " has six characters: six are dropped from the line without a colon.
  EXPECT_EQ(ReadHeaderField("Feed: Daily\r\n      News\r\nDate: d", "Feed: "), "DailyNews");
  EXPECT_EQ(ReadHeaderField("Feed: Daily\r\nabcdefMore\r\nshort\r\nDate: d", "Feed: "), "DailyMore");
  EXPECT_EQ(ReadHeaderField("Website: http://a/b\r\n?c=1\r\nX: y", "Website: "), "http://a/b");
}

TEST(ReadHeaderField, LinesBetweenAreSkippedUntilTheFieldStarts) {
  EXPECT_EQ(ReadHeaderField("no colon here\r\nDate: d\r\nFeed: F\r\nextra text here", "Feed: "), "Ftext here");
}

}  // namespace
}  // namespace tarnwick::mailbox
