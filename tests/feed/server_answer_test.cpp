// What a download tells the server about itself, and what it keeps of the server's answer.
#include "feed/server_answer.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "feed/download.h"
#include "feed/download_transfer.h"
#include "feed/download_worker.h"
#include "platform/date_format.h"
#include "platform/message_box.h"
#include "support/http_server.h"
#include "support/scoped_time_zone.h"
#include "support/temp_dir.h"

namespace tarnwick::feed {
namespace {

using test::HttpServer;

class ServerAnswerTest : public ::testing::Test {
protected:
  ServerAnswerTest() {
    previousBox_ = platform::SetMessageBoxHandler([](const std::string&, const std::string&) {});
  }
  ~ServerAnswerTest() override { platform::SetMessageBoxHandler(previousBox_); }

  FetchResult Fetch(const std::string& path) {
    return FetchDocument(server.Url(path), target, UrlOrigin::kTypedByUser, {});
  }
  void Redirect(const std::string& from, int status, const std::string& to) {
    server.AddEndpoint(from, status, "", {{"Location", server.Url(to)}});
  }

  test::TempDir dir;
  HttpServer server;
  std::string target = dir.File("feed.xml");
  platform::MessageBoxHandler previousBox_;
};

TEST_F(ServerAnswerTest, EveryRequestNamesTheProgramAndItsVersion) {
  server.AddEndpoint("/feed.xml", 200, "<rss/>");
  ASSERT_TRUE(Fetch("/feed.xml").errorText.empty());
  const std::string agent = server.LastRequestHeader("/feed.xml", "User-Agent");
  EXPECT_EQ(agent, std::string("Tarnwick/") + TARNWICK_PROJECT_VERSION);
  EXPECT_GT(agent.size(), std::string("Tarnwick/").size());

  // The background worker downloads through the same transfer.
  (void)HandleDownloadRequest({dir.File("cache.rss"), server.Url("/feed.xml")});
  EXPECT_EQ(server.HitCount("/feed.xml"), 2);
  EXPECT_EQ(server.LastRequestHeader("/feed.xml", "User-Agent"), agent);
}

TEST_F(ServerAnswerTest, RequestsToWaitAndGoneAreKeptAndNotAskedAgain) {
  server.AddEndpoint("/busy.xml", 429, "slow down", {{"Retry-After", " 120 "}});
  server.AddEndpoint("/down.xml", 503, "", {{"Retry-After", "Wed, 09 Dec 2026 08:00:00 GMT"}});
  server.AddEndpoint("/gone.xml", 410, "");
  server.AddEndpoint("/plain503.xml", 503, "");

  const FetchResult busy = Fetch("/busy.xml");
  EXPECT_FALSE(busy.errorText.empty());
  EXPECT_EQ(busy.answer.status, 429);
  EXPECT_EQ(busy.answer.retryAfter, "120");
  EXPECT_TRUE(busy.answer.AsksToWait());
  EXPECT_EQ(server.HitCount("/busy.xml"), 1);

  const FetchResult down = Fetch("/down.xml");
  EXPECT_TRUE(down.answer.AsksToWait());
  EXPECT_EQ(down.answer.retryAfter, "Wed, 09 Dec 2026 08:00:00 GMT");
  EXPECT_EQ(server.HitCount("/down.xml"), 1);

  const FetchResult gone = Fetch("/gone.xml");
  EXPECT_TRUE(gone.answer.Gone());
  EXPECT_FALSE(gone.answer.AsksToWait());
  EXPECT_EQ(server.HitCount("/gone.xml"), 1);

  // Without a time to wait for, a 503 is an ordinary failure, tried twice as any other.
  const FetchResult plain = Fetch("/plain503.xml");
  EXPECT_FALSE(plain.answer.AsksToWait());
  EXPECT_EQ(server.HitCount("/plain503.xml"), 2);
  EXPECT_FALSE(std::filesystem::exists(target));
}

TEST_F(ServerAnswerTest, PermanentRedirectsAreFollowedAndTheirEndKept) {
  server.AddEndpoint("/new.xml", 200, "<rss>moved</rss>");
  Redirect("/301.xml", 301, "/new.xml");
  Redirect("/308.xml", 308, "/new.xml");
  Redirect("/chain.xml", 301, "/308.xml");
  for (const char* path : {"/301.xml", "/308.xml", "/chain.xml"}) {
    const FetchResult moved = Fetch(path);
    EXPECT_TRUE(moved.errorText.empty()) << path;
    EXPECT_EQ(moved.answer.status, 200) << path;
    EXPECT_EQ(moved.answer.movedTo, server.Url("/new.xml")) << path;
    EXPECT_EQ(moved.answer.finalUrl, server.Url("/new.xml")) << path;
    EXPECT_EQ(test::ReadFileBytes(target), "<rss>moved</rss>") << path;
  }
}

TEST_F(ServerAnswerTest, ATemporaryRedirectEndsWhatCountsAsMoved) {
  server.AddEndpoint("/new.xml", 200, "<rss/>");
  Redirect("/temporary.xml", 302, "/new.xml");
  Redirect("/then-temporary.xml", 301, "/temporary.xml");
  Redirect("/temporary-then-permanent.xml", 307, "/301.xml");
  Redirect("/301.xml", 301, "/new.xml");
  EXPECT_EQ(Fetch("/temporary.xml").answer.movedTo, "");
  EXPECT_EQ(Fetch("/then-temporary.xml").answer.movedTo, server.Url("/temporary.xml"));
  EXPECT_EQ(Fetch("/temporary-then-permanent.xml").answer.movedTo, "");
  EXPECT_EQ(Fetch("/new.xml").answer.movedTo, "");
}

TEST(RetryAfterTime, ReadsSecondsFromNowOrAnHttpDate) {
  const test::ScopedTimeZone zone("JST-9");
  const platform::ManualClock clock(platform::DateTime::FromParts(2026, 12, 7, 7, 3, 15));
  auto text = [&](const char* value) {
    const std::optional<platform::DateTime> until = RetryAfterTime(value, clock);
    return until ? platform::FormatLocaleDate(*until) : std::string("none");
  };
  EXPECT_EQ(text("120"), "12/7/2026 7:05:15 AM");
  EXPECT_EQ(text(" 0 "), "12/7/2026 7:03:15 AM");
  EXPECT_EQ(text("Wed, 09 Dec 2026 08:00:00 GMT"), "12/9/2026 5:00:00 PM");
  EXPECT_EQ(text("99999999999999999999999"), "12/14/2036 7:03:15 AM");
  for (const char* unusable : {"", "soon", "-5", "12 seconds", "1.5"}) EXPECT_EQ(text(unusable), "none") << unusable;
}

}  // namespace
}  // namespace tarnwick::feed
