#include "feed/download_connections.h"

#include <chrono>
#include <filesystem>
#include <stop_token>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "feed/download.h"
#include "feed/download_stop_scope.h"
#include "feed/download_worker.h"
#include "support/http_server.h"
#include "support/temp_dir.h"

namespace tarnwick::feed {
namespace {

using test::Behaviour;
using test::HttpServer;
using test::ReadFileBytes;
using test::TempDir;

constexpr char kDocument[] = "<rss><channel><title>Kept alive</title></channel></rss>";

// Downloads from one host, on the calling thread and on worker threads of their own, one after
// another: all of them go over the one connection the first opened.
TEST(DownloadConnections, DownloadsFromOneHostReuseOneConnectionAcrossThreads) {
  HttpServer server;
  TempDir folder;
  for (int n = 0; n < 6; ++n) server.AddEndpoint("/feed" + std::to_string(n), 200, kDocument);
  for (int n = 0; n < 3; ++n) {
    ASSERT_TRUE(FetchUrlToFile(server.Url("/feed" + std::to_string(n)), folder.File("feed" + std::to_string(n)),
                               UrlOrigin::kTypedByUser));
  }
  for (int n = 3; n < 6; ++n) {
    DownloadWorkerSet workers;
    ASSERT_TRUE(
        workers.StartDownload({folder.File("feed" + std::to_string(n)), server.Url("/feed" + std::to_string(n))}));
    workers.WaitForAll();
  }
  for (int n = 0; n < 6; ++n) EXPECT_EQ(ReadFileBytes(folder.File("feed" + std::to_string(n))), kDocument) << n;
  EXPECT_EQ(server.ConnectionCount(), 1);
}

// True once a download's part file in `folder` holds some of the body.
bool BodyArriving(const TempDir& folder) {
  for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
    if (entry.path().extension() == ".part" && entry.file_size() > 0) return true;
  }
  return false;
}

// A download stopped in the middle of its body on a reused connection: the rest of that body
// keeps coming, so had the connection gone back for reuse, the next download would read it as
// its answer. It must open a connection of its own and get its document whole.
TEST(DownloadConnections, AStoppedTransferClosesItsConnectionInsteadOfHandingItOn) {
  HttpServer server;
  TempDir folder;
  server.AddEndpoint("/feed", 200, kDocument);
  server.AddEndpoint("/drip", 200, std::string(400, 'x'), {}, Behaviour::kDrip);
  ASSERT_TRUE(FetchUrlToFile(server.Url("/feed"), folder.File("before"), UrlOrigin::kTypedByUser));

  std::stop_source stop;
  bool dripped = true;
  std::thread stopped([&] {
    const DownloadStopScope stoppable(stop.get_token());
    dripped = FetchUrlToFile(server.Url("/drip"), folder.File("drip"), UrlOrigin::kTypedByUser);
  });
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!BodyArriving(folder) && std::chrono::steady_clock::now() < giveUp) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  stop.request_stop();
  stopped.join();
  EXPECT_FALSE(dripped);
  EXPECT_EQ(server.ConnectionCount(), 1);  // the stopped download had reused the first connection

  ASSERT_TRUE(FetchUrlToFile(server.Url("/feed"), folder.File("after"), UrlOrigin::kTypedByUser));
  EXPECT_EQ(ReadFileBytes(folder.File("after")), kDocument);
  EXPECT_EQ(server.ConnectionCount(), 2);
  EXPECT_EQ(server.HitCount("/feed"), 2);
}

}  // namespace
}  // namespace tarnwick::feed
