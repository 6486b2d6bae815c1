// Adding a feed from the command line when its server never answers: the add ends within the
// limits every download (a check's among them) runs under, and says why once.
#include "plugin/headless_add_feed.h"

#include "feed/download_transfer.h"
#include "platform/message_box.h"
#include "plugin/headless_runs.h"
#include "support/http_server.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

namespace tarnwick::plugin {
namespace {

using namespace std::chrono_literals;

TEST(HeadlessAddFeed, AServerThatNeverAnswersIsGivenUpWithinTheDownloadLimitsAndSaidOnce) {
  feed::DownloadLimits shortLimits;
  shortLimits.lowSpeedSeconds = 1;
  shortLimits.documentTimeLimit = 2s;
  const feed::DownloadLimits previousLimits = feed::SetDownloadLimits(shortLimits);
  std::vector<std::string> messageBoxes;
  const platform::MessageBoxHandler previousBoxes = platform::SetMessageBoxHandler(
      [&messageBoxes](const std::string& text, const std::string&) { messageBoxes.push_back(text); });
  test::TempDir dir;
  test::HttpServer server;
  server.AddEndpoint("/silent.xml", 200, "<rss/>", {}, test::Behaviour::kNeverAnswer);
  PluginContext context;
  context.settingsPath = dir.File("tarnwick.ini");
  context.scratchFeedPath = dir.File("feed.xml");
  const std::string reportPath = dir.File("report.txt");
  std::FILE* report = std::fopen(reportPath.c_str(), "w");
  ASSERT_NE(report, nullptr);

  const auto started = std::chrono::steady_clock::now();
  const int result = AddFeedHeadless(context, {"silent", server.Url("/silent.xml"), "Silent", 0}, report);
  const auto took = std::chrono::steady_clock::now() - started;
  std::fclose(report);
  feed::SetDownloadLimits(previousLimits);
  platform::SetMessageBoxHandler(previousBoxes);

  EXPECT_EQ(result, kRunRefused);
  EXPECT_LT(took, 20s) << "two tries of at most two seconds each";
  const std::string said = test::ReadFileBytes(reportPath);
  EXPECT_NE(said.find(server.Url("/silent.xml") + " could not be downloaded ("), std::string::npos) << said;
  EXPECT_EQ(said.find('\n'), said.size() - 1) << "one line: " << said;
  EXPECT_TRUE(messageBoxes.empty()) << messageBoxes.front();
  EXPECT_FALSE(std::filesystem::exists(context.settingsPath));
}

}  // namespace
}  // namespace tarnwick::plugin
