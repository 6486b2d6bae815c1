// What a check run leaves in each feed's section about how its check went.
#include "check/check_status.h"

#include "store/settings_keys.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace tarnwick::check {
namespace {

TEST(CheckStatuses, ARunsStatusesAreRecordedForListedFeedsOnlyAndAGoodCheckClearsTheProblem) {
  test::TempDir dir;
  const store::SettingsStore settings(dir.File("tarnwick.ini"));
  ASSERT_TRUE(settings.WriteText(store::kAliasesSection, "failing", "Failing"));
  ASSERT_TRUE(settings.WriteText(store::kAliasesSection, "mended", "Mended"));
  ASSERT_TRUE(settings.WriteText("mended", store::kLastProblemKey, "the feed is gone"));

  RecordCheckStatuses(settings, {{"failing", {"12/07/2026 07:03:15", "it could not be downloaded"}},
                                 {"mended", {"12/07/2026 07:04:00", ""}},
                                 {"deleted", {"12/07/2026 07:05:00", "no settings"}},
                                 {"", {"12/07/2026 07:06:00", ""}}});

  const CheckStatus failing = ReadCheckStatus(settings, "failing");
  EXPECT_EQ(failing.checkedAt, "12/07/2026 07:03:15");
  EXPECT_EQ(failing.problem, "it could not be downloaded");
  const CheckStatus mended = ReadCheckStatus(settings, "mended");
  EXPECT_EQ(mended.checkedAt, "12/07/2026 07:04:00");
  EXPECT_EQ(mended.problem, "");
  // A cached document of a deleted feed, and a feed without alias, make no section.
  std::vector<std::string> entries;
  settings.ReadSectionEntries(entries, "deleted");
  EXPECT_TRUE(entries.empty());
  settings.ReadSectionEntries(entries, "");
  EXPECT_TRUE(entries.empty());
}

}  // namespace
}  // namespace tarnwick::check
