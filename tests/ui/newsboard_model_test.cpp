#include "ui/newsboard_model.h"
#include "ui/window_placement.h"

#include "platform/clock.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace tarnwick::ui {
namespace {

const platform::ManualClock kClock(platform::DateTime::FromParts(2026, 12, 7, 9, 30, 0));

mailbox::NewArticleNotice Notice(const std::string& headers) {
  return {headers + "\r\n", "<p>body</p>", 7, "Tech News", "/data/Tech News.mbx", 12};
}

NewsboardEntry Row(std::string headline, std::string published, std::string downloaded = "12/7/2026 09:00:00") {
  NewsboardEntry entry;
  entry.headline = std::move(headline);
  entry.published = std::move(published);
  entry.downloaded = std::move(downloaded);
  return entry;
}

TEST(NewsboardEntry, ReadsTheHeaderFieldsAndTurnsBothDatesIntoParseableForm) {
  const NewsboardEntry entry =
      MakeNewsboardEntry(Notice("Subject: Big news\r\nFrom: Ann\r\nDate: Tue, 10 Jun 2003 04:00:00 GMT\r\n"
                                "Feed: Daily\r\nWebsite: http://x.test/a\r\nDownloaded: Sun, 7 Dec 2026 09:05:03\r\n"),
                         kClock);
  EXPECT_EQ(entry.headline, "Big news");
  EXPECT_EQ(entry.author, "Ann");
  EXPECT_EQ(entry.feed, "Daily");
  EXPECT_EQ(entry.website, "http://x.test/a");
  EXPECT_EQ(entry.published, "6/10/2003 04:00:00");
  EXPECT_EQ(entry.downloaded, "12/07/2026 09:05:03");
  EXPECT_EQ(entry.newsbox, "Tech News");
  EXPECT_EQ(entry.mailboxPath, "/data/Tech News.mbx");
  EXPECT_EQ(entry.bodyText, "<p>body</p>");
  EXPECT_FALSE(entry.opened);

  const NewsboardEntry bare = MakeNewsboardEntry(Notice("Subject: Only a title\r\n"), kClock);
  EXPECT_EQ(bare.feed, "");
  EXPECT_EQ(bare.website, "");
  EXPECT_EQ(bare.headline, "Only a title");
}

TEST(NewsboardSorting, ComparesTextWithoutCaseAndDatesAsInstantsOrDays) {
  NewsboardSort byHeadline{kHeadlineColumn, 0};
  EXPECT_EQ(CompareNewsboardEntries(Row("apple", ""), Row("APPLE", ""), byHeadline), 0);
  EXPECT_LT(CompareNewsboardEntries(Row("apple", ""), Row("Banana", ""), byHeadline), 0);
  EXPECT_LT(CompareNewsboardEntries(Row("Z_", ""), Row("z~", ""), byHeadline), 0) << "only A-Z are folded";

  NewsboardSort byPublished{kPublishedColumn, 0};
  EXPECT_LT(CompareNewsboardEntries(Row("", "6/10/2003 04:00:00"), Row("", "6/10/2003 04:00:01"), byPublished), 0);
  EXPECT_EQ(CompareNewsboardEntries(Row("", "not a date"), Row("", "6/10/2003 04:00:01"), byPublished), 0);

  NewsboardSort byDownloaded{kDownloadedColumn, 0};
  EXPECT_EQ(CompareNewsboardEntries(Row("", "", "12/7/2026 01:00:00"), Row("", "", "12/7/2026 23:00:00"), byDownloaded),
            0)
      << "the same calendar day";
  EXPECT_LT(CompareNewsboardEntries(Row("", "", "12/6/2026 23:00:00"), Row("", "", "12/7/2026 01:00:00"), byDownloaded),
            0);

  NewsboardSort descending{kPublishedColumn, 1};
  EXPECT_GT(CompareNewsboardEntries(Row("", "6/10/2003 04:00:00"), Row("", "6/10/2003 04:00:01"), descending), 0);
  EXPECT_EQ(CompareNewsboardEntries(Row("b", ""), Row("a", ""), NewsboardSort{9, 0}), 0) << "unknown column";
}

TEST(NewsboardSorting, TheSameHeadingFlipsTheDirectionAndAnotherKeepsIt) {
  NewsboardSort sort;
  sort.ClickColumn(kFeedColumn);
  EXPECT_EQ(sort.key, kFeedColumn);
  EXPECT_EQ(sort.order, 0) << "a new column keeps the direction";
  sort.ClickColumn(kFeedColumn);
  EXPECT_EQ(sort.order, 1);
  sort.ClickColumn(kFeedColumn);
  EXPECT_EQ(sort.order, 0) << "the third click restores the direction";
  sort.ClickColumn(kFeedColumn);
  sort.ClickColumn(kAuthorColumn);
  EXPECT_EQ(sort.order, 1);
}

TEST(NewsboardRows, KeepTheirNumbersThroughSortingOpeningAndRemoval) {
  NewsboardRows rows;
  const int64_t late = rows.Add(Row("late", "6/10/2003 05:00:00"));
  const int64_t early = rows.Add(Row("early", "6/10/2003 04:00:00"));
  const int64_t middle = rows.Add(Row("middle", "6/10/2003 04:30:00"));
  rows.Sort() = {kPublishedColumn, 1};
  EXPECT_EQ(rows.SortedNumbers(), (std::vector<int64_t>{late, middle, early})) << "newest published first";

  rows.MarkOpened(middle);
  EXPECT_TRUE(rows.Find(middle)->opened);
  EXPECT_FALSE(rows.Find(early)->opened);
  rows.Remove({late, early});
  EXPECT_EQ(rows.Count(), 1u);
  EXPECT_EQ(rows.Find(late), nullptr);
  EXPECT_EQ(rows.SortedNumbers(), (std::vector<int64_t>{middle}));
}

TEST(NewsboardSettings, ColumnsAndPlacementReadTheirDefaultsAndRoundTrip) {
  test::TempDir dir;
  const store::SettingsStore settings(dir.File("tarnwick.ini"));
  NewsboardColumnSettings columns = ReadNewsboardColumns(settings);
  for (int width : columns.widths) EXPECT_EQ(width, 100);
  EXPECT_EQ(columns.sort.key, 0);
  EXPECT_EQ(columns.sort.order, 0);

  columns.widths[kPublishedColumn] = 140;
  columns.sort = {kPublishedColumn, 1};
  WriteNewsboardColumns(settings, columns);
  EXPECT_EQ(settings.ReadInt("Columns", "Published", 0), 140) << "the heading is Pubished, the key Published";
  EXPECT_EQ(ReadNewsboardColumns(settings).sort.key, kPublishedColumn);
  EXPECT_EQ(ReadNewsboardColumns(settings).sort.order, 1);

  const WindowPlacement defaults{0, 0, 170, 180, WindowState::kNormal};
  EXPECT_EQ(ReadWindowPlacement(settings, "Newsboard", defaults).width, 170);
  WriteWindowPlacement(settings, "Newsboard", {30, 40, 500, 300, WindowState::kNormal});
  WriteWindowPlacement(settings, "Newsboard", {0, 0, 1280, 1024, WindowState::kMaximised});
  const WindowPlacement stored = ReadWindowPlacement(settings, "Newsboard", defaults);
  EXPECT_EQ(stored.state, WindowState::kMaximised);
  EXPECT_EQ(stored.left, 30) << "a maximised window keeps the rectangle it had";
  EXPECT_EQ(stored.width, 500);
}

TEST(NewsboardColumns, FittedWidthsFillTheListWithTheHeadlineWidestAndWholeDates) {
  constexpr int kDateWidth = 140;
  for (const int listWidth : {250, 676, 876, 1600}) {
    const std::array<int, kNewsboardColumnCount> widths = FittedColumnWidths(listWidth, kDateWidth);
    int total = 0;
    for (int column = 0; column < kNewsboardColumnCount; ++column) {
      total += widths[column];
      if (column != kHeadlineColumn) EXPECT_GT(widths[kHeadlineColumn], widths[column]) << listWidth;
    }
    EXPECT_GE(widths[kPublishedColumn], kDateWidth) << listWidth;
    EXPECT_GE(widths[kDownloadedColumn], kDateWidth) << listWidth;
    // A list too narrow for every column at its least gets a scroll bar rather than cut dates.
    if (listWidth >= 876) EXPECT_EQ(total, listWidth);
  }
}

}  // namespace
}  // namespace tarnwick::ui
