#include "feed/download_worker.h"

#include <chrono>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "feed/download_texts.h"
#include "feed/download_transfer.h"
#include "platform/message_box.h"
#include "store/file_utilities.h"
#include "support/http_server.h"
#include "support/temp_dir.h"

namespace tarnwick::feed {
namespace {

using test::Behaviour;
using test::HttpServer;
using test::ReadFileBytes;
using test::TempDir;

class DownloadWorkers : public ::testing::Test {
protected:
  void SetUp() override {
    previousHandler_ = platform::SetMessageBoxHandler([this](const std::string& text, const std::string& caption) {
      std::lock_guard guard(lock_);
      boxes_.push_back(caption + "|" + text);
    });
    DownloadLimits shortLimits;
    shortLimits.connectTimeout = std::chrono::milliseconds(2000);
    shortLimits.lowSpeedSeconds = 1;
    previousLimits_ = SetDownloadLimits(shortLimits);
  }
  void TearDown() override {
    platform::SetMessageBoxHandler(previousHandler_);
    (void)SetDownloadLimits(previousLimits_);
  }
  std::vector<std::string> Boxes() {
    std::lock_guard guard(lock_);
    return boxes_;
  }

  HttpServer server_;
  TempDir dir_;

private:
  std::mutex lock_;
  std::vector<std::string> boxes_;
  platform::MessageBoxHandler previousHandler_;
  DownloadLimits previousLimits_;
};

TEST_F(DownloadWorkers, SuccessfulDownloadWritesTheCacheFileAndShowsNothing) {
  server_.AddEndpoint("/feed", 200, "<rss>cached</rss>");
  DownloadWorkerSet workers;
  ASSERT_TRUE(workers.StartDownload({dir_.File("News.rss"), server_.Url("/feed")}));
  workers.WaitForAll();
  EXPECT_EQ(ReadFileBytes(dir_.File("News.rss")), "<rss>cached</rss>");
  EXPECT_EQ(server_.LastRequestHeader("/feed", "Cache-Control"), "no-cache");
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(workers.RunningCount(), 0u);
}

TEST_F(DownloadWorkers, FailedDownloadShowsExactlyOneBoxWithTheReason) {
  server_.AddEndpoint("/gone", 404, "<html>error page</html>");
  DownloadWorkerSet workers;
  ASSERT_TRUE(workers.StartDownload({dir_.File("News.rss"), server_.Url("/gone")}));
  workers.WaitForAll();
  EXPECT_FALSE(store::FileExists(dir_.File("News.rss")));
  std::vector<std::string> boxes = Boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].rfind("tarnwick|", 0), 0u) << boxes[0];
  EXPECT_NE(boxes[0].find("404"), std::string::npos) << boxes[0];
  EXPECT_EQ(server_.HitCount("/gone"), 1);  // one try, no quiet download before it
}

TEST_F(DownloadWorkers, ReportSaysAllDataArrivedOrGivesTheReasonCutTo255Characters) {
  server_.AddEndpoint("/feed", 200, "x");
  DownloadReport good = HandleDownloadRequest({dir_.File("a.rss"), server_.Url("/feed")});
  EXPECT_TRUE(good.ok);
  EXPECT_EQ(good.message, "All data downloaded successfully.");

  std::string deepPath = dir_.File(std::string(300, 'f') + "/a.rss");
  DownloadReport bad = HandleDownloadRequest({deepPath, server_.Url("/feed")});
  EXPECT_FALSE(bad.ok);
  EXPECT_EQ(bad.message.size(), 255u);
  EXPECT_EQ(bad.message.rfind(kCannotCreateFile, 0), 0u) << bad.message;
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0], "tarnwick|" + bad.message);
}

