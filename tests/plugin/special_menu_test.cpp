#include "plugin/special_menu.h"
#include "platform/file_system.h"

#include "core/host_core.h"
#include "core/host_registry.h"
#include "platform/ems_records.h"
#include "platform/message_box.h"
#include "plugin/plugin_context.h"
#include "store/feed_settings.h"
#include "store/file_utilities.h"
#include "store/settings_store.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

extern "C" {
int32_t ems_special_hook(void* globals, EmsMenu* menu);
}

namespace tarnwick::plugin {
namespace {

using tarnwick::test::WriteFileBytes;

struct RunnerCall {
  MainWindowMode mode;
  bool mainWindowOpen;
};

struct MessageBoxCall {
  std::string text;
  std::string caption;
};

// A host of a data folder published to this process, and a context as start-up fills it for a
// plug-in folder inside that data folder.
class SpecialMenuTest : public ::testing::Test {
protected:
  SpecialMenuTest() {
    platform::MakeFolder(plugins);
    context.hostApiVersion = 4;
    context.pluginFolder = plugins;
    context.settingsPath = plugins + "/tarnwick.ini";
    context.scratchFeedPath = plugins + "/feed.xml";
    context.hostDataFolder = dataFolder;
    context.inMailboxPath = dataFolder + "/In.mbx";
    context.outMailboxPath = dataFolder + "/Out.mbx";
    context.versionText = "Version: 1.0";
    std::string errorText;
    core = host::HostCore::Open(dataFolder, {}, errorText);
    EXPECT_TRUE(core) << errorText;
    host::PublishHost(core);
    previousBoxes = platform::SetMessageBoxHandler([this](const std::string& text, const std::string& caption) {
      messageBoxes.push_back({text, caption});
    });
  }

  ~SpecialMenuTest() override {
    host::WithdrawHost(core.get());
    platform::SetMessageBoxHandler(std::move(previousBoxes));
    SetMainWindowRunner({});
  }

  // Records the main windows run instead of running them.
  void RecordRuns() {
    SetMainWindowRunner([this](PluginContext& runContext, MainWindowMode mode) {
      runs.push_back({mode, runContext.mainWindowOpen.load()});
    });
  }

  int32_t Hook(int32_t entry) {
    EmsMenu menu{sizeof(EmsMenu), entry, nullptr, nullptr, 0};
    return RunSpecialMenuEntry(context, &menu);
  }

  std::string StatusText() { return core->Windows()->StatusText(); }

  void MakeFolder(const std::string& path) { ASSERT_TRUE(platform::MakeFolder(path)) << path; }

  tarnwick::test::TempDir dir;
  std::string dataFolder = dir.Path();
  std::string plugins = dir.File("plugins");
  std::string feeds = dir.File("Feeds");
  PluginContext context;
  std::shared_ptr<host::HostCore> core;
  std::vector<MessageBoxCall> messageBoxes;
  std::vector<RunnerCall> runs;
  platform::MessageBoxHandler previousBoxes;
};

TEST_F(SpecialMenuTest, OnlyEntryOneOpensAnything) {
  RecordRuns();
  EXPECT_EQ(Hook(2), 0);
  EXPECT_EQ(Hook(0), 0);
  EXPECT_EQ(RunSpecialMenuEntry(context, nullptr), 1);
  EXPECT_TRUE(runs.empty());
  EXPECT_EQ(StatusText(), "");
  EXPECT_TRUE(messageBoxes.empty());
  EXPECT_FALSE(context.mainWindowOpen);
}

TEST_F(SpecialMenuTest, AnOlderHostIsNotServed) {
  RecordRuns();
  context.hostApiVersion = 3;
  EXPECT_EQ(Hook(1), 8);
  EXPECT_TRUE(runs.empty());
  EXPECT_EQ(StatusText(), "");
  EXPECT_TRUE(messageBoxes.empty());
  EXPECT_FALSE(context.mainWindowOpen);
}

TEST_F(SpecialMenuTest, AnUnreachableHostIsReportedOnce) {
  RecordRuns();
  host::WithdrawHost(core.get());
  EXPECT_EQ(Hook(1), 8);
  ASSERT_EQ(messageBoxes.size(), 1u);
  EXPECT_FALSE(messageBoxes[0].text.empty());
  EXPECT_EQ(messageBoxes[0].caption, "tarnwick");
  EXPECT_TRUE(runs.empty());
  EXPECT_FALSE(context.mainWindowOpen);
}

TEST_F(SpecialMenuTest, AHostWithAutomationOffGivesItsReason) {
  RecordRuns();
  ASSERT_TRUE(core->Store().SetAutomationEnabled(false).ok);
  std::string reason = core->AutomationRefusal();
  ASSERT_FALSE(reason.empty());
  std::vector<std::string> reported;
  HostErrorReporter previous = SetHostErrorReporter([&](const std::string& text) { reported.push_back(text); });
  EXPECT_EQ(Hook(1), 8);
  SetHostErrorReporter(std::move(previous));
  ASSERT_EQ(reported.size(), 1u);
  EXPECT_NE(reported[0].find(reason), std::string::npos) << reported[0];
  EXPECT_TRUE(messageBoxes.empty());  // the installed reporter shows it instead
  EXPECT_TRUE(runs.empty());
  EXPECT_FALSE(context.mainWindowOpen);
}

TEST_F(SpecialMenuTest, WithNothingCachedOnlyTheNormalWindowRuns) {
  RecordRuns();
  MakeFolder(feeds);
  WriteFileBytes(feeds + "/news.xml", "not a cached feed");
  EXPECT_EQ(Hook(1), 0);
  EXPECT_EQ(StatusText(), "Tarnwick. For Help, press F1.");
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].mode, MainWindowMode::kNormal);
  EXPECT_TRUE(runs[0].mainWindowOpen);
  EXPECT_FALSE(context.mainWindowOpen);
}

