// The host's automation server seen from a plug-in in the same process: connected through the
// exported connect function, driven by dispatch id.
#include "core/host_core.h"
#include "core/host_registry.h"
#include "host_test_support.h"
#include "platform/dispatch_ids.h"
#include "platform/host_connect.h"

#include <gtest/gtest.h>

#include <fstream>

namespace tarnwick::host {
namespace {

using platform::DispatchPointer;
using platform::DispatchResult;
using tarnwick::test::TempDir;
using test::ArticleMessage;
using test::WriteBelow;

class AutomationServer : public ::testing::Test {
protected:
  void SetUp() override { Start({}); }
  void TearDown() override {
    if (core_) WithdrawHost(core_.get());
  }
  void Start(HostOptions options) {
    std::string errorText;
    core_ = HostCore::Open(dir_.Path(), options, errorText);
    ASSERT_TRUE(core_) << errorText;
    PublishHost(core_);
  }
  DispatchPointer Application() {
    platform::AutomationConnectResult connection = platform::ConnectAutomationServer(platform::kMailAutomationProgId);
    EXPECT_TRUE(connection.application) << connection.errorText;
    return connection.application;
  }
  static DispatchPointer Object(const DispatchResult& result) {
    EXPECT_TRUE(result.ok) << result.errorText;
    return result.value.Object();
  }
  DispatchPointer Mailbox(const std::string& name) {
    return Object(Application()->Call(platform::kApplicationFolderByName, {name, 1}));
  }
  DispatchPointer MessageAt(const std::string& mailbox, int position) {
    DispatchPointer messages = Object(Mailbox(mailbox)->Get(platform::kFolderMessages, {}));
    return Object(messages->Get(platform::kCollectionItem, {position}));
  }

