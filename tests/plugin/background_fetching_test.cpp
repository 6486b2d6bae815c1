#include "plugin/background_fetching.h"

#include "platform/message_box.h"
#include "plugin/plugin_context.h"
#include "store/settings_keys.h"
#include "store/settings_store.h"
#include "support/http_server.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

extern "C" int32_t ems_plugin_finish(void* globals);

namespace tarnwick::plugin {
namespace {

using std::chrono::steady_clock;

TEST(BackgroundFetching, FinishCutsOffARunningDownloadAtOnceAndLeavesNoPartialFile) {
  test::HttpServer server;
  server.AddEndpoint("/slow.xml", 200, std::string(40, 's'), {}, test::Behaviour::kTrickle);  // twenty seconds
  test::TempDir dir;
  store::SettingsStore settings(dir.File("tarnwick.ini"));
  settings.WriteText(store::kAliasesSection, "slow", "Slow News");
  settings.WriteText("slow", store::kUrlKey, server.Url("/slow.xml"));
  settings.WriteInt("slow", store::kAutoCheckKey, 1);
  settings.WriteText("slow", store::kLastCheckKey, "1/1/2020 11:00:00 PM");  // due at every tick
  std::atomic<int> boxes{0};
  auto previousBox = platform::SetMessageBoxHandler([&](const std::string&, const std::string&) { ++boxes; });
  int16_t previousVersion = std::exchange(Context().hostApiVersion, int16_t{4});
  std::string previousFolder = std::exchange(Context().hostDataFolder, dir.Path());
  std::string previousSettings = std::exchange(Context().settingsPath, dir.File("tarnwick.ini"));

  StartBackgroundFetching(Context(), std::chrono::milliseconds(20));
  EXPECT_TRUE(Context().schedulerRunning);
  auto giveUp = steady_clock::now() + std::chrono::seconds(10);
  while (server.HitCount("/slow.xml") == 0 && steady_clock::now() < giveUp) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(700));  // bytes are in the partial file
  auto files = [&] { return std::distance(std::filesystem::directory_iterator(dir.File("Feeds")), {}); };
  EXPECT_EQ(files(), 1);

  auto before = steady_clock::now();
  EXPECT_EQ(ems_plugin_finish(nullptr), 0);
  EXPECT_LT(steady_clock::now() - before, std::chrono::seconds(2));
  EXPECT_FALSE(Context().schedulerRunning);
  EXPECT_EQ(files(), 0);                       // neither the partial file nor a cache file
  EXPECT_EQ(server.HitCount("/slow.xml"), 1);  // the ticks meanwhile left the running download alone
  EXPECT_EQ(boxes.load(), 0);

  platform::SetMessageBoxHandler(previousBox);
  Context().hostApiVersion = previousVersion;
  Context().hostDataFolder = previousFolder;
  Context().settingsPath = previousSettings;
}

}  // namespace
}  // namespace tarnwick::plugin
