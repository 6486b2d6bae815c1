// What a download tells the server about itself, and what it keeps of the server's answer.
#include "feed/server_answer.h"

#include <gtest/gtest.h>

#include "feed/download.h"
#include "feed/download_worker.h"
#include "platform/date_format.h"
#include "support/http_server.h"
#include "support/scoped_time_zone.h"
#include "support/temp_dir.h"

namespace tarnwick::feed {
namespace {

TEST(ServerAnswer, EveryRequestNamesTheProgramAndItsVersion) {
  test::TempDir dir;
  test::HttpServer server;
  server.AddEndpoint("/feed.xml", 200, "<rss/>");
  // The background worker's download; the others go through the same transfer.
  (void)HandleDownloadRequest({dir.File("cache.rss"), server.Url("/feed.xml")});
  EXPECT_EQ(server.LastRequestHeader("/feed.xml", "User-Agent"), std::string("Tarnwick/") + TARNWICK_PROJECT_VERSION);
}

TEST(ServerAnswer, ARunOfPermanentRedirectsEndsAtATemporaryOne) {
  test::TempDir dir;
  test::HttpServer server;
  server.AddEndpoint("/new.xml", 200, "<rss/>");
  auto redirect = [&](const char* from, int status, const char* to) {
    server.AddEndpoint(from, status, "", {{"Location", server.Url(to)}});
  };
  redirect("/temporary.xml", 302, "/new.xml");
  redirect("/then-temporary.xml", 301, "/temporary.xml");
  redirect("/temporary-first.xml", 307, "/permanent.xml");
  redirect("/permanent.xml", 308, "/new.xml");
  auto movedTo = [&](const char* path) {
    return FetchDocument(server.Url(path), dir.File("feed.xml"), UrlOrigin::kTypedByUser, {}).answer.movedTo;
  };
  EXPECT_EQ(movedTo("/temporary.xml"), "");
  EXPECT_EQ(movedTo("/then-temporary.xml"), server.Url("/temporary.xml"));
  EXPECT_EQ(movedTo("/temporary-first.xml"), "");
  EXPECT_EQ(movedTo("/permanent.xml"), server.Url("/new.xml"));
}

TEST(ServerAnswer, RetryAfterIsSecondsFromNowOrAnHttpDate) {
  const test::ScopedTimeZone zone("JST-9");
  const platform::ManualClock clock(platform::DateTime::FromParts(2026, 12, 7, 7, 3, 15));
  auto text = [&](const char* value) {
    const std::optional<platform::DateTime> until = RetryAfterTime(value, clock);
    return until ? platform::FormatLocaleDate(*until) : std::string("none");
  };
  EXPECT_EQ(text(" 120 "), "12/7/2026 7:05:15 AM");
  EXPECT_EQ(text("Wed, 09 Dec 2026 08:00:00 GMT"), "12/9/2026 5:00:00 PM");
  EXPECT_EQ(text("99999999999999999999999"), "12/14/2036 7:03:15 AM");  // ten years at most
  for (const char* unusable : {"", "soon", "-5", "1.5"}) EXPECT_EQ(text(unusable), "none") << unusable;
}

}  // namespace
}  // namespace tarnwick::feed