  TempDir dir_;
  std::shared_ptr<HostCore> core_;
};

TEST_F(AutomationServer, ConnectionIsRefusedWhenSwitchedOffOrGoneOrMisnamed) {
  platform::AutomationConnectResult wrong = platform::ConnectAutomationServer("Other.Application.1");
  EXPECT_FALSE(wrong.application);
  EXPECT_NE(wrong.errorText.find("Other.Application.1"), std::string::npos);
  EXPECT_TRUE(platform::ConnectAutomationServer("eudora.euapplication.1").application) << "ProgIDs ignore case";

  ASSERT_TRUE(core_->Store().SetAutomationEnabled(false).ok);
  platform::AutomationConnectResult off = platform::ConnectAutomationServer(platform::kMailAutomationProgId);
  EXPECT_FALSE(off.application);
  EXPECT_NE(off.errorText.find("switched off"), std::string::npos) << off.errorText;
  EXPECT_TRUE(platform::ConnectHostWindows().windows) << "the windows do not depend on automation";

  WithdrawHost(core_.get());
  platform::AutomationConnectResult gone = platform::ConnectAutomationServer(platform::kMailAutomationProgId);
  EXPECT_FALSE(gone.application);
  EXPECT_NE(gone.errorText.find("not running"), std::string::npos) << gone.errorText;
  EXPECT_FALSE(platform::ConnectHostWindows().windows);
}

TEST_F(AutomationServer, NoAutomationOptionOverridesTheSettings) {
  WithdrawHost(core_.get());
  Start(HostOptions{false});
  EXPECT_FALSE(platform::ConnectAutomationServer(platform::kMailAutomationProgId).application);
}

TEST_F(AutomationServer, ObjectsOutliveTheHostAndThenFailClearly) {
  DispatchPointer in = Mailbox("In");
  ASSERT_TRUE(in);
  WithdrawHost(core_.get());
  core_.reset();
  DispatchResult result = in->Get(platform::kFolderName, {});
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.errorText.find("shut down"), std::string::npos);
}

TEST_F(AutomationServer, WrongMembersAndArgumentsAreErrorsNotCrashes) {
  DispatchPointer app = Application();
  EXPECT_FALSE(app->Get(999, {}).ok);
  EXPECT_FALSE(app->Call(platform::kApplicationFolderByName, {}).ok);
  EXPECT_FALSE(app->Call(platform::kApplicationFolderByName, {7, 1}).ok);
  EXPECT_FALSE(app->Call(platform::kApplicationFolderById, {"two"}).ok);
  EXPECT_FALSE(app->Put(platform::kApplicationStatusText, 5).ok);
  EXPECT_FALSE(app->Call(platform::kApplicationQueueMessage, {"a", "b"}).ok);
  DispatchPointer top = Object(app->Get(platform::kApplicationFolders, {}));
  EXPECT_FALSE(top->Get(platform::kCollectionItem, {0}).ok);
  EXPECT_FALSE(top->Get(platform::kCollectionItem, {4}).ok) << "In, Out and Trash only";
  EXPECT_TRUE(top->Get(platform::kCollectionItem, {3}).ok);
  DispatchPointer message = Object(app->Call(platform::kApplicationQueueMessage, {"", "s", "", "", "", "b"}));
  EXPECT_FALSE(message->Get(platform::kMessageHeaderField, {99}).ok);
  EXPECT_FALSE(message->Put(platform::kMessageStatus, -1).ok);
  EXPECT_FALSE(message->Put(platform::kMessageStatus, "0").ok);
  EXPECT_FALSE(message->Call(platform::kMessageMove, {DispatchPointer()}).ok) << "nothing is no mailbox";
  EXPECT_FALSE(message->Call(platform::kMessageMove, {top}).ok) << "a collection is no mailbox";
}

TEST_F(AutomationServer, LookupsThatFindNothingGiveNothing) {
  DispatchResult byName = Application()->Call(platform::kApplicationFolderByName, {"Nope", 1});
  EXPECT_TRUE(byName.ok);
  EXPECT_FALSE(byName.value.IsObject());
  DispatchResult byId = Application()->Call(platform::kApplicationFolderById, {4242, 1});
  EXPECT_TRUE(byId.ok);
  EXPECT_FALSE(byId.value.IsObject());
}

TEST_F(AutomationServer, MessagesReportBodyHeadersAndWholeTextUnescaped) {
  WriteBelow(dir_.Path(), "News.mbx",
             ArticleMessage("Hello", "<guid-1@localhost>", "<p>a</p>\r\n>From the desk\r\n>>From deeper"));
  DispatchPointer message = MessageAt("News", 1);
  EXPECT_EQ(message->Get(platform::kMessageBody, {}).value.Text(), "<p>a</p>\r\nFrom the desk\r\n>From deeper");
  EXPECT_EQ(message->Get(platform::kMessageHeaderField, {platform::kHeaderMessageId}).value.Text(),
            "<guid-1@localhost>");
  EXPECT_EQ(message->Get(platform::kMessageSubject, {}).value.Text(), "Hello");
  std::string raw = message->Get(platform::kMessageRawText, {}).value.Text();
  EXPECT_TRUE(raw.starts_with("Subject: Hello\r\n")) << "no separator line";
  EXPECT_NE(raw.find("\r\n\r\n<x-html><p>a</p>\r\nFrom the desk\r\n>From deeper</x-html>\r\n"), std::string::npos)
      << raw;
  EXPECT_EQ(message->Get(platform::kMessageStatus, {}).value.Number(), 0);
  EXPECT_TRUE(message->Put(platform::kMessageStatus, 1).ok);
  EXPECT_EQ(message->Get(platform::kMessageStatus, {}).value.Number(), 1);
}

TEST_F(AutomationServer, NewOutgoingMessageLandsInOutWaitingToBeSent) {
  DispatchPointer message = Object(Application()->Call(
      platform::kApplicationQueueMessage,
      {"", "Story (fwd)", "", "", "/data/Forwarded Articles/Story.nws", "Forwarded article attached."}));
  EXPECT_EQ(message->Get(platform::kMessageSubject, {}).value.Text(), "Story (fwd)");
  EXPECT_EQ(message->Get(platform::kMessageBody, {}).value.Text(), "Forwarded article attached.");
  EXPECT_EQ(message->Get(platform::kMessageStatus, {}).value.Number(), kStateUnsent);
  std::vector<MessageInfo> out;
  ASSERT_TRUE(core_->Store().ListMessages(kOutMailboxId, out).ok);
  ASSERT_EQ(out.size(), 1u);
  std::string stored;
  ASSERT_TRUE(core_->Store().ReadMessage(kOutMailboxId, out[0].id, stored).ok);
  EXPECT_TRUE(stored.starts_with("From ???@??? ")) << stored;
  EXPECT_NE(stored.find("\r\nTo: \r\nSubject: Story (fwd)\r\n"), std::string::npos) << stored;
  EXPECT_NE(stored.find("\r\nX-Attachments: /data/Forwarded Articles/Story.nws\r\n"), std::string::npos);
  EXPECT_EQ(stored.find("Cc:"), std::string::npos);
}

TEST_F(AutomationServer, HeaderValuesCannotBreakTheHeaderBlock) {
  DispatchPointer message = Object(Application()->Call(platform::kApplicationQueueMessage,
                                                       {"", "Evil\r\nBcc: victim@example.com", "", "", "", "x"}));
  EXPECT_EQ(message->Get(platform::kMessageSubject, {}).value.Text(), "Evil  Bcc: victim@example.com");
  EXPECT_EQ(message->Get(platform::kMessageHeaderField, {platform::kHeaderBcc}).value.Text(), "");
}

TEST_F(AutomationServer, MovedMessageObjectFollowsItsMessage) {
  WriteBelow(dir_.Path(), "Pending.mbx", ArticleMessage("One", "<1@x>", "a") + ArticleMessage("Two", "<2@x>", "b"));
  DispatchPointer news = Object(
      Object(Application()->Get(platform::kApplicationFolders, {}))->Call(platform::kCollectionAdd, {"News", 1}));
  DispatchPointer last = MessageAt("Pending", 2);
  ASSERT_TRUE(last->Call(platform::kMessageMove, {news}).ok);
  EXPECT_EQ(last->Get(platform::kMessageSubject, {}).value.Text(), "Two");
  EXPECT_EQ(Object(Mailbox("Pending")->Get(platform::kFolderMessages, {}))
                ->Get(platform::kCollectionCount, {})
                .value.Number(),
            1);
  EXPECT_EQ(Object(news->Get(platform::kFolderMessages, {}))->Get(platform::kCollectionCount, {}).value.Number(), 1);
}

TEST_F(AutomationServer, OpeningAMailboxShowsItsWindowOnTop) {
  WriteBelow(dir_.Path(), "News.fol/Tech.mbx", "");
  DispatchPointer tech = Mailbox("Tech");
  DispatchPointer in = Mailbox("In");
  ASSERT_TRUE(tech->Call(platform::kFolderOpen, {}).ok);
  ASSERT_TRUE(in->Call(platform::kFolderOpen, {}).ok);
  ASSERT_TRUE(tech->Call(platform::kFolderOpen, {}).ok);
  platform::HostWindowsPointer windows = platform::ConnectHostWindows().windows;
  ASSERT_TRUE(windows);
  EXPECT_EQ(windows->MailboxWindowTitles(), (std::vector<std::string>{"Tech", "In"}));
  DispatchPointer folder =
      Object(Object(Application()->Get(platform::kApplicationFolders, {}))->Get(platform::kCollectionItem, {4}));
  EXPECT_EQ(folder->Get(platform::kFolderKind, {}).value.Number(), platform::kFolderKindFolder);
  EXPECT_FALSE(folder->Call(platform::kFolderOpen, {}).ok);
}

}  // namespace
}  // namespace tarnwick::host