TEST_F(DownloadWorkers, RequestPostedLaterThroughTheQueueIsServedOnce) {
  server_.AddEndpoint("/feed", 200, "<rss/>");
  DownloadWorkerSet workers;
  std::unique_ptr<DownloadWorker> worker = workers.StartWorker();
  ASSERT_NE(worker, nullptr);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(workers.RunningCount(), 1u);  // waiting for its request
  EXPECT_TRUE(
      worker->Post(std::make_unique<DownloadRequest>(DownloadRequest{dir_.File("a.rss"), server_.Url("/feed")})));
  EXPECT_FALSE(
      worker->Post(std::make_unique<DownloadRequest>(DownloadRequest{dir_.File("b.rss"), server_.Url("/feed")})));
  worker.reset();
  workers.WaitForAll();
  EXPECT_TRUE(store::FileExists(dir_.File("a.rss")));
  EXPECT_FALSE(store::FileExists(dir_.File("b.rss")));
  EXPECT_EQ(server_.HitCount("/feed"), 1);
}

TEST_F(DownloadWorkers, WorkerLeftWithoutARequestEndsIdle) {
  DownloadWorkerSet workers;
  workers.StartWorker().reset();
  workers.WaitForAll();
  EXPECT_EQ(workers.RunningCount(), 0u);
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(DownloadWorkers, ManyWorkersAtOnceEachWriteTheirOwnFile) {
  DownloadWorkerSet workers;
  for (int i = 0; i < 24; ++i) {
    std::string path = "/feed" + std::to_string(i);
    server_.AddEndpoint(path, 200, "document " + std::to_string(i));
    ASSERT_TRUE(workers.StartDownload({dir_.File("feed" + std::to_string(i) + ".rss"), server_.Url(path)}));
  }
  workers.WaitForAll();
  for (int i = 0; i < 24; ++i) {
    EXPECT_EQ(ReadFileBytes(dir_.File("feed" + std::to_string(i) + ".rss")), "document " + std::to_string(i));
  }
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(DownloadWorkers, CancelAllEndsEveryWorkerAtOnceAndLeavesNoPartialFile) {
  server_.AddEndpoint("/trickle", 200, std::string(100, 't'), {}, Behaviour::kTrickle);
  DownloadWorkerSet workers;
  ASSERT_TRUE(workers.StartDownload({dir_.File("a.rss"), server_.Url("/trickle")}));
  ASSERT_TRUE(workers.StartDownload({dir_.File("b.rss"), server_.Url("/trickle")}));
  std::unique_ptr<DownloadWorker> idle = workers.StartWorker();  // still waiting for its request
  ASSERT_NE(idle, nullptr);
  while (server_.HitCount("/trickle") < 2) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  std::this_thread::sleep_for(std::chrono::milliseconds(700));  // bytes are in the partial files
  EXPECT_TRUE(workers.IsDownloadingTo(dir_.File("a.rss")));
  EXPECT_FALSE(workers.IsDownloadingTo(dir_.File("c.rss")));

  auto before = std::chrono::steady_clock::now();
  workers.CancelAll();
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(2));
  EXPECT_EQ(workers.RunningCount(), 0u);
  EXPECT_FALSE(workers.IsDownloadingTo(dir_.File("a.rss")));
  EXPECT_TRUE(std::filesystem::is_empty(dir_.Path()));
  EXPECT_TRUE(Boxes().empty());
  EXPECT_FALSE(idle->Post(std::make_unique<DownloadRequest>(DownloadRequest{dir_.File("c.rss"), server_.Url("/x")})));

  // Workers started after the cancel download as usual.
  server_.AddEndpoint("/feed", 200, "<rss/>");
  ASSERT_TRUE(workers.StartDownload({dir_.File("c.rss"), server_.Url("/feed")}));
  workers.WaitForAll();
  EXPECT_EQ(ReadFileBytes(dir_.File("c.rss")), "<rss/>");
}

TEST_F(DownloadWorkers, DestroyingTheSetWaitsForADeadServerToTimeOut) {
  server_.AddEndpoint("/silent", 200, "", {}, Behaviour::kNeverAnswer);
  {
    DownloadWorkerSet workers;
    ASSERT_TRUE(workers.StartDownload({dir_.File("a.rss"), server_.Url("/silent")}));
  }
  // The set's destructor has joined the worker, so its box has been shown by now.
  EXPECT_EQ(Boxes().size(), 1u);
  EXPECT_FALSE(store::FileExists(dir_.File("a.rss")));
}

}  // namespace
}  // namespace tarnwick::feed
