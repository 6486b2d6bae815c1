// The information dialog's title, text, icon and buttons for each thing it reports.
#include "ui/feed_info.h"
#include "ui/display_text.h"

#include <gtest/gtest.h>

namespace tarnwick::ui {
namespace {

FeedInfo Feed(FeedInfoMode mode) {
  FeedInfo info;
  info.mode = mode;
  info.productName = "Tarnwick";
  info.name = "Daily News";
  info.url = "http://127.0.0.1/news.xml";
  info.mailbox = "News";
  return info;
}

const char kHeader[] = " Feed: Daily News\n URL: http://127.0.0.1/news.xml\n Mailbox: News\n\n\n";

TEST(FeedInfo, AutomationErrorExplainsTheSettingAndGivesTheErrorWithoutHeader) {
  FeedInfo info = Feed(FeedInfoMode::kAutomationError);
  info.errorText = "automation is switched off";
  FeedInfoMessage message = ComposeFeedInfo(info);
  EXPECT_EQ(message.title, "Tarnwick - COM Error");
  EXPECT_EQ(message.text,
            "This plugin requires Eudora's COM server.\n"
            "To enable automation, check: \n"
            "'Tools/Options/Automation/Automation enabled from this machine'.\n\n"
            "The error message follows:\n"
            "automation is switched off");
  EXPECT_EQ(message.iconNumber, 109);
  EXPECT_FALSE(message.verifyShown);
  EXPECT_FALSE(message.playSound);
}

TEST(FeedInfo, FailedFeedOffersTheValidatorAndPlaysTheSound) {
  FeedInfo info = Feed(FeedInfoMode::kCheckResult);
  info.feedsDone = 1;
  info.lastResult = -1;
  FeedInfoMessage message = ComposeFeedInfo(info);
  EXPECT_EQ(message.title, "Tarnwick - Feed Error");
  EXPECT_EQ(message.text, std::string(kHeader) +
                              "This is not a valid RSS/Atom feed.\n"
                              "Please check the URL-path, make sure computer is on-line, and try again.");
  EXPECT_EQ(message.iconNumber, 1010);
  EXPECT_TRUE(message.verifyShown);
  EXPECT_TRUE(message.playSound);

  info.feedsDone = 3;
  info.totalNew = 4;
  EXPECT_EQ(ComposeFeedInfo(info).title, "Tarnwick - Feed Error") << "a failed last feed decides a run too";
}

TEST(FeedInfo, OneFeedSpeaksOfThisFeedByItsOwnResult) {
  FeedInfo info = Feed(FeedInfoMode::kCheckResult);
  info.feedsDone = 1;
  info.totalNew = 9;  // a single feed is judged by its own result, not the total
  info.lastResult = 1;
  FeedInfoMessage message = ComposeFeedInfo(info);
  EXPECT_EQ(message.title, "You've Got New Articles!");
  EXPECT_EQ(message.text, std::string(kHeader) + "\t\tYou've got one new article for this feed.");
  EXPECT_EQ(message.iconNumber, 107);
  EXPECT_FALSE(message.verifyShown);
  EXPECT_FALSE(message.playSound);

  info.lastResult = 12;
  EXPECT_EQ(ComposeFeedInfo(info).text, std::string(kHeader) + "\t\tYou've got 12 new articles for this feed.");

  info.lastResult = 0;
  message = ComposeFeedInfo(info);
  EXPECT_EQ(message.title, "No New Articles :-(");
  EXPECT_EQ(message.text, std::string(kHeader) + "\t\tSorry, you've got no new articles for this feed.");
  EXPECT_EQ(message.iconNumber, 105);
  EXPECT_FALSE(message.verifyShown);
}

TEST(FeedInfo, SeveralFeedsGiveTheRunsTotalWithoutHeader) {
  FeedInfo info = Feed(FeedInfoMode::kCheckResult);
  info.feedsDone = 3;
  info.lastResult = 1;  // a run over 2, 0 and 1 new articles
  info.totalNew = 3;
  FeedInfoMessage message = ComposeFeedInfo(info);
  EXPECT_EQ(message.title, "You've Got New Articles!");
  EXPECT_EQ(message.text, "\n\n\n\t\t\tYou've got 3 new articles.");
  EXPECT_EQ(message.iconNumber, 107);
  EXPECT_FALSE(message.verifyShown);

  info.totalNew = 1;
  EXPECT_EQ(ComposeFeedInfo(info).text, "\n\n\n\t\t\tYou've got one new article.");

  info.lastResult = 0;
  info.totalNew = 0;
  message = ComposeFeedInfo(info);
  EXPECT_EQ(message.title, "No New Articles :-(");
  EXPECT_EQ(message.text, "\n\n\n\t\t\tSorry, you've got no new articles.");
  EXPECT_EQ(message.iconNumber, 105);
}

TEST(FeedInfo, HeaderCutsALongUrlToSixtyCharacters) {
  FeedInfo info = Feed(FeedInfoMode::kValidFeed);
  info.url = "http://127.0.0.1/" + std::string(63, 'a');  // 80 characters
  const std::string shown = "http://127.0.0.1/" + std::string(43, 'a');
  EXPECT_EQ(ComposeFeedInfo(info).text,
            " Feed: Daily News\n URL: " + shown + "\n Mailbox: News\n\n\n" + "This is a valid RSS/Atom feed.");

  info.url.resize(60);
  EXPECT_NE(ComposeFeedInfo(info).text.find(" URL: " + info.url + "\n"), std::string::npos) << "60 stay whole";
}

TEST(DisplayText, CutsWholeCharactersNeverHalfOfOne) {
  EXPECT_EQ(FirstCharacters("abcdef", 3), "abc");
  EXPECT_EQ(FirstCharacters("ab", 3), "ab");
  EXPECT_EQ(FirstCharacters("\xC3\xA9t\xC3\xA9", 2), "\xC3\xA9t") << "é counts as one character";
  EXPECT_EQ(FirstCharacters("\xF0\x9F\x93\xB0x", 1), "\xF0\x9F\x93\xB0") << "four-byte character kept whole";
  EXPECT_EQ(FirstCharacters("\xA9\xA9z", 2), "\xA9\xA9") << "stray continuation bytes count one each";
  EXPECT_TRUE(LongerThan("\xC3\xA9\xC3\xA9\xC3\xA9", 2));
  EXPECT_FALSE(LongerThan("\xC3\xA9\xC3\xA9", 2));
}

}  // namespace
}  // namespace tarnwick::ui
