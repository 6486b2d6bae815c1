// A feed's bookkeeping: read once when its check starts, written once when it ends, and not at
// all when nothing but the time of the check changed.
#include "check_fixture.h"

#include "check/feed_state.h"
#include "mailbox/newsbox_stamp.h"
#include "store/settings_keys.h"
#include "store/settings_store.h"
#include "support/temp_dir.h"

namespace tarnwick::check::test {
namespace {

std::string OneItem(const std::string& guid) {
  return "<rss><channel><title>C</title><item><title>" + guid + "</title><guid>" + guid +
         "</guid><pubDate>Tue, 10 Jun 2003 04:00:00 GMT</pubDate></item></channel></rss>";
}

class FeedStateTest : public CheckFixture {
protected:
  store::SettingsStore settings{settingsPath};
};

TEST_F(FeedStateTest, ACheckThatChangesNothingButItsTimeLeavesTheSettingsFileAlone) {
  store::FeedSettings feed = AddFeed("same", OneItem("a"), "Same");
  server.AddEndpoint("/same.xml", 200, OneItem("a"), {{"ETag", "\"v1\""}}, tarnwick::test::Behaviour::kConditional);
  EXPECT_EQ(Check(feed), 1);
  EXPECT_TRUE(checker.StatusRecorded());
  EXPECT_EQ(Key("same", store::kEntityTagKey), "\"v1\"");
  EXPECT_EQ(Key("same", store::kCheckedAtKey), checker.LastStatus().checkedAt);
  EXPECT_EQ(Key("same", store::kLastProblemKey), "absent");

  const mailbox::FileStamp before = mailbox::StampFile(settingsPath);
  const std::string bytes = tarnwick::test::ReadFileBytes(settingsPath);
  EXPECT_EQ(Check(feed), 0);
  EXPECT_TRUE(checker.LastNotModified());
  EXPECT_FALSE(checker.StatusRecorded());
  EXPECT_EQ(checker.LastStatus().problem, "");
  EXPECT_EQ(mailbox::StampFile(settingsPath), before);
  EXPECT_EQ(tarnwick::test::ReadFileBytes(settingsPath), bytes);
  // A run records such a feed's time with its closing write.
  clock.AdvanceMinutes(60);
  run.RunSelectedFeeds({feed});
  EXPECT_FALSE(checker.StatusRecorded());
  EXPECT_EQ(Key("same", store::kCheckedAtKey), checker.LastStatus().checkedAt);
  EXPECT_NE(checker.LastStatus().checkedAt, "");
}

TEST_F(FeedStateTest, WhatTheServerSaidAndHowTheCheckWentAreWrittenTogether) {
  store::FeedSettings feed = AddFeed("gone", OneItem("a"), "Gone");
  settings.WriteText("gone", store::kLastProblemKey, "an earlier problem");
  server.AddEndpoint("/gone.xml", 410, "");
  EXPECT_EQ(Check(feed), -1);
  EXPECT_TRUE(checker.StatusRecorded());
  EXPECT_EQ(Key("gone", store::kGoneKey), "1");
  EXPECT_EQ(Key("gone", store::kLastProblemKey), "the feed is gone");
  EXPECT_EQ(Key("gone", store::kCheckedAtKey), checker.LastStatus().checkedAt);

  Serve("gone", OneItem("a"));
  EXPECT_EQ(Check(feed), 1);
  EXPECT_EQ(Key("gone", store::kGoneKey), "absent");
  EXPECT_EQ(Key("gone", store::kLastProblemKey), "absent");
  EXPECT_NE(Key("gone", store::kLastArticleKey), "absent");
}

TEST(FeedStateChanges, OnlyWhatDiffersIsWrittenAndAnEmptyTextRemovesItsKey) {
  FeedState before;
  before.lastArticle = "01/01/2026 10:00:00";
  before.validators = {"\"a\"", "Tue, 10 Jun 2003 04:00:00 GMT"};
  before.retryAfter = "12/7/2026 9:00:00 AM";
  before.lastProblem = "the feed is gone";
  before.gone = true;
  EXPECT_TRUE(FeedStateChanges("f", before, before).empty());

  FeedState after = before;
  after.validators.entityTag = "W/\"b\"";
  after.validators.lastModified.clear();
  after.retryAfter.clear();
  after.gone = false;
  after.movedTo = std::string(store::SettingsStore::kMaxTextLength + 1, 'x');  // cannot be read back whole
  after.checkedAt = "12/7/2026 8:03:15 AM";
  const std::vector<platform::IniChange> changes = FeedStateChanges("f", before, after);
  const std::vector<platform::IniChange> expected = {
      {"f", store::kEntityTagKey, "\"W/\"b\"\""},          {"f", store::kLastModifiedKey, std::nullopt},
      {"f", store::kRetryAfterKey, std::nullopt},          {"f", store::kGoneKey, std::nullopt},
      {"f", store::kCheckedAtKey, "12/7/2026 8:03:15 AM"},
  };
  ASSERT_EQ(changes.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(changes[i].section, expected[i].section);
    EXPECT_EQ(changes[i].key, expected[i].key);
    EXPECT_EQ(changes[i].value, expected[i].value) << expected[i].key;
  }
  // Written and read back, the bookkeeping is what was meant.
  tarnwick::test::TempDir dir;
  store::SettingsStore settings(dir.File("tarnwick.ini"));
  ASSERT_TRUE(settings.Apply(FeedStateChanges("f", FeedState{}, after)));
  FeedState read = ReadFeedState(settings, "f");
  EXPECT_EQ(read.validators, after.validators);
  EXPECT_EQ(read.checkedAt, after.checkedAt);
  EXPECT_EQ(read.movedTo, "");
  EXPECT_FALSE(read.gone);
}

}  // namespace
}  // namespace tarnwick::check::test
