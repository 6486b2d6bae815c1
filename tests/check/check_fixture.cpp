#include "check_fixture.h"
#include "platform/file_system.h"

#include "core/host_registry.h"
#include "platform/date_format.h"
#include "store/settings_keys.h"
#include "store/settings_store.h"

namespace tarnwick::check::test {

CheckFixture::CheckFixture()
    : writer({dataFolder, plugins, "Version: 1.0", "From ???@??? Mon Dec 7 07:03:15 2026\r\n", false}, hostAutomation,
             clock, &view, &receiver),
      checker({settingsPath, dataFolder + "/In.mbx"}, writer, hostAutomation, clock, view),
      run({plugins + "/feed.xml", dataFolder, settingsPath}, checker, writer, hostAutomation, view) {
  platform::MakeFolder(plugins);
  std::string errorText;
  core = host::HostCore::Open(dataFolder, {}, errorText);
  EXPECT_TRUE(core) << errorText;
  host::PublishHost(core);
}

CheckFixture::~CheckFixture() {
  host::WithdrawHost(core.get());
}

std::string CheckFixture::CreateMailbox(const std::string& name) {
  int32_t id = 0;
  bool created = false;
  EXPECT_TRUE(core->Store().Create(0, name, true, &id, &created).ok);
  return dataFolder + "/" + name + ".mbx";
}

store::FeedSettings CheckFixture::AddFeed(const std::string& alias, const std::string& document,
                                          const std::string& newsbox) {
  Serve(alias, document);
  store::FeedSettings feed{alias,
                           alias + " Feed",
                           server.Url("/" + alias + ".xml"),
                           newsbox,
                           newsbox.empty() ? "" : CreateMailbox(newsbox),
                           0,
                           1,
                           0,
                           0,
                           1};
  store::SettingsStore(settingsPath).WriteFeed(feed, "");
  return feed;
}

void CheckFixture::Serve(const std::string& alias, const std::string& document) {
  server.AddEndpoint("/" + alias + ".xml", 200, document, {{"Content-Type", "application/rss+xml"}});
}

std::vector<std::string> CheckFixture::Messages(const std::string& mailbox) {
  std::vector<std::string> texts;
  host::MailStore& store = core->Store();
  int32_t id = store.FindMailbox(mailbox);
  std::vector<host::MessageInfo> messages;
  if (id == 0 || !store.ListMessages(id, messages).ok) return texts;
  for (const host::MessageInfo& message : messages) {
    std::string bytes;
    EXPECT_TRUE(store.ReadMessage(id, message.id, bytes).ok);
    texts.push_back(bytes);
  }
  return texts;
}

void CheckFixture::SetAutomation(bool enabled) {
  EXPECT_TRUE(core->Store().SetAutomationEnabled(enabled).ok);
}

std::string CheckFixture::LastArticle(const std::string& alias) {
  return store::SettingsStore(settingsPath).ReadText(alias, store::kLastArticleKey, "absent");
}

int CheckFixture::Check(const store::FeedSettings& feed) {
  clock.AdvanceMinutes(60);
  return checker.CheckFeed(feed, false, plugins + "/feed.xml");
}

int CheckFixture::Skipped(feed::SkipReason reason) const {
  return checker.LastSkips()[static_cast<size_t>(reason)];
}

std::string CheckFixture::Key(const std::string& alias, const char* key) const {
  return store::SettingsStore(settingsPath).ReadText(alias, key, "absent");
}

std::vector<std::string> CheckFixture::WindowTitles() {
  std::vector<std::string> titles;
  for (const host::MailboxWindow& window : core->Windows()->MailboxWindows()) titles.push_back(window.title);
  return titles;
}

}  // namespace tarnwick::check::test
