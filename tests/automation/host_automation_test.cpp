// HostAutomation against the real host in this process: the host library publishes a host over a
// temporary data folder, and every operation connects to it the way the plug-in does.
#include "automation/host_automation.h"
#include "automation/host_message.h"
#include "core/host_core.h"
#include "core/host_registry.h"
#include "platform/message_box.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace tarnwick::automation {
namespace {

using tarnwick::test::ReadFileBytes;
using tarnwick::test::TempDir;
using tarnwick::test::WriteFileBytes;

std::string Article(const std::string& subject, const std::string& messageId) {
  return "From ???@??? Tue Jun 3 04:05:09 2003\r\nSubject: " + subject +
         "\r\nFrom: W\r\nDate: d\r\nMessage-Id: " + messageId + "\r\nFeed: Daily\r\n\r\n<x-html><p>" + subject +
         "</p></x-html>\r\n";
}

class HostAutomationTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::filesystem::create_directories(dir_.File("News.fol/Deep.fol"));
    WriteFileBytes(dir_.File("News.fol/Tech.mbx"), "");
    WriteFileBytes(dir_.File("News.fol/Deep.fol/World.mbx"), "");
    Start({});
    previousHandler_ = platform::SetMessageBoxHandler(
        [this](const std::string& text, const std::string&) { messageBoxes_.push_back(text); });
  }
  void TearDown() override {
    platform::SetMessageBoxHandler(previousHandler_);
    if (core_) host::WithdrawHost(core_.get());
  }
  void Start(host::HostOptions options) {
    if (core_) host::WithdrawHost(core_.get());
    std::string errorText;
    core_ = host::HostCore::Open(dir_.Path(), options, errorText);
    ASSERT_TRUE(core_) << errorText;
    host::PublishHost(core_);
  }
  std::vector<std::string> WindowTitles() {
    std::vector<std::string> titles;
    for (const host::MailboxWindow& window : core_->Windows()->MailboxWindows()) titles.push_back(window.title);
    return titles;
  }

  TempDir dir_;
  std::shared_ptr<host::HostCore> core_;
  std::vector<int> waits_;
  HostAutomation automation_{[this](int milliseconds) { waits_.push_back(milliseconds); }};
  std::vector<std::string> messageBoxes_;
  platform::MessageBoxHandler previousHandler_;
};

TEST_F(HostAutomationTest, StatusTextReachesTheHostsStatusBar) {
  EXPECT_TRUE(automation_.SetStatusText("Tarnwick. For Help, press F1."));
  EXPECT_EQ(core_->Windows()->StatusText(), "Tarnwick. For Help, press F1.");
}

TEST_F(HostAutomationTest, MailboxPathCreatingAddsTheMailboxAndGivesItsFile) {
  std::string path = automation_.MailboxPathCreating("  Pending ");
  EXPECT_EQ(path, dir_.Path() + "/Pending.mbx");
  EXPECT_TRUE(std::filesystem::exists(path));
  EXPECT_EQ(automation_.MailboxPathCreating("Pending"), path) << "an existing mailbox is found again";
  EXPECT_EQ(automation_.MailboxPathCreating("Tech: News?"), dir_.Path() + "/Tech News.mbx") << "made safe";
  EXPECT_EQ(automation_.MailboxPathCreating(""), "-1");
  EXPECT_EQ(automation_.MailboxPathCreating(" \t "), "-1");
  EXPECT_EQ(automation_.MailboxPathCreating("?? "), "-1") << "nothing left once made safe and trimmed";
  EXPECT_TRUE(messageBoxes_.empty());
}

TEST_F(HostAutomationTest, OpenMailboxByNameOpensItsWindowAndPausesOnce) {
  EXPECT_TRUE(automation_.OpenMailboxByName("Tech"));
  EXPECT_EQ(WindowTitles(), (std::vector<std::string>{"Tech"}));
  EXPECT_EQ(waits_, (std::vector<int>{200}));
  EXPECT_FALSE(automation_.OpenMailboxByName("Nowhere"));
  EXPECT_EQ(waits_.size(), 1u);
}

TEST_F(HostAutomationTest, FindMailboxIdSearchesEveryFolderIgnoringCase) {
  int world = core_->Store().FindMailbox("World");
  EXPECT_EQ(automation_.FindMailboxId(dir_.Path() + "/News.fol/Deep.fol/World.mbx"), world);
  EXPECT_EQ(automation_.FindMailboxId(dir_.Path() + "/NEWS.FOL/deep.fol/world.MBX"), world);
  EXPECT_EQ(automation_.FindMailboxId(dir_.Path() + "/In.mbx"), 2);
  EXPECT_EQ(automation_.FindMailboxId(dir_.Path() + "/News.fol/Nope.mbx"), -1);
  EXPECT_EQ(automation_.FindMailboxId(""), -1);
}