TEST_F(SpecialMenuTest, CachedFeedsAreDeliveredFirst) {
  RecordRuns();
  MakeFolder(feeds);
  MakeFolder(feeds + "/older");
  WriteFileBytes(feeds + "/older/news.RSS", "<rss/>");
  EXPECT_EQ(Hook(1), 0);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].mode, MainWindowMode::kCache);
  EXPECT_EQ(runs[1].mode, MainWindowMode::kNormal);
  EXPECT_TRUE(runs[0].mainWindowOpen && runs[1].mainWindowOpen);
  EXPECT_FALSE(context.mainWindowOpen);
}

TEST_F(SpecialMenuTest, AFailingWindowStillClearsTheFlag) {
  SetMainWindowRunner([](PluginContext&, MainWindowMode) { throw std::runtime_error("window failed"); });
  EXPECT_THROW(Hook(1), std::runtime_error);
  EXPECT_FALSE(context.mainWindowOpen);
}

TEST_F(SpecialMenuTest, HeadlessTheCachedFeedIsDeliveredIntoItsNewsbox) {
  int32_t newsboxId = 0;
  bool created = false;
  ASSERT_TRUE(core->Store().Create(0, "News", true, &newsboxId, &created).ok);
  store::FeedSettings feed{
      "news", "News Feed", "http://127.0.0.1:1/news.xml", "News", dataFolder + "/News.mbx", 0, 1, 0, 0, 1};
  store::SettingsStore(context.settingsPath).WriteFeed(feed, "");
  MakeFolder(feeds);
  std::string cached = store::FeedCachePath(dataFolder, "news");
  WriteFileBytes(cached,
                 "<rss version=\"2.0\"><channel><title>C</title><item><title>Cached item</title>"
                 "<link>http://example.org/1</link><guid>1</guid><description>Body</description></item>"
                 "</channel></rss>");

  EXPECT_EQ(Hook(1), 0);
  std::vector<host::MessageInfo> messages;
  ASSERT_TRUE(core->Store().ListMessages(core->Store().FindMailbox("News"), messages).ok);
  ASSERT_EQ(messages.size(), 1u);
  std::string bytes;
  ASSERT_TRUE(core->Store().ReadMessage(core->Store().FindMailbox("News"), messages[0].id, bytes).ok);
  EXPECT_NE(bytes.find("Subject: Cached item\r\n"), std::string::npos);
  EXPECT_FALSE(store::FileExists(cached));
  EXPECT_FALSE(context.mainWindowOpen);
  EXPECT_TRUE(messageBoxes.empty());
}

TEST(CachedFeeds, AreRssFilesAnywhereUnderTheFeedsFolder) {
  tarnwick::test::TempDir dir;
  EXPECT_FALSE(HasCachedFeeds(dir.Path()));
  EXPECT_FALSE(HasCachedFeeds(""));
  platform::MakeFolder(dir.File("Feeds"));
  platform::MakeFolder(dir.File("Feeds/a.rss"));  // a folder is not a document
  WriteFileBytes(dir.File("Feeds/feed.xml"), "x");
  EXPECT_FALSE(HasCachedFeeds(dir.Path()));
  platform::MakeFolder(dir.File("Feeds/sub"));
  WriteFileBytes(dir.File("Feeds/sub/b.rss"), "x");
  EXPECT_TRUE(HasCachedFeeds(dir.Path()));
}

TEST(SpecialMenuExport, AnswersWithoutARecordOrForAnotherEntry) {
  EXPECT_EQ(ems_special_hook(nullptr, nullptr), 1);
  EmsMenu second{sizeof(EmsMenu), 2, nullptr, nullptr, 0};
  EXPECT_EQ(ems_special_hook(nullptr, &second), 0);
  EXPECT_FALSE(Context().mainWindowOpen);
}

TEST(SpecialMenuExport, AnExceptionStaysInsideTheModule) {
  int16_t previousVersion = std::exchange(Context().hostApiVersion, int16_t{4});
  std::string previousFolder = std::exchange(Context().hostDataFolder, "");
  // No host is published here; the test host connection of this program refuses, so the
  // reporter runs, and its exception must not reach the host.
  HostErrorReporter previous = SetHostErrorReporter([](const std::string&) { throw std::runtime_error("boom"); });
  EmsMenu first{sizeof(EmsMenu), 1, nullptr, nullptr, 0};
  EXPECT_EQ(ems_special_hook(nullptr, &first), 8);
  SetHostErrorReporter(std::move(previous));
  Context().hostApiVersion = previousVersion;
  Context().hostDataFolder = previousFolder;
  EXPECT_FALSE(Context().mainWindowOpen);
}

}  // namespace
}  // namespace tarnwick::plugin
