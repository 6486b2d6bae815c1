#include <gtest/gtest.h>

#include <string>

#include "feed/document_validators.h"
#include "feed/download.h"
#include "feed/download_texts.h"
#include "feed/download_transfer.h"
#include "feed/download_worker.h"
#include "platform/message_box.h"
#include "store/file_utilities.h"
#include "store/settings_keys.h"
#include "store/settings_store.h"
#include "support/http_server.h"
#include "support/temp_dir.h"

namespace tarnwick::feed {
namespace {

using test::Behaviour;
using test::HttpServer;
using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

class ConditionalDownload : public ::testing::Test {
protected:
  void SetUp() override {
    previousBox_ = platform::SetMessageBoxHandler([this](const std::string&, const std::string&) { ++boxes; });
  }
  void TearDown() override { platform::SetMessageBoxHandler(previousBox_); }

  HttpServer server;
  TempDir dir;
  std::string target = dir.File("feed.xml");
  int boxes = 0;

private:
  platform::MessageBoxHandler previousBox_;
};

// The tag is sent back exactly as it came, quotes and weak prefix included: a server compares
// the bytes, and any change makes every request a whole download again.
TEST_F(ConditionalDownload, EntityTagsComeBackAsSentStrongOrWeak) {
  for (const std::string tag : {"\"v1\"", "W/\"weak-7\""}) {
    server.AddEndpoint("/feed", 200, "<rss/>", {{"ETag", tag}}, Behaviour::kConditional);
    FetchResult first = FetchDocument(server.Url("/feed"), target, UrlOrigin::kTypedByUser, {});
    EXPECT_FALSE(first.notModified);
    EXPECT_EQ(first.validators.entityTag, tag);
    EXPECT_EQ(server.LastRequestHeader("/feed", "If-None-Match"), "");

    WriteFileBytes(target, "kept");
    const int hits = server.HitCount("/feed");
    FetchResult second = FetchDocument(server.Url("/feed"), target, UrlOrigin::kTypedByUser, first.validators);
    EXPECT_TRUE(second.notModified) << tag;
    EXPECT_TRUE(second.errorText.empty());
    EXPECT_EQ(server.LastRequestHeader("/feed", "If-None-Match"), tag);
    EXPECT_EQ(server.HitCount("/feed"), hits + 1);  // "not modified" is not asked again with revalidation
    EXPECT_EQ(ReadFileBytes(target), "kept");       // nothing written over what was there
  }
  EXPECT_EQ(boxes, 0);
}

TEST_F(ConditionalDownload, LastModifiedAloneMakesTheRequestConditional) {
  const std::string date = "Tue, 10 Jun 2003 04:00:00 GMT";
  server.AddEndpoint("/feed", 200, "<rss/>", {{"Last-Modified", date}}, Behaviour::kConditional);
  FetchResult first = FreshFetch(server.Url("/feed"), target, UrlOrigin::kTypedByUser);
  EXPECT_EQ(first.validators, (DocumentValidators{"", date}));
  EXPECT_EQ(ReadFileBytes(target), "<rss/>");
  FetchResult second = FreshFetch(server.Url("/feed"), target, UrlOrigin::kTypedByUser, first.validators);
  EXPECT_TRUE(second.notModified);
  EXPECT_EQ(server.LastRequestHeader("/feed", "If-Modified-Since"), date);
  EXPECT_EQ(server.LastRequestHeader("/feed", "If-None-Match"), "");
  EXPECT_FALSE(store::FileExists(target));  // the fresh fetch removed the old one; no new one came
  EXPECT_EQ(boxes, 0);
}

// A server that ignores the validators answers with the whole document: it is taken as any
// download, with one request, as without validators.
TEST_F(ConditionalDownload, ServerThatIgnoresValidatorsSendsTheWholeDocumentOnce) {
  server.AddEndpoint("/feed", 200, "<rss>new</rss>", {{"ETag", "\"v2\""}});
  FetchResult result = FetchDocument(server.Url("/feed"), target, UrlOrigin::kTypedByUser, {"\"v1\"", ""});
  EXPECT_FALSE(result.notModified);
  EXPECT_EQ(result.validators.entityTag, "\"v2\"");
  EXPECT_EQ(ReadFileBytes(target), "<rss>new</rss>");
  EXPECT_EQ(server.HitCount("/feed"), 1);
  EXPECT_EQ(server.ConditionalCount("/feed"), 1);
}

// A "not modified" answer has no body to keep, so it makes no file: it needs no folder to write in.
TEST_F(ConditionalDownload, NotModifiedMakesNoFile) {
  server.AddEndpoint("/feed", 200, "<rss/>", {{"ETag", "\"v1\""}}, Behaviour::kConditional);
  FetchResult first = FetchDocument(server.Url("/feed"), target, UrlOrigin::kTypedByUser, {});
  const std::string nowhere = dir.File("no such folder/feed.xml");
  FetchResult second = FetchDocument(server.Url("/feed"), nowhere, UrlOrigin::kTypedByUser, first.validators);
  EXPECT_TRUE(second.notModified);
  EXPECT_TRUE(second.errorText.empty()) << second.errorText;
}

// A 304 to a request that asked nothing is no answer about a version: it stays a plain download.
TEST_F(ConditionalDownload, NotModifiedCountsOnlyWhenValidatorsWereSent) {
  server.AddEndpoint("/feed", 304, "");
  TransferOutcome outcome =
      TransferUrlToFile(server.Url("/feed"), target, UrlOrigin::kTypedByUser, CacheUse::kAllowCached);
  EXPECT_FALSE(outcome.notModified);
  EXPECT_TRUE(outcome.ok);
}

TEST_F(ConditionalDownload, ValidatorsOfARedirectAreReplacedByThoseOfTheDocument) {
  server.AddEndpoint("/old", 302, "", {{"Location", server.Url("/feed")}, {"ETag", "\"redirect\""}});
  server.AddEndpoint("/feed", 200, "<rss/>", {{"Last-Modified", "Mon, 01 Jan 2024 00:00:00 GMT"}});
  FetchResult result = FetchDocument(server.Url("/old"), target, UrlOrigin::kTypedByUser, {});
  EXPECT_EQ(result.validators, (DocumentValidators{"", "Mon, 01 Jan 2024 00:00:00 GMT"}));
}

TEST_F(ConditionalDownload, FeedValidatorsAreKeptInTheSectionAndRemovedWhenGone) {
  const store::SettingsStore settings(dir.File("tarnwick.ini"));
  ASSERT_TRUE(settings.Apply(FeedValidatorChanges(settings, "news", {"W/\"a=b\"", "Tue, 10 Jun 2003 04:00:00 GMT"})));
  EXPECT_EQ(ReadFeedValidators(settings, "news"), (DocumentValidators{"W/\"a=b\"", "Tue, 10 Jun 2003 04:00:00 GMT"}));
  ASSERT_TRUE(settings.Apply(FeedValidatorChanges(settings, "news", {"\"c\"", ""})));
  EXPECT_TRUE(FeedValidatorChanges(settings, "news", {"\"c\"", ""}).empty());
  std::vector<std::string> entries;
  settings.ReadSectionEntries(entries, "news");
  EXPECT_EQ(entries, (std::vector<std::string>{"ETag=\"\"c\"\""}));
  EXPECT_EQ(ReadFeedValidators(settings, "news"), (DocumentValidators{"\"c\"", ""}));
}

// The background download keeps the document's validators beside it for the cache run, and a
// later "not modified" leaves the waiting document and its validators as they were.
TEST_F(ConditionalDownload, BackgroundDownloadKeepsValidatorsBesideTheCachedDocument) {
  server.AddEndpoint("/feed", 200, "<rss/>", {{"ETag", "\"v1\""}}, Behaviour::kConditional);
  const std::string cache = dir.File("news.rss");
  DownloadReport first = HandleDownloadRequest({cache, server.Url("/feed"), {}});
  EXPECT_EQ(first.message, kAllDataDownloaded);
  EXPECT_EQ(ReadValidatorsBeside(cache).entityTag, "\"v1\"");

  DownloadReport second = HandleDownloadRequest({cache, server.Url("/feed"), ReadValidatorsBeside(cache)});
  EXPECT_TRUE(second.ok);
  EXPECT_EQ(second.message, kNotModified);
  EXPECT_EQ(ReadFileBytes(cache), "<rss/>");
  EXPECT_EQ(ReadValidatorsBeside(cache).entityTag, "\"v1\"");
  EXPECT_EQ(boxes, 0);

  // A document that comes without validators takes the stale ones away.
  server.AddEndpoint("/feed", 200, "<rss>2</rss>");
  EXPECT_TRUE(HandleDownloadRequest({cache, server.Url("/feed"), {"\"v1\"", ""}}).ok);
  EXPECT_FALSE(store::FileExists(ValidatorsFilePath(cache)));
}

}  // namespace
}  // namespace tarnwick::feed