TEST_F(HostAutomationTest, FindMailboxIdPrefersTheExactPathToOneInAnotherCase) {
  if (!test::NamesDifferingInCaseAreDistinct(dir_)) GTEST_SKIP() << "this file system ignores letter case";
  WriteFileBytes(dir_.File("News.mbx"), "");
  WriteFileBytes(dir_.File("news.mbx"), "");
  Start({});
  int upper = core_->Store().FindMailbox(dir_.File("News.mbx"));
  int lower = core_->Store().FindMailbox(dir_.File("news.mbx"));
  ASSERT_NE(upper, lower);
  EXPECT_EQ(automation_.FindMailboxId(dir_.File("news.mbx")), lower);
  EXPECT_EQ(automation_.FindMailboxId(dir_.File("News.mbx")), upper);
}

TEST_F(HostAutomationTest, OpenMailboxByPathOpensItAndNamesItInTheStatusBar) {
  EXPECT_TRUE(automation_.OpenMailboxByPath(dir_.Path() + "/news.fol/tech.mbx"));
  EXPECT_EQ(WindowTitles(), (std::vector<std::string>{"Tech"}));
  EXPECT_EQ(core_->Windows()->StatusText(), "Tech");
  EXPECT_FALSE(automation_.OpenMailboxByPath(dir_.Path() + "/Missing.mbx"));
}

TEST_F(HostAutomationTest, MailboxWindowsAreClosedByTitleTopmostFirst) {
  ASSERT_TRUE(automation_.OpenMailboxByName("Tech"));
  ASSERT_TRUE(automation_.OpenMailboxByName("In"));
  EXPECT_EQ(automation_.MailboxWindowTitles(), (std::vector<std::string>{"In", "Tech"}));
  EXPECT_FALSE(automation_.CloseMailboxWindow("Pending"));
  EXPECT_FALSE(automation_.CloseMailboxWindow(""));
  EXPECT_TRUE(automation_.CloseMailboxWindow("Tech"));
  EXPECT_EQ(WindowTitles(), (std::vector<std::string>{"In"}));
  EXPECT_TRUE(automation_.CloseTopMailboxWindow());
  EXPECT_FALSE(automation_.CloseTopMailboxWindow());
  EXPECT_TRUE(automation_.BringHostForward());
  EXPECT_EQ(core_->Windows()->TimesBroughtForward(), 1);
}

// The walk a check makes: stage messages in "Pending" by appending to its file, collect the
// identifiers already in the newsbox, then move every staged message last first.
TEST_F(HostAutomationTest, StagedMessagesAreMovedIntoTheNewsboxLastFirst) {
  std::string pending = automation_.MailboxPathCreating("Pending");
  ASSERT_NE(pending, "-1");
  {
    std::ofstream file(pending, std::ios::binary | std::ios::app);
    file << Article("one", "<1@localhost>") << Article("two", "<2@localhost>") << Article("three", "<3@localhost>");
  }
  HostConnectResult connection = automation_.Connect();
  ASSERT_TRUE(connection.Connected()) << connection.errorText;
  const HostApplication& app = connection.application;
  HostFolder newsbox = app.MailboxById(automation_.FindMailboxId(dir_.Path() + "/News.fol/Tech.mbx"));
  ASSERT_TRUE(newsbox.IsValid());
  EXPECT_EQ(newsbox.Kind(), 1);
  EXPECT_EQ(newsbox.Name(), "Tech");
  EXPECT_EQ(newsbox.LeftOut(), 0);

  HostCollection staged = app.MailboxByName("Pending").Messages();
  int total = staged.Count();
  ASSERT_EQ(total, 3);
  std::vector<std::string> titles;
  for (int position = total; position >= 1; --position) {
    HostMessage message(staged.Item(position));
    std::string raw = message.RawText();
    EXPECT_TRUE(raw.starts_with("Subject: ")) << raw;
    EXPECT_NE(raw.find("\r\n\r\n"), std::string::npos);
    EXPECT_EQ(message.Body(), "<p>" + message.Title() + "</p>");
    EXPECT_GT(message.Id(), 0);
    titles.push_back(message.Title());
    EXPECT_TRUE(message.SetStatus(0));
    EXPECT_TRUE(message.MoveTo(newsbox));
  }
  EXPECT_EQ(titles, (std::vector<std::string>{"three", "two", "one"}));
  EXPECT_EQ(staged.Count(), 0);
  EXPECT_TRUE(newsbox.Open());

  HostCollection delivered = newsbox.Messages();
  std::vector<std::string> known;
  for (int position = delivered.Count(); position >= 1; --position) {
    known.push_back(HostMessage(delivered.Item(position)).MessageIdLine());
  }
  EXPECT_EQ(known, (std::vector<std::string>{"<1@localhost>", "<2@localhost>", "<3@localhost>"}));
  EXPECT_EQ(ReadFileBytes(pending), "");
}

