#include "feed/download.h"
#include "feed/download_size_limit.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "feed/download_proxy.h"
#include "feed/download_texts.h"
#include "feed/download_transfer.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "store/file_utilities.h"
#include "support/environment.h"
#include "support/http_server.h"
#include "support/permissions.h"
#include "support/temp_dir.h"

namespace tarnwick::feed {
namespace {

using test::Behaviour;
using test::HttpServer;
using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

struct Box {
  std::string text;
  std::string caption;
};

// Collects message boxes instead of printing them, for the life of the object.
class MessageBoxRecorder {
public:
  MessageBoxRecorder() {
    previous_ = platform::SetMessageBoxHandler([this](const std::string& text, const std::string& caption) {
      std::lock_guard guard(lock_);
      boxes_.push_back({text, caption});
    });
  }
  ~MessageBoxRecorder() { platform::SetMessageBoxHandler(previous_); }
  std::vector<Box> Boxes() const {
    std::lock_guard guard(lock_);
    return boxes_;
  }

private:
  mutable std::mutex lock_;
  std::vector<Box> boxes_;
  platform::MessageBoxHandler previous_;
};

std::string RandomBytes(size_t count, unsigned seed) {
  std::mt19937 generator(seed);
  std::string bytes(count, '\0');
  for (char& byte : bytes) byte = static_cast<char>(generator() & 0xFF);
  return bytes;
}

size_t FileCount(const std::string& folder) {
  size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
  return count;
}

class Download : public ::testing::Test {
protected:
  void SetUp() override {
    DownloadLimits shortLimits;
    shortLimits.connectTimeout = std::chrono::milliseconds(2000);
    shortLimits.lowSpeedBytesPerSecond = 1;
    shortLimits.lowSpeedSeconds = 1;
    shortLimits.maxRedirects = 5;
    savedLimits_ = SetDownloadLimits(shortLimits);
  }
  void TearDown() override { (void)SetDownloadLimits(savedLimits_); }

  void SetTimeLimits(std::chrono::milliseconds document, std::chrono::milliseconds page) {
    DownloadLimits limits = CurrentDownloadLimits();
    limits.documentTimeLimit = document;
    limits.pageTimeLimit = page;
    (void)SetDownloadLimits(limits);
  }

  // Runs the fresh fetch of a path of the server into target, and expects it to fail with one box.
  Box ExpectFetchFailure(const std::string& url, const std::string& target) {
    EXPECT_FALSE(FetchUrlToFile(url, target, UrlOrigin::kTypedByUser));
    EXPECT_FALSE(store::FileExists(target));
    std::vector<Box> boxes = boxes_.Boxes();
    EXPECT_EQ(boxes.size(), 1u);
    if (boxes.empty()) return {};
    EXPECT_EQ(boxes[0].caption, "tarnwick");
    return boxes[0];
  }

