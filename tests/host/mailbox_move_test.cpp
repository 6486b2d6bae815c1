// Moving messages between mailboxes: the order the newsbox writer uses (last first), removal from
// the middle, and crashes at every point in between, which may duplicate a message but never lose one.
#include "core/mail_store.h"
#include "core/mbox_format.h"
#include "host_test_support.h"

#include "platform/file_system.h"
#include "support/child_process.h"
#include "support/environment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <thread>

namespace tarnwick::host {
namespace {

using tarnwick::test::ReadFileBytes;
using tarnwick::test::TempDir;
using test::ArticleMessage;
using test::OpenStore;
using test::Subjects;

struct TwoMailboxes {
  TempDir dir;
  std::unique_ptr<MailStore> store;
  int32_t source = 0;
  int32_t target = 0;

  explicit TwoMailboxes(int messages, int alreadyInTarget = 0) {
    store = OpenStore(dir.Path());
    EXPECT_TRUE(store->Create(0, "Pending", true, &source, nullptr).ok);
    EXPECT_TRUE(store->Create(0, "News", true, &target, nullptr).ok);
    for (int i = 0; i < alreadyInTarget; ++i) Add(target, "old" + std::to_string(i));
    for (int i = 0; i < messages; ++i) Add(source, "m" + std::to_string(i));
  }
  void Add(int32_t mailbox, const std::string& subject) {
    std::string body = "first line\r\nFrom a line that needs escaping\r\nend-" + subject;
    EXPECT_TRUE(store->AddMessage(mailbox, ArticleMessage(subject, "<" + subject + "@x>", body), 0, nullptr).ok);
  }
  std::vector<MessageInfo> List(int32_t mailbox) {
    std::vector<MessageInfo> messages;
    EXPECT_TRUE(store->ListMessages(mailbox, messages).ok);
    return messages;
  }
};

TEST(MailboxMove, LastFirstMovesEmptyTheSourceAndKeepStatesAndBytes) {
  TwoMailboxes boxes(4, 1);
  std::vector<MessageInfo> pending = boxes.List(boxes.source);
  ASSERT_TRUE(boxes.store->SetMessageState(boxes.source, pending[2].id, kStateRead).ok);
  std::string secondBefore;
  ASSERT_TRUE(boxes.store->ReadMessage(boxes.source, pending[1].id, secondBefore).ok);

  for (auto it = pending.rbegin(); it != pending.rend(); ++it) {
    uint32_t newId = 0;
    StoreStatus status = boxes.store->MoveMessage(boxes.source, it->id, boxes.target, &newId);
    ASSERT_TRUE(status.ok) << status.errorText;
    EXPECT_NE(newId, 0u);
  }
  EXPECT_TRUE(boxes.List(boxes.source).empty());
  EXPECT_EQ(ReadFileBytes(boxes.dir.File("Pending.mbx")), "");
  EXPECT_EQ(Subjects(*boxes.store, boxes.target), (std::vector<std::string>{"old0", "m3", "m2", "m1", "m0"}));
  std::vector<MessageInfo> news = boxes.List(boxes.target);
  EXPECT_EQ(news[2].state, kStateRead);
  EXPECT_EQ(news[1].state, kStateUnread);
  std::string secondAfter;
  ASSERT_TRUE(boxes.store->ReadMessage(boxes.target, news[3].id, secondAfter).ok);
  EXPECT_EQ(secondAfter, secondBefore);
  // The files alone (a new process) say the same.
  auto fresh = OpenStore(boxes.dir.Path());
  // (Ids are the new process's own: mailboxes are found again by name.)
  EXPECT_EQ(Subjects(*fresh, fresh->FindMailbox("News")), (std::vector<std::string>{"old0", "m3", "m2", "m1", "m0"}));
  size_t unread = 0;
  ASSERT_TRUE(fresh->Counts(fresh->FindMailbox("News"), nullptr, &unread).ok);
  EXPECT_EQ(unread, 4u);
}

TEST(MailboxMove, MovingFromTheMiddleRewritesTheSourceAndKeepsTheOthersWhole) {
  TwoMailboxes boxes(3);
  std::vector<MessageInfo> before = boxes.List(boxes.source);
  std::string first, last;
  ASSERT_TRUE(boxes.store->ReadMessage(boxes.source, before[0].id, first).ok);
  ASSERT_TRUE(boxes.store->ReadMessage(boxes.source, before[2].id, last).ok);
  ASSERT_TRUE(boxes.store->MoveMessage(boxes.source, before[1].id, boxes.target, nullptr).ok);
  EXPECT_EQ(ReadFileBytes(boxes.dir.File("Pending.mbx")), first + last);
  std::vector<MessageInfo> after = boxes.List(boxes.source);
  ASSERT_EQ(after.size(), 2u);
  EXPECT_EQ(after[1].id, before[2].id) << "the others keep their ids";
  std::string lastAfter;
  ASSERT_TRUE(boxes.store->ReadMessage(boxes.source, after[1].id, lastAfter).ok);
  EXPECT_EQ(lastAfter, last);
  auto fresh = OpenStore(boxes.dir.Path());
  EXPECT_EQ(Subjects(*fresh, fresh->FindMailbox("Pending")), (std::vector<std::string>{"m0", "m2"}));
}

TEST(MailboxMove, MovesIntoAFolderOrAVanishedMessageFailWithAReason) {
  TwoMailboxes boxes(1);
  int32_t folder = 0;
  ASSERT_TRUE(boxes.store->Create(0, "Archive", false, &folder, nullptr).ok);
  uint32_t id = boxes.List(boxes.source)[0].id;
  StoreStatus intoFolder = boxes.store->MoveMessage(boxes.source, id, folder, nullptr);
  EXPECT_FALSE(intoFolder.ok);
  EXPECT_FALSE(intoFolder.errorText.empty());
  EXPECT_FALSE(boxes.store->MoveMessage(boxes.source, id + 100, boxes.target, nullptr).ok);
  EXPECT_EQ(boxes.List(boxes.source).size(), 1u);
  EXPECT_TRUE(boxes.List(boxes.target).empty());
}

// Another writer appends to the newsbox after this move has checked the file's size and before it
// writes: both messages are kept whole, and the move still knows the id and state of its own.
TEST(MailboxMove, AnotherWritersAppendInBetweenIsKeptBesideTheMovedMessage) {
  TwoMailboxes boxes(2, 1);
  std::unique_ptr<MailStore> other = OpenStore(boxes.dir.Path());
  int32_t otherNews = other->FindMailbox("News");
  bool interrupted = false;
  boxes.store->SetFaultHook([&](std::string_view point) {
    if (point != "appending" || interrupted) return;
    interrupted = true;
    EXPECT_TRUE(other->AddMessage(otherNews, ArticleMessage("other writer", "<o@x>", "o"), 0, nullptr).ok);
  });
  uint32_t last = boxes.List(boxes.source)[1].id;
  ASSERT_TRUE(boxes.store->SetMessageState(boxes.source, last, kStateRead).ok);
  uint32_t movedId = 0;
  StoreStatus moved = boxes.store->MoveMessage(boxes.source, last, boxes.target, &movedId);
  ASSERT_TRUE(moved.ok) << moved.errorText;
  EXPECT_TRUE(interrupted);

  std::string bytes;
  ASSERT_TRUE(boxes.store->ReadMessage(boxes.target, movedId, bytes).ok);
  EXPECT_TRUE(bytes.ends_with("end-m1</x-html>\r\n")) << bytes;
  auto after = OpenStore(boxes.dir.Path());
  int32_t news = after->FindMailbox("News");
  EXPECT_EQ(Subjects(*after, news), (std::vector<std::string>{"old0", "other writer", "m1"}));
  std::vector<MessageInfo> listed;
  ASSERT_TRUE(after->ListMessages(news, listed).ok);
  EXPECT_EQ(listed.back().id, movedId);
  EXPECT_EQ(listed.back().state, kStateRead);
  EXPECT_EQ(Subjects(*after, after->FindMailbox("Pending")), (std::vector<std::string>{"m0"}));
}

constexpr char kCrashRole[] = "crashing mover";
constexpr char kCrashFolderVariable[] = "TARNWICK_TEST_CRASH_FOLDER";
constexpr char kCrashPointVariable[] = "TARNWICK_TEST_CRASH_POINT";
constexpr char kCrashPositionVariable[] = "TARNWICK_TEST_CRASH_POSITION";
constexpr int kCrashedStatus = 42;

// The child's part: moves the message at the position given from Pending to News in its own store
// on the folder, and dies at the fault point named.
[[noreturn]] void MoveAndCrash() {
  auto store = OpenStore(std::getenv(kCrashFolderVariable));
  const std::string point = std::getenv(kCrashPointVariable);
  store->SetFaultHook([&](std::string_view reached) {
    if (reached == point) std::_Exit(kCrashedStatus);
  });
  const int32_t source = store->FindMailbox("Pending");
  std::vector<MessageInfo> messages;
  if (!store->ListMessages(source, messages).ok) std::_Exit(1);
  const uint32_t id = messages.at(static_cast<size_t>(std::atoi(std::getenv(kCrashPositionVariable)))).id;
  (void)store->MoveMessage(source, id, store->FindMailbox("News"), nullptr);
  std::_Exit(0);
}

// Moves the message at `position` of Pending in a child process that dies at the fault point named;
// waits for it.
void CrashAt(const TwoMailboxes& boxes, const std::string& point, int position) {
  tarnwick::test::SetEnvironment(kCrashFolderVariable, boxes.dir.Path());
  tarnwick::test::SetEnvironment(kCrashPointVariable, point);
  tarnwick::test::SetEnvironment(kCrashPositionVariable, std::to_string(position));
  tarnwick::test::ChildProcess child(kCrashRole);
  ASSERT_TRUE(child.Running());
  EXPECT_EQ(child.Wait(), kCrashedStatus);
}

TEST(MailboxMoveCrash, CrashAfterAppendLeavesTheMessageInBothMailboxes) {
  if (tarnwick::test::ChildRole() == kCrashRole) MoveAndCrash();
  TwoMailboxes boxes(3, 2);
  CrashAt(boxes, "appended", 2);
  auto after = OpenStore(boxes.dir.Path());
  EXPECT_EQ(Subjects(*after, after->FindMailbox("Pending")), (std::vector<std::string>{"m0", "m1", "m2"}));
  EXPECT_EQ(Subjects(*after, after->FindMailbox("News")), (std::vector<std::string>{"old0", "old1", "m2"}));
}

TEST(MailboxMoveCrash, CrashBeforeTheRewriteIsRenamedLeavesTheSourceWhole) {
  if (tarnwick::test::ChildRole() == kCrashRole) MoveAndCrash();
  TwoMailboxes boxes(3);
  std::string sourceBefore = ReadFileBytes(boxes.dir.File("Pending.mbx"));
  CrashAt(boxes, "rewritten", 1);
  EXPECT_EQ(ReadFileBytes(boxes.dir.File("Pending.mbx")), sourceBefore);
  auto after = OpenStore(boxes.dir.Path());
  EXPECT_EQ(Subjects(*after, after->FindMailbox("Pending")), (std::vector<std::string>{"m0", "m1", "m2"}));
  EXPECT_EQ(Subjects(*after, after->FindMailbox("News")), (std::vector<std::string>{"m1"}));
}

constexpr char kMoverRole[] = "mover";
constexpr char kMoverFolderVariable[] = "TARNWICK_TEST_MOVER_FOLDER";

// The child's part: moves message after message from Pending to News until none is left (exit
// status 0) or it is killed.
[[noreturn]] void MoveEverything(const std::string& folder) {
  auto store = OpenStore(folder);
  int32_t source = store->FindMailbox("Pending");
  int32_t target = store->FindMailbox("News");
  for (;;) {
    std::vector<MessageInfo> pending;
    if (!store->ListMessages(source, pending).ok || pending.empty()) std::_Exit(0);
    // Mostly the last one, now and then one from the middle.
    size_t pick = pending.size() % 7 == 0 ? pending.size() / 2 : pending.size() - 1;
    if (!store->MoveMessage(source, pending[pick].id, target, nullptr).ok) std::_Exit(3);
  }
}

// A writer killed at a random moment, many times over: every message is still there, whole, in
// one mailbox or the other (a copy more for each crash at most).
TEST(MailboxMoveCrash, KilledMoverNeverLosesOrBreaksAMessage) {
  if (tarnwick::test::ChildRole() == kMoverRole) MoveEverything(std::getenv(kMoverFolderVariable));
  constexpr int kMessages = 300;
  TwoMailboxes boxes(kMessages);
  tarnwick::test::SetEnvironment(kMoverFolderVariable, boxes.dir.Path());
  int killedMidway = 0;
  for (int round = 0; round < 4; ++round) {
    const platform::FileInfo before = platform::PathInfo(boxes.dir.File("News.mbx"));
    tarnwick::test::ChildProcess child(kMoverRole);
    ASSERT_TRUE(child.Running());
    // Killed a while after its first move, however long the system takes to start it.
    for (int waited = 0; waited < 10000 && platform::PathInfo(boxes.dir.File("News.mbx")) == before; waited += 2) {
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(15 + 20 * round));
    const int status = child.Kill();
    ASSERT_TRUE(status == -1 || status == 0) << status;
    if (status == -1) ++killedMidway;

    auto store = OpenStore(boxes.dir.Path());
    std::multiset<std::string> seen;
    for (int32_t mailbox : {store->FindMailbox("Pending"), store->FindMailbox("News")}) {
      std::vector<MessageInfo> messages;
      ASSERT_TRUE(store->ListMessages(mailbox, messages).ok);
      for (const MessageInfo& message : messages) {
        std::string bytes;
        ASSERT_TRUE(store->ReadMessage(mailbox, message.id, bytes).ok);
        EXPECT_TRUE(bytes.ends_with("end-" + message.summary.subject + "</x-html>\r\n")) << bytes;
        seen.insert(message.summary.subject);
      }
    }
    for (int i = 0; i < kMessages; ++i) {
      size_t copies = seen.count("m" + std::to_string(i));
      EXPECT_GE(copies, 1u) << "m" << i << " lost in round " << round;
      EXPECT_LE(copies, static_cast<size_t>(round) + 2) << "m" << i;
    }
    std::fprintf(stderr, "round %d: %zu messages seen\n", round, seen.size());
  }
  EXPECT_GT(killedMidway, 0) << "the mover always finished before it was killed";
}

}  // namespace
}  // namespace tarnwick::host