TEST_F(HostAutomationTest, MoveToNothingFailsAndLeavesTheMessage) {
  std::string pending = automation_.MailboxPathCreating("Pending");
  WriteFileBytes(pending, Article("stays", "<s@x>"));
  HostConnectResult connection = automation_.Connect();
  HostCollection staged = connection.application.MailboxByName("Pending").Messages();
  HostMessage message(staged.Item(1));
  EXPECT_FALSE(message.MoveTo(connection.application.MailboxByName("No such newsbox")));
  EXPECT_EQ(staged.Count(), 1);
  EXPECT_FALSE(HostMessage().MoveTo(HostFolder()));
  EXPECT_EQ(HostMessage().Id(), -1);
  EXPECT_EQ(HostFolder().Path(), "");
  EXPECT_EQ(HostCollection().Count(), -1);
}

TEST_F(HostAutomationTest, TopLevelWalkSeesKindsChildrenAndTheLeftOutFlag) {
  ASSERT_TRUE(core_->Store().SetLeftOut(core_->Store().FindMailboxOrFolder("News.fol/Deep.fol"), true).ok);
  HostConnectResult connection = automation_.Connect();
  HostCollection top = connection.application.TopLevel();
  ASSERT_EQ(top.Count(), 4);
  HostFolder news(top.Item(4));
  EXPECT_EQ(news.Name(), "News");
  EXPECT_EQ(news.Kind(), 2);
  EXPECT_EQ(news.Path(), dir_.Path() + "/News.fol");
  EXPECT_EQ(news.Messages().Count(), 0);
  HostCollection children = news.Children();
  ASSERT_EQ(children.Count(), 2);
  EXPECT_EQ(HostFolder(children.Item(1)).LeftOut(), 1);
  EXPECT_EQ(HostFolder(children.Item(2)).Name(), "Tech");
  EXPECT_EQ(HostFolder(children.Item(2)).LeftOut(), 0);
  EXPECT_FALSE(children.Item(3));
}

TEST_F(HostAutomationTest, NewOutgoingMessageGoesToOut) {
  HostConnectResult connection = automation_.Connect();
  ASSERT_TRUE(connection.application.NewOutgoingMessage("Story (fwd)", "", "--- begin forwarded article\r\n\r\nx"));
  HostCollection out = connection.application.MailboxById(3).Messages();
  ASSERT_EQ(out.Count(), 1);
  EXPECT_EQ(HostMessage(out.Item(1)).Title(), "Story (fwd)");
  EXPECT_EQ(HostMessage(out.Item(1)).Body(), "--- begin forwarded article\r\n\r\nx");
}

TEST_F(HostAutomationTest, SwitchedOffAutomationGivesEveryFailureValue) {
  Start(host::HostOptions{false});
  std::string errorText;
  EXPECT_FALSE(automation_.SetStatusText("x", &errorText));
  EXPECT_NE(errorText.find("switched off"), std::string::npos) << errorText;
  EXPECT_EQ(automation_.MailboxPathCreating("Pending"), "-1");
  ASSERT_EQ(messageBoxes_.size(), 1u);
  EXPECT_EQ(messageBoxes_[0], errorText);
  EXPECT_FALSE(std::filesystem::exists(dir_.File("Pending.mbx")));
  EXPECT_FALSE(automation_.OpenMailboxByName("Tech"));
  EXPECT_EQ(automation_.FindMailboxId(dir_.Path() + "/In.mbx"), -1);
  EXPECT_FALSE(automation_.OpenMailboxByPath(dir_.Path() + "/In.mbx"));
  EXPECT_TRUE(waits_.empty());
  EXPECT_FALSE(automation_.Connect().Connected());
  // The host's windows are not part of its automation server.
  core_->Windows()->OpenMailboxWindow(2, "In");
  EXPECT_TRUE(automation_.CloseMailboxWindow("In"));
}

TEST_F(HostAutomationTest, HostThatHasGoneAwayGivesEveryFailureValue) {
  host::WithdrawHost(core_.get());
  std::string errorText;
  EXPECT_FALSE(automation_.SetStatusText("x", &errorText));
  EXPECT_NE(errorText.find("not running"), std::string::npos) << errorText;
  EXPECT_EQ(automation_.MailboxPathCreating("Pending"), "-1");
  EXPECT_EQ(messageBoxes_.size(), 1u);
  EXPECT_EQ(automation_.FindMailboxId(dir_.Path() + "/In.mbx"), -1);
  EXPECT_FALSE(automation_.CloseMailboxWindow("In"));
  EXPECT_FALSE(automation_.BringHostForward());
  EXPECT_TRUE(automation_.MailboxWindowTitles().empty());
}

TEST_F(HostAutomationTest, HostWithoutMainWindowClosesNothing) {
  core_->Windows()->OpenMailboxWindow(2, "In");
  core_->Windows()->SetMainWindowPresent(false);
  EXPECT_FALSE(automation_.CloseMailboxWindow("In"));
  EXPECT_FALSE(automation_.BringHostForward());
}

}  // namespace
}  // namespace tarnwick::automation