  HttpServer server_;
  TempDir dir_;
  MessageBoxRecorder boxes_;
  std::string target_ = dir_.File("feed.xml");

private:
  DownloadLimits savedLimits_;
};

TEST_F(Download, FetchCopiesTheBodyExactlyAndAsksCachesToRevalidate) {
  std::string body = RandomBytes(300 * 1024, 1);
  server_.AddEndpoint("/feed", 200, body);
  EXPECT_TRUE(FetchUrlToFile(server_.Url("/feed"), target_, UrlOrigin::kTypedByUser));
  EXPECT_EQ(ReadFileBytes(target_), body);
  EXPECT_TRUE(boxes_.Boxes().empty());
  EXPECT_EQ(server_.LastRequestHeader("/feed", "User-Agent"), kUserAgent);
  EXPECT_EQ(server_.LastRequestHeader("/feed", "Cache-Control"), "no-cache");
  EXPECT_EQ(server_.LastRequestHeader("/feed", "Pragma"), "no-cache");
  EXPECT_EQ(FileCount(dir_.Path()), 1u);  // no temporary file is left beside it
}

TEST_F(Download, PlainDownloadIsQuietAndLetsCachesAnswer) {
  server_.AddEndpoint("/feed", 200, "<rss/>");
  DownloadUrlToFile(server_.Url("/feed"), target_, UrlOrigin::kTypedByUser);
  EXPECT_EQ(ReadFileBytes(target_), "<rss/>");
  EXPECT_EQ(server_.LastRequestHeader("/feed", "User-Agent"), kUserAgent);
  EXPECT_EQ(server_.LastRequestHeader("/feed", "Cache-Control"), "");

  server_.AddEndpoint("/gone", 404, "Not here");
  std::string other = dir_.File("other.xml");
  DownloadUrlToFile(server_.Url("/gone"), other, UrlOrigin::kTypedByUser);
  EXPECT_FALSE(store::FileExists(other));
  EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(Download, EmptyBodyLeavesAnEmptyFileAndSucceeds) {
  server_.AddEndpoint("/empty", 200, "");
  EXPECT_TRUE(FetchUrlToFile(server_.Url("/empty"), target_, UrlOrigin::kTypedByUser));
  EXPECT_TRUE(store::FileExists(target_));
  EXPECT_EQ(ReadFileBytes(target_), "");
}

TEST_F(Download, ReplacesAnExistingFileWhole) {
  WriteFileBytes(target_, std::string(5000, 'o'));
  server_.AddEndpoint("/feed", 200, "new");
  EXPECT_TRUE(FetchUrlToFile(server_.Url("/feed"), target_, UrlOrigin::kTypedByUser));
  EXPECT_EQ(ReadFileBytes(target_), "new");
}

TEST_F(Download, ErrorStatusesFailWithTheStatusNamedAndNoFile) {
  for (int status : {404, 500}) {
    SCOPED_TRACE(status);
    std::string path = "/status" + std::to_string(status);
    server_.AddEndpoint(path, status, "<html>an error page</html>");
    MessageBoxRecorder boxes;
    EXPECT_FALSE(FetchUrlToFile(server_.Url(path), target_, UrlOrigin::kTypedByUser));
    EXPECT_FALSE(store::FileExists(target_));
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].caption, "tarnwick");
    EXPECT_NE(boxes.Boxes()[0].text.find(std::to_string(status)), std::string::npos) << boxes.Boxes()[0].text;
  }
}

TEST_F(Download, FailureLeavesAnEarlierFileUntouched) {
  WriteFileBytes(target_, "earlier document");
  server_.AddEndpoint("/missing", 404, "error page");
  EXPECT_FALSE(FetchUrlToFile(server_.Url("/missing"), target_, UrlOrigin::kTypedByUser));
  EXPECT_EQ(ReadFileBytes(target_), "earlier document");
}

TEST_F(Download, ServerThatNeverAnswersTimesOut) {
  server_.AddEndpoint("/silent", 200, "never sent", {}, Behaviour::kNeverAnswer);
  Box box = ExpectFetchFailure(server_.Url("/silent"), target_);
  EXPECT_FALSE(box.text.empty());
}

TEST_F(Download, TransferThatStallsMidBodyIsGivenUp) {
  // One byte arrives, then nothing (a bigger first burst keeps libcurl's speed average up longer).
  server_.AddEndpoint("/stall", 200, "<r", {}, Behaviour::kStallBody);
  ExpectFetchFailure(server_.Url("/stall"), target_);
  EXPECT_EQ(FileCount(dir_.Path()), 0u);
}

TEST_F(Download, SlowButSteadyTransferIsNotCutShort) {
  // Forty bytes at one per 50 ms take two seconds, longer than the one-second low-speed window.
  std::string body(40, 'd');
  server_.AddEndpoint("/drip", 200, body, {}, Behaviour::kDrip);
  EXPECT_TRUE(FetchUrlToFile(server_.Url("/drip"), target_, UrlOrigin::kTypedByUser));
  EXPECT_EQ(ReadFileBytes(target_), body);
}

TEST_F(Download, TricklingServerIsGivenUpAtTheTimeLimitOfItsKindOfDownload) {
  // Two bytes a second pass the low-speed rule; four bytes take one and a half seconds.
  server_.AddEndpoint("/trickle", 200, "abcd", {}, Behaviour::kTrickle);
  SetTimeLimits(std::chrono::seconds(20), std::chrono::seconds(1));
  EXPECT_FALSE(FetchUrlToFile(server_.Url("/trickle"), target_, UrlOrigin::kFromFeedDocument));
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_NE(boxes_.Boxes()[0].text.find("timed out"), std::string::npos) << boxes_.Boxes()[0].text;
  EXPECT_EQ(FileCount(dir_.Path()), 0u);

  EXPECT_TRUE(FetchUrlToFile(server_.Url("/trickle"), target_, UrlOrigin::kTypedByUser));
  EXPECT_EQ(ReadFileBytes(target_), "abcd");

  SetTimeLimits(std::chrono::seconds(1), std::chrono::seconds(20));
  EXPECT_FALSE(FetchUrlToFile(server_.Url("/trickle"), dir_.File("other.xml"), UrlOrigin::kTypedByUser));
  EXPECT_EQ(boxes_.Boxes().size(), 2u);
  EXPECT_EQ(FileCount(dir_.Path()), 1u);  // the first document alone
}

TEST_F(Download, BodyCutOffMidTransferFailsAndLeavesNoFile) {
  server_.AddEndpoint("/cut", 200, std::string(100000, 'c'), {}, Behaviour::kCutOff);
  ExpectFetchFailure(server_.Url("/cut"), target_);
  EXPECT_EQ(FileCount(dir_.Path()), 0u);
}

TEST_F(Download, RedirectsAreFollowedToTheDocument) {
  server_.AddEndpoint("/old", 301, "moved", {{"Location", "/hop"}});
  server_.AddEndpoint("/hop", 302, "found", {{"Location", server_.Url("/new")}});
  server_.AddEndpoint("/new", 200, "<feed/>");
  EXPECT_TRUE(FetchUrlToFile(server_.Url("/old"), target_, UrlOrigin::kFromFeedDocument));
  EXPECT_EQ(ReadFileBytes(target_), "<feed/>");
}

TEST_F(Download, RedirectLoopStopsAtTheLimit) {
  server_.AddEndpoint("/loop", 302, "again", {{"Location", "/loop"}});
  ExpectFetchFailure(server_.Url("/loop"), target_);
  EXPECT_EQ(server_.HitCount("/loop"), 1 + 5);  // the first request and five redirects
}

TEST_F(Download, FiftyMegabyteBodyArrivesWhole) {
  std::string body = RandomBytes(50 * 1024 * 1024, 7);
  server_.AddEndpoint("/big", 200, body);
  EXPECT_TRUE(FetchUrlToFile(server_.Url("/big"), target_, UrlOrigin::kTypedByUser));
  std::string got = ReadFileBytes(target_);
  EXPECT_EQ(got.size(), body.size());
  EXPECT_TRUE(got == body);  // not EXPECT_EQ: a 50 MB difference report helps no one
}

TEST_F(Download, BodyPastTheSizeLimitOfItsScopeFailsAndLeavesNoFile) {
  server_.AddEndpoint("/page", 200, RandomBytes(300 * 1024, 5));
  {
    const DownloadSizeLimit limit(300 * 1024);
    EXPECT_TRUE(FetchUrlToFile(server_.Url("/page"), target_, UrlOrigin::kTypedByUser));  // exactly the limit
    std::filesystem::remove(target_);
    const DownloadSizeLimit smaller(300 * 1024 - 1);
    const Box box = ExpectFetchFailure(server_.Url("/page"), target_);
    EXPECT_NE(box.text.find("larger than 307199 bytes"), std::string::npos) << box.text;
    EXPECT_EQ(FileCount(dir_.Path()), 0u);  // nor a partial file beside it
  }
  EXPECT_TRUE(FetchUrlToFile(server_.Url("/page"), target_, UrlOrigin::kTypedByUser));  // outside the scopes
}

TEST_F(Download, CompressedTransferIsAcceptedAndDecoded) {
  std::string body = "<rss><channel><title>Zipped</title></channel></rss>" + RandomBytes(70000, 3);
  server_.AddEndpoint("/zipped", 200, body, {}, Behaviour::kGzip);
  EXPECT_TRUE(FetchUrlToFile(server_.Url("/zipped"), target_, UrlOrigin::kTypedByUser));
  EXPECT_NE(server_.LastRequestHeader("/zipped", "Accept-Encoding").find("gzip"), std::string::npos);
  EXPECT_TRUE(ReadFileBytes(target_) == body);
}

TEST_F(Download, HostThatDoesNotResolveFailsNamingTheHost) {
  Box box = ExpectFetchFailure("http://nowhere.invalid/feed.xml", target_);
  EXPECT_NE(box.text.find("nowhere.invalid"), std::string::npos) << box.text;
}

TEST_F(Download, TypedFileUrlIsReadButAFileLinkFromAFeedIsRefused) {
  std::string source = dir_.File("local.xml");
  WriteFileBytes(source, "<rss>local</rss>");
  EXPECT_TRUE(FetchUrlToFile("file://" + source, target_, UrlOrigin::kTypedByUser));
  EXPECT_EQ(ReadFileBytes(target_), "<rss>local</rss>");

  std::string leak = dir_.File("leak.html");
  EXPECT_FALSE(FetchUrlToFile("file://" + source, leak, UrlOrigin::kFromFeedDocument));
  EXPECT_FALSE(store::FileExists(leak));
  DownloadUrlToFile("FILE://" + source, leak, UrlOrigin::kFromFeedDocument);
  EXPECT_FALSE(store::FileExists(leak));
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_EQ(boxes_.Boxes()[0].text, kLinkSchemeRefused + ("file://" + source));

  EXPECT_FALSE(FetchUrlToFile("ftp://127.0.0.1/feed.xml", leak, UrlOrigin::kTypedByUser));
  ASSERT_EQ(boxes_.Boxes().size(), 2u);
  EXPECT_EQ(boxes_.Boxes()[1].text, kAddressSchemeRefused + std::string("ftp://127.0.0.1/feed.xml"));
}

TEST_F(Download, RedirectToALocalFileIsRefusedEvenForATypedAddress) {
  std::string secret = dir_.File("secret.txt");
  WriteFileBytes(secret, "private");
  server_.AddEndpoint("/trap", 302, "", {{"Location", "file://" + secret}});
  Box box = ExpectFetchFailure(server_.Url("/trap"), target_);
  EXPECT_EQ(box.text, kRedirectRefused + ("file://" + secret));
}

TEST_F(Download, AddressWithoutSchemeIsFetchedOverHttp) {
  server_.AddEndpoint("/bare", 200, "bare");
  std::string url = server_.Url("/bare").substr(std::string("http://").size());
  EXPECT_TRUE(FetchUrlToFile(url, target_, UrlOrigin::kTypedByUser));
  EXPECT_EQ(ReadFileBytes(target_), "bare");
}

TEST_F(Download, UnwritableTargetFailsWithTheFileNamed) {
  server_.AddEndpoint("/feed", 200, "<rss/>");
  std::string missingFolder = dir_.File("no-such-folder/feed.xml");
  Box box = ExpectFetchFailure(server_.Url("/feed"), missingFolder);
  EXPECT_EQ(box.text.rfind(kCannotCreateFile, 0), 0u) << box.text;
  EXPECT_NE(box.text.find(missingFolder), std::string::npos) << box.text;

  WriteFileBytes(dir_.File("plain-file"), "x");
  EXPECT_FALSE(FetchUrlToFile(server_.Url("/feed"), dir_.File("plain-file/feed.xml"), UrlOrigin::kTypedByUser));
  EXPECT_EQ(boxes_.Boxes().size(), 2u);
}

TEST_F(Download, ReadOnlyFolderFailsWithoutLeavingAnything) {
  if (!test::HasPermissionBits()) GTEST_SKIP() << test::kNoPermissionBitsReason;
  if (test::IsSuperUser()) GTEST_SKIP() << "root writes into read-only folders";
  server_.AddEndpoint("/feed", 200, "<rss/>");
  std::string folder = dir_.File("locked");
  ASSERT_TRUE(platform::MakeFolder(folder));
  ASSERT_TRUE(test::SetPermissions(folder, 0500));
  ExpectFetchFailure(server_.Url("/feed"), folder + "/feed.xml");
  EXPECT_EQ(FileCount(folder), 0u);
  test::SetPermissions(folder, 0700);
}

// Sets an environment variable for one test and puts the old value back.
class ScopedEnvironment {
public:
  ScopedEnvironment(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value != nullptr)
      test::SetEnvironment(name, value);
    else
      test::UnsetEnvironment(name);
  }
  ~ScopedEnvironment() {
    if (old_)
      test::SetEnvironment(name_, *old_);
    else
      test::UnsetEnvironment(name_);
  }

private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST_F(Download, ProxyOfTheEnvironmentIsUsed) {
  server_.AddEndpoint("/via-proxy", 200, "proxied");
  ScopedEnvironment proxy("http_proxy", server_.Url("").c_str());
  ScopedEnvironment noProxy("no_proxy", nullptr);
  ScopedEnvironment noProxyUpper("NO_PROXY", nullptr);
  // The host does not exist: only a proxy can have answered.
  EXPECT_TRUE(FetchUrlToFile("http://feeds.invalid/via-proxy", target_, UrlOrigin::kTypedByUser));
  EXPECT_EQ(ReadFileBytes(target_), "proxied");
  EXPECT_EQ(server_.LastRequestHeader("/via-proxy", "Host"), "feeds.invalid");
}

TEST_F(Download, TheProxySettingDecidesTheWayOfEveryDownload) {
  server_.AddEndpoint("/via-proxy", 200, "proxied");
  ScopedEnvironment noProxy("no_proxy", nullptr);
  ScopedEnvironment noProxyUpper("NO_PROXY", nullptr);
  test::HttpServer deadProxy;
  const std::string dead = deadProxy.Url("");
  deadProxy.AddEndpoint("/via-proxy", 502, "");
  const struct {
    std::string environment;
    ProxySetting setting;
    bool fetched;
  } cases[] = {
      {server_.Url(""), ParseProxySetting(" Environment "), true},
      {server_.Url(""), ParseProxySetting("NONE"), false},  // the host does not exist: straight fails
      {dead, ParseProxySetting(server_.Url("")), true},
  };
  for (const auto& [environment, setting, fetched] : cases) {
    ScopedEnvironment proxy("http_proxy", environment.c_str());
    UseProxy(setting);
    EXPECT_EQ(FetchUrlToFile("http://feeds.invalid/via-proxy", target_, UrlOrigin::kTypedByUser), fetched)
        << ProxySettingText(setting);
    EXPECT_EQ(ParseProxySetting(ProxySettingText(setting)), setting);
  }
  UseProxy({});
}

TEST_F(Download, AFeedBehindALoginIsFetchedWithTheNetrcEntryAndRefusedWithoutIt) {
  server_.AddEndpoint("/private", 200, "members only", {}, test::Behaviour::kLogin);
  test::TempDir home;
  ScopedEnvironment homeVariable("HOME", home.Path().c_str());
  EXPECT_FALSE(FetchUrlToFile(server_.Url("/private"), target_, UrlOrigin::kTypedByUser));
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_NE(boxes_.Boxes()[0].text.find("needs a login"), std::string::npos) << boxes_.Boxes()[0].text;

  for (const char* name : {".netrc", "_netrc"}) {
    WriteFileBytes(home.File(name), "machine 127.0.0.1 login reader password secret\n");
  }
  EXPECT_TRUE(FetchUrlToFile(server_.Url("/private"), target_, UrlOrigin::kTypedByUser));
  EXPECT_EQ(ReadFileBytes(target_), "members only");
}

TEST_F(Download, FreshFetchDeletesTheOldFileFirst) {
  WriteFileBytes(target_, "yesterday's feed");
  server_.AddEndpoint("/missing", 404, "");
  FreshFetch(server_.Url("/missing"), target_, UrlOrigin::kTypedByUser);
  EXPECT_FALSE(store::FileExists(target_));
  EXPECT_EQ(server_.HitCount("/missing"), 2);  // the quiet download, then the fresh fetch
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_NE(boxes_.Boxes()[0].text.find("404"), std::string::npos);
}

TEST_F(Download, FreshFetchNeedsTheFallbackOnlyWhenTheFirstTryFailed) {
  WriteFileBytes(target_, "yesterday's feed");
  server_.AddEndpoint("/feed", 200, "today's feed");
  FreshFetch(server_.Url("/feed"), target_, UrlOrigin::kTypedByUser);
  EXPECT_EQ(ReadFileBytes(target_), "today's feed");
  EXPECT_EQ(server_.HitCount("/feed"), 1);
  EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(Download, FreshFetchOfAnUnresolvableHostLeavesNoFileAndOneBox) {
  WriteFileBytes(target_, "old");
  FreshFetch("http://nowhere.invalid/feed.xml", target_, UrlOrigin::kTypedByUser);
  EXPECT_FALSE(store::FileExists(target_));
  EXPECT_EQ(boxes_.Boxes().size(), 1u);
}

}  // namespace
}  // namespace tarnwick::feed
