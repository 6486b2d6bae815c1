#include "mailbox/tracker_removal.h"

#include "feed/link_key.h"
#include "platform/file_io.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace tarnwick::mailbox {
namespace {

TEST(RemoveTrackers, LeavesOutTrackingPicturesAndParametersAndNothingElse) {
  const TrackingHosts trackers = TrackingHosts::Parse("# comment\n Pixel.Example.COM \nads.example.net.\n\n");
  const struct {
    const char* html;
    const char* stored;
  } cases[] = {
      {"<p>plain <b>text</b> & a < b</p>", "<p>plain <b>text</b> & a < b</p>"},
      {"<img src='x.png' width=1 height=\"1px\">a", "a"},
      {"<IMG WIDTH=\"0\" HEIGHT=0 SRC=x>b", "b"},
      {"<img width=1 height=20 src=x>", "<img width=1 height=20 src=x>"},
      {"<img src=\"https://pixel.example.com/o.gif\">c", "c"},
      {"<img src=\"//cdn.ads.example.net:8080/o.gif\">d", "d"},
      {"<img src=\"http://notpixel.example.com/o.gif\">", "<img src=\"http://notpixel.example.com/o.gif\">"},
      {"<img src=\"//pixel.example.com ?utm_source=x\">e", "e"},
      {"<a href=\"http://h/p?a=1&amp;utm_source=x&amp;b=2#f\">", "<a href=\"http://h/p?a=1&amp;b=2#f\">"},
      {"<a title=x href=http://h/?fbclid=1>", "<a title=x href=\"http://h/\">"},
      {"<a href='http://h/?q=\"x\"&gclid=2'>", "<a href=\"http://h/?q=&quot;x&quot;\">"},
      {"<a href=\"http://h/?id=1\">", "<a href=\"http://h/?id=1\">"},
      {"<!-- <img width=0 height=0> -->", "<!--  -->"},
      {"<<img width=0 height=0>img width=0 height=0>", "&lt;img width=0 height=0>"},
      {"<img width=0 height=0 src=\"never closed>", "<img width=0 height=0 src=\"never closed>"},
      {"text <a href=x?utm_x=1", "text <a href=x?utm_x=1"},
  };
  for (const auto& [html, stored] : cases) {
    EXPECT_EQ(RemoveTrackers(html, trackers), stored) << html;
    EXPECT_EQ(RemoveTrackers(stored, trackers), stored) << "not stable: " << stored;
  }
}

TEST(StripTrackingParameters, KeepsEveryOtherPartAsWrittenAndTheLinksKey) {
  const struct {
    const char* link;
    const char* stripped;
  } cases[] = {
      {"http://h/a?id=3&utm_source=rss", "http://h/a?id=3"},
      {"http://h/a?utm_source=rss&UTM_medium=x#top", "http://h/a#top"},
      {"http://h/a?b=2&&a=1&mc_eid=9", "http://h/a?b=2&&a=1"},
      {"http://h/a#x?utm_source=1", "http://h/a#x?utm_source=1"},
      {"http://h/a", "http://h/a"},
  };
  for (const auto& [link, stripped] : cases) {
    EXPECT_EQ(feed::StripTrackingParameters(link), stripped) << link;
    EXPECT_EQ(feed::NormalizeLink(stripped), feed::NormalizeLink(link)) << link;
  }
}

TEST(TrackingHosts, TheFileIsWrittenWithTheDefaultListOnceAndTheUsersListIsRead) {
  test::TempDir folder;
  EXPECT_TRUE(TrackingHosts::ReadFrom(folder.Path()).Contains("stats.wordpress.com"));
  std::string text;
  ASSERT_TRUE(platform::ReadFileIfPresent(folder.File(kTrackingHostsFileName), text));
  EXPECT_NE(text.find("pixel.wp.com"), std::string::npos);

  test::WriteFileBytes(folder.File(kTrackingHostsFileName), "mine.example\n");
  const TrackingHosts edited = TrackingHosts::ReadFrom(folder.Path());
  EXPECT_TRUE(edited.Contains("a.mine.example"));
  EXPECT_FALSE(edited.Contains("stats.wordpress.com"));
  EXPECT_FALSE(edited.Contains("notmine.example"));
}

}  // namespace
}  // namespace tarnwick::mailbox
