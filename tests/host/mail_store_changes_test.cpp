// The mail store tells a listener what it changed (the host's windows refresh from that), and
// puts a translated message in place of the original.
#include "core/mail_store.h"
#include "core/mbox_format.h"
#include "host_test_support.h"

#include <gtest/gtest.h>

#include <thread>

namespace tarnwick::host {
namespace {

using tarnwick::test::ReadFileBytes;
using tarnwick::test::TempDir;
using test::ArticleMessage;
using test::OpenStore;
using test::Subjects;

struct StoreWithListener {
  TempDir dir;
  std::unique_ptr<MailStore> store = OpenStore(dir.Path());
  std::vector<int32_t> told;

  StoreWithListener() {
    store->SetChangeListener([this](int32_t id) {
      told.push_back(id);
      // Called after the store let go of its lock: reading back from here must not block.
      size_t count = 0;
      (void)store->Counts(kInMailboxId, &count, nullptr);
    });
  }
  uint32_t Add(int32_t mailbox, const std::string& subject) {
    uint32_t id = 0;
    EXPECT_TRUE(store->AddMessage(mailbox, ArticleMessage(subject, "<" + subject + "@x>", "body"), 0, &id).ok);
    return id;
  }
  std::vector<int32_t> Take() { return std::exchange(told, {}); }
};

TEST(MailStoreChanges, EveryChangeIsToldOnceWithTheMailboxesItTouched) {
  StoreWithListener s;
  int32_t news = 0;
  ASSERT_TRUE(s.store->Create(0, "News", true, &news, nullptr).ok);
  EXPECT_EQ(s.Take(), (std::vector<int32_t>{kTreeChanged}));

  uint32_t id = s.Add(kInMailboxId, "one");
  EXPECT_EQ(s.Take(), (std::vector<int32_t>{kInMailboxId}));
  ASSERT_TRUE(s.store->SetMessageState(kInMailboxId, id, kStateRead).ok);
  EXPECT_EQ(s.Take(), (std::vector<int32_t>{kInMailboxId}));
  ASSERT_TRUE(s.store->SetMessageState(kInMailboxId, id, kStateRead).ok);
  EXPECT_TRUE(s.Take().empty()) << "a state that stays the same is no change";

  uint32_t moved = 0;
  ASSERT_TRUE(s.store->MoveMessage(kInMailboxId, id, news, &moved).ok);
  EXPECT_EQ(s.Take(), (std::vector<int32_t>{news, kInMailboxId}));
  ASSERT_TRUE(s.store->ReplaceMessage(news, moved, ArticleMessage("two", "<two@x>", "new body")).ok);
  EXPECT_EQ(s.Take(), (std::vector<int32_t>{news}));
  ASSERT_TRUE(s.store->SetLeftOut(news, true).ok);
  EXPECT_EQ(s.Take(), (std::vector<int32_t>{kTreeChanged}));

  // Reading changes nothing; a rescan tells only when the tree is not what it was.
  std::vector<MessageInfo> messages;
  ASSERT_TRUE(s.store->ListMessages(news, messages).ok);
  ASSERT_TRUE(s.store->Rescan().ok);
  EXPECT_TRUE(s.Take().empty());
  tarnwick::test::WriteFileBytes(s.dir.File("Later.mbx"), "");
  ASSERT_TRUE(s.store->Rescan().ok);
  EXPECT_EQ(s.Take(), (std::vector<int32_t>{kTreeChanged}));

  // Failures change nothing and tell nothing.
  EXPECT_FALSE(s.store->MoveMessage(kInMailboxId, 999, news, nullptr).ok);
  EXPECT_FALSE(s.store->ReplaceMessage(news, moved, "").ok);
  EXPECT_TRUE(s.Take().empty());

  s.store->SetChangeListener({});
  s.Add(kInMailboxId, "unheard");
  EXPECT_TRUE(s.Take().empty());
}

TEST(MailStoreChanges, AListenerHearsChangesMadeOnAnotherThread) {
  StoreWithListener s;
  std::thread writer([&] { s.Add(kOutMailboxId, "from a thread"); });
  writer.join();
  EXPECT_EQ(s.Take(), (std::vector<int32_t>{kOutMailboxId}));
}

TEST(MailStoreReplace, AReplacedMessageKeepsItsPlaceIdAndStateAndTheOthersStayWhole) {
  TempDir dir;
  auto store = OpenStore(dir.Path());
  uint32_t ids[3];
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(
        store->AddMessage(kInMailboxId, ArticleMessage("m" + std::to_string(i), "<m@x>", "short"), 0, &ids[i]).ok);
  }
  ASSERT_TRUE(store->SetMessageState(kInMailboxId, ids[1], kStateRead).ok);
  std::string first, last;
  ASSERT_TRUE(store->ReadMessage(kInMailboxId, ids[0], first).ok);
  ASSERT_TRUE(store->ReadMessage(kInMailboxId, ids[2], last).ok);

  // Without a separator line and with bare line feeds, as a translator's output may be.
  const std::string longer =
      "Subject: translated\nContent-Type: text/html\n\n<x-html>" + std::string(5000, 'x') + "</x-html>";
  ASSERT_TRUE(store->ReplaceMessage(kInMailboxId, ids[1], longer).ok);
  std::string middle;
  ASSERT_TRUE(store->ReadMessage(kInMailboxId, ids[1], middle).ok);
  EXPECT_TRUE(IsSeparatorLine(middle));
  EXPECT_TRUE(middle.ends_with("</x-html>\r\n"));
  EXPECT_EQ(middle.find("\r\n\r\n<x-html>") != std::string::npos, true) << "line ends became CR LF";
  EXPECT_EQ(ReadFileBytes(dir.File("In.mbx")), first + middle + last);
  std::string lastAfter;
  ASSERT_TRUE(store->ReadMessage(kInMailboxId, ids[2], lastAfter).ok) << "later offsets moved with it";
  EXPECT_EQ(lastAfter, last);

  std::vector<MessageInfo> messages;
  ASSERT_TRUE(store->ListMessages(kInMailboxId, messages).ok);
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[1].id, ids[1]);
  EXPECT_EQ(messages[1].state, kStateRead);
  EXPECT_EQ(messages[1].summary.subject, "translated");

  // A new process reads the same from the files and the table of contents.
  auto fresh = OpenStore(dir.Path());
  EXPECT_EQ(Subjects(*fresh, kInMailboxId), (std::vector<std::string>{"m0", "translated", "m2"}));
  size_t unread = 0;
  ASSERT_TRUE(fresh->Counts(kInMailboxId, nullptr, &unread).ok);
  EXPECT_EQ(unread, 2u);

  EXPECT_FALSE(store->ReplaceMessage(kInMailboxId, ids[1], "").ok) << "an empty message would lose the original";
  EXPECT_FALSE(store->ReplaceMessage(kInMailboxId, 999, longer).ok);
  EXPECT_EQ(ReadFileBytes(dir.File("In.mbx")), first + middle + last);
}

}  // namespace
}  // namespace tarnwick::host
