// Reading mailbox files as the host finds them on disk: written by hand, appended to by a plug-in,
// damaged, or in the looser shapes other mail programs write.
#include "core/mail_store.h"
#include "core/mbox_format.h"
#include "core/toc_layout.h"
#include "host_test_support.h"

#include "platform/file_system.h"
#include "support/permissions.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>

namespace tarnwick::host {
namespace {

using tarnwick::test::ReadFileBytes;
using tarnwick::test::TempDir;
using tarnwick::test::WriteFileBytes;
using test::ArticleMessage;
using test::OpenStore;
using test::Subjects;
using test::WriteBelow;

std::string MessageIdOf(MailStore& store, int32_t mailboxId, uint32_t messageId) {
  std::string bytes;
  StoreStatus status = store.ReadMessage(mailboxId, messageId, bytes);
  EXPECT_TRUE(status.ok) << status.errorText;
  return HeaderValue(SplitStoredMessage(bytes).headerBlock, "Message-Id");
}

std::vector<int16_t> TocStates(const std::string& tocPath) {
  std::string bytes = ReadFileBytes(tocPath);
  std::vector<int16_t> states;
  for (size_t at = kTocHeaderSize; at + kTocEntrySize <= bytes.size(); at += kTocEntrySize) {
    states.push_back(static_cast<int16_t>(static_cast<unsigned char>(bytes[at + kTocStateOffset]) |
                                          (static_cast<unsigned char>(bytes[at + kTocStateOffset + 1]) << 8)));
  }
  return states;
}

int TocCount(const std::string& tocPath) {
  std::string bytes = ReadFileBytes(tocPath);
  if (bytes.size() < kTocHeaderSize) return -1;
  return static_cast<unsigned char>(bytes[kTocCountOffset]) +
         256 * static_cast<unsigned char>(bytes[kTocCountOffset + 1]);
}

TEST(MailboxReading, HandWrittenMailboxIsListedWithCountSubjectsAndMessageIds) {
  TempDir dir;
  WriteBelow(dir.Path(), "News.fol/Daily.mbx", ReadFileBytes(test::FixturePath("three_articles.mbx")));
  auto store = OpenStore(dir.Path());
  int32_t id = store->FindMailbox("Daily");
  ASSERT_NE(id, 0);
  EXPECT_EQ(store->FindMailbox("News.fol/Daily.mbx"), id);

  size_t count = 0, unread = 0;
  ASSERT_TRUE(store->Counts(id, &count, &unread).ok);
  EXPECT_EQ(count, 3u);
  EXPECT_EQ(unread, 3u);
  EXPECT_EQ(Subjects(*store, id), (std::vector<std::string>{"First article", "", "Third article"}));

  std::vector<MessageInfo> messages;
  ASSERT_TRUE(store->ListMessages(id, messages).ok);
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(MessageIdOf(*store, id, messages[0].id), "<item-1@localhost>");
  EXPECT_EQ(MessageIdOf(*store, id, messages[1].id), "<item-2@localhost>");
  EXPECT_EQ(MessageIdOf(*store, id, messages[2].id), "<http://example.com/3@localhost>");
  EXPECT_EQ(messages[0].summary.from, "Ann Writer");
  EXPECT_EQ(messages[2].summary.date, "06/03/2003 06:00:00");

  // The table of contents now lies beside it, in the layout other readers rely on.
  std::string toc = dir.File("News.fol/Daily.toc");
  EXPECT_EQ(ReadFileBytes(toc).size(), kTocHeaderSize + 3 * kTocEntrySize);
  EXPECT_EQ(TocCount(toc), 3);
  EXPECT_EQ(TocStates(toc), (std::vector<int16_t>{0, 0, 0}));
}

TEST(MailboxReading, ReadsTheLooseShapesOtherProgramsWrite) {
  TempDir dir;
  // Bare line feeds, and a last message without its line end.
  WriteBelow(dir.Path(), "Lf.mbx",
             "From ???@??? Mon Jan 1 00:00:00 2024\nSubject: one\n\nbody\n"
             "From ???@??? Mon Jan 1 00:00:00 2024\nSubject: two\n\nno end");
  // Text before the first separator is a message of its own; blank lines there are not.
  WriteBelow(dir.Path(), "Headless.mbx", "Subject: stray\r\n\r\nlost?\r\n" + ArticleMessage("after", "<a@x>", "b"));
  WriteBelow(dir.Path(), "Blank.mbx", "\r\n\r\n" + ArticleMessage("only", "<b@x>", "b"));
  WriteBelow(dir.Path(), "Empty.mbx", "");
  auto store = OpenStore(dir.Path());

  EXPECT_EQ(Subjects(*store, store->FindMailbox("Lf")), (std::vector<std::string>{"one", "two"}));
  EXPECT_EQ(Subjects(*store, store->FindMailbox("Headless")), (std::vector<std::string>{"stray", "after"}));
  EXPECT_EQ(Subjects(*store, store->FindMailbox("Blank")), (std::vector<std::string>{"only"}));
  EXPECT_TRUE(Subjects(*store, store->FindMailbox("Empty")).empty());

  // Moving such messages out gives them what every message here has: a separator and CR LF ends.
  int32_t in = store->FindMailbox("In");
  for (const char* name : {"Lf", "Headless"}) {
    int32_t from = store->FindMailbox(name);
    std::vector<MessageInfo> messages;
    ASSERT_TRUE(store->ListMessages(from, messages).ok);
    for (auto it = messages.rbegin(); it != messages.rend(); ++it) {
      ASSERT_TRUE(store->MoveMessage(from, it->id, in, nullptr).ok);
    }
  }
  std::string inBytes = ReadFileBytes(dir.File("In.mbx"));
  EXPECT_EQ(WithCrLfLineEnds(inBytes), inBytes) << "no bare line feed is left";
  EXPECT_TRUE(inBytes.starts_with("From ???@??? "));
  EXPECT_EQ(Subjects(*store, in), (std::vector<std::string>{"two", "one", "after", "stray"}));
  EXPECT_TRUE(inBytes.ends_with("\r\n"));
}

TEST(MailboxReading, MissingTableIsRebuiltWithEveryMessageUnread) {
  TempDir dir;
  {
    auto store = OpenStore(dir.Path());
    int32_t in = store->FindMailbox("In");
    for (const char* subject : {"a", "b", "c"}) {
      ASSERT_TRUE(store->AddMessage(in, ArticleMessage(subject, "<x>", "y"), kStateRead, nullptr).ok);
    }
    EXPECT_EQ(TocStates(dir.File("In.toc")), (std::vector<int16_t>{1, 1, 1}));
  }
  ASSERT_EQ(unlink(dir.File("In.toc").c_str()), 0);
  auto store = OpenStore(dir.Path());
  size_t count = 0, unread = 0;
  ASSERT_TRUE(store->Counts(kInMailboxId, &count, &unread).ok);
  EXPECT_EQ(count, 3u);
  EXPECT_EQ(unread, 3u);
  EXPECT_EQ(TocCount(dir.File("In.toc")), 3);
  EXPECT_EQ(TocStates(dir.File("In.toc")), (std::vector<int16_t>{0, 0, 0}));
}

// What a plug-in does: append straight to the mailbox file, then have the host read it again.
TEST(MailboxReading, StaleTableKeepsKnownStatesAndAddsAppendedMessagesUnread) {
  TempDir dir;
  auto store = OpenStore(dir.Path());
  int32_t in = kInMailboxId;
  std::vector<uint32_t> ids(3);
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(store->AddMessage(in, ArticleMessage("m" + std::to_string(i), "<x>", "y"), kStateUnread, &ids[i]).ok);
  }
  ASSERT_TRUE(store->SetMessageState(in, ids[1], kStateRead).ok);
  {
    std::ofstream append(dir.File("In.mbx"), std::ios::binary | std::ios::app);
    append << ArticleMessage("appended", "<new@x>", "z");
  }
  // The same store notices, and so does a fresh one (another process).
  EXPECT_EQ(Subjects(*store, in), (std::vector<std::string>{"m0", "m1", "m2", "appended"}));
  std::vector<MessageInfo> messages;
  ASSERT_TRUE(store->ListMessages(in, messages).ok);
  EXPECT_EQ(messages[1].id, ids[1]) << "known messages keep their ids";
  EXPECT_EQ(messages[1].state, kStateRead);
  EXPECT_EQ(TocStates(dir.File("In.toc")), (std::vector<int16_t>{0, 1, 0, 0}));

  {
    std::ofstream append(dir.File("In.mbx"), std::ios::binary | std::ios::app);
    append << ArticleMessage("second append", "<new2@x>", "z");
  }
  auto fresh = OpenStore(dir.Path());
  size_t count = 0, unread = 0;
  ASSERT_TRUE(fresh->Counts(in, &count, &unread).ok);
  EXPECT_EQ(count, 5u);
  EXPECT_EQ(unread, 4u);
  EXPECT_EQ(TocCount(dir.File("In.toc")), 5);
}

TEST(MailboxReading, DamagedTablesAreRebuiltWithoutACrash) {
  TempDir dir;
  WriteBelow(dir.Path(), "Box.mbx", ArticleMessage("a", "<a>", "1") + ArticleMessage("b", "<b>", "2"));
  const std::string toc = dir.File("Box.toc");
  for (const std::string& junk :
       {std::string("short"), std::string(kTocHeaderSize + 5, '\xff'), std::string(5000, 'A')}) {
    WriteFileBytes(toc, junk);
    auto store = OpenStore(dir.Path());
    EXPECT_EQ(Subjects(*store, store->FindMailbox("Box")), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(TocCount(toc), 2);
  }
  // A table of the right shape that lists messages where the file has none.
  std::string good = ReadFileBytes(toc);
  WriteFileBytes(dir.File("Box.mbx"), ArticleMessage("only", "<o>", "1"));
  WriteFileBytes(toc, good);
  auto store = OpenStore(dir.Path());
  EXPECT_EQ(Subjects(*store, store->FindMailbox("Box")), (std::vector<std::string>{"only"}));
}

TEST(MailboxReading, TableWhoseOffsetsWrapRoundIsRebuilt) {
  // Found by fuzzing: the entries still tiled the file once their sums wrapped round, so the table
  // was taken, and reading its first message asked for bytes far beyond the file (up to 4 GiB).
  TempDir dir;
  WriteBelow(dir.Path(), "Box.mbx", ArticleMessage("a", "<a>", "1") + ArticleMessage("b", "<b>", "2"));
  auto store = OpenStore(dir.Path());
  ASSERT_EQ(Subjects(*store, store->FindMailbox("Box")), (std::vector<std::string>{"a", "b"}));
  const std::string toc = dir.File("Box.toc");
  std::string bytes = ReadFileBytes(toc);
  ASSERT_EQ(bytes.size(), kTocHeaderSize + 2 * kTocEntrySize);
  TocEntry first = DecodeTocEntry(std::string_view(bytes).substr(kTocHeaderSize, kTocEntrySize));
  first.offset -= 100;  // wraps round below zero
  first.length += 100;
  bytes.replace(kTocHeaderSize, kTocEntrySize, EncodeTocEntry(first));
  WriteFileBytes(toc, bytes);

  auto reopened = OpenStore(dir.Path());
  const int32_t box = reopened->FindMailbox("Box");
  EXPECT_EQ(Subjects(*reopened, box), (std::vector<std::string>{"a", "b"}));
  std::vector<MessageInfo> messages;
  ASSERT_TRUE(reopened->ListMessages(box, messages).ok);
  for (const MessageInfo& message : messages) {
    std::string stored;
    EXPECT_TRUE(reopened->ReadMessage(box, message.id, stored).ok);
    EXPECT_TRUE(stored.starts_with(kSeparatorPrefix));
  }
}

TEST(MailboxReading, IdsFromAStaleTableNearTheTopOfTheRangeAreNeverHandedOutTwice) {
  // Found by fuzzing: a damaged table with an id near 2^32 made a rebuild count on past it, so a
  // message got id 0 and the next one an id that another message kept.
  TempDir dir;
  WriteBelow(dir.Path(), "Box.mbx", ArticleMessage("a", "<a>", "1") + ArticleMessage("b", "<b>", "2"));
  {
    auto store = OpenStore(dir.Path());
    ASSERT_EQ(Subjects(*store, store->FindMailbox("Box")).size(), 2u);
  }
  const std::string toc = dir.File("Box.toc");
  std::string bytes = ReadFileBytes(toc);
  ASSERT_EQ(bytes.size(), kTocHeaderSize + 2 * kTocEntrySize);
  const uint32_t ids[] = {0xFFFFFFFEu, 1};
  for (size_t i = 0; i < 2; ++i) {
    const size_t at = kTocHeaderSize + i * kTocEntrySize;
    TocEntry entry = DecodeTocEntry(std::string_view(bytes).substr(at, kTocEntrySize));
    entry.id = ids[i];
    bytes.replace(at, kTocEntrySize, EncodeTocEntry(entry));
  }
  WriteFileBytes(toc, bytes);
  std::ofstream(dir.File("Box.mbx"), std::ios::app | std::ios::binary)
      << ArticleMessage("c", "<c>", "3") << ArticleMessage("d", "<d>", "4") << ArticleMessage("e", "<e>", "5");

  auto store = OpenStore(dir.Path());
  const int32_t box = store->FindMailbox("Box");
  std::vector<MessageInfo> messages;
  ASSERT_TRUE(store->ListMessages(box, messages).ok);
  ASSERT_EQ(messages.size(), 5u);
  std::set<uint32_t> seen;
  for (const MessageInfo& message : messages) {
    EXPECT_NE(message.id, 0u);
    EXPECT_TRUE(seen.insert(message.id).second) << message.id;
    EXPECT_EQ(MessageIdOf(*store, box, message.id), "<" + message.summary.subject + ">");
  }
  EXPECT_EQ(messages[0].id, 0xFFFFFFFEu);  // the ids the table knew are kept
  EXPECT_EQ(messages[1].id, 1u);
  uint32_t added = 0;
  ASSERT_TRUE(store->AddMessage(box, ArticleMessage("f", "<f>", "6"), kStateUnread, &added).ok);
  EXPECT_TRUE(added != 0 && !seen.contains(added)) << added;
}

TEST(MailboxReading, ValidTableIsUsedWithoutReadingTheMailboxAgain) {
  TempDir dir;
  WriteBelow(dir.Path(), "Box.mbx", ArticleMessage("a", "<a>", "1"));
  {
    auto store = OpenStore(dir.Path());
    (void)Subjects(*store, store->FindMailbox("Box"));
  }
  const platform::FileInfo before = platform::PathInfo(dir.File("Box.toc"));
  ASSERT_TRUE(before.exists);
  auto store = OpenStore(dir.Path());
  EXPECT_EQ(Subjects(*store, store->FindMailbox("Box")), (std::vector<std::string>{"a"}));
  EXPECT_EQ(platform::PathInfo(dir.File("Box.toc")).identity, before.identity)
      << "a rebuild would have replaced the table";
}

TEST(MailboxReading, UnreadableMailboxFileIsReportedWithItsPath) {
  TempDir dir;
  if (!tarnwick::test::MakeSymbolicLink(dir.File("nowhere"), dir.File("Broken.mbx"))) {
    GTEST_SKIP() << tarnwick::test::kNoSymbolicLinksReason;
  }
  auto store = OpenStore(dir.Path());
  int32_t id = store->FindMailbox("Broken");
  ASSERT_NE(id, 0);
  size_t count = 0;
  StoreStatus status = store->Counts(id, &count, nullptr);
  EXPECT_FALSE(status.ok);
  EXPECT_NE(status.errorText.find("Broken.mbx"), std::string::npos) << status.errorText;
  EXPECT_NE(status.errorText.find("No such file"), std::string::npos) << status.errorText;
}

// In a folder the host may not write to, mailboxes still list (the table lives in memory only) and
// a state change fails with a reason instead of going astray. Checked in a child process without
// the super-user's right to write anywhere.
TEST(MailboxReading, ReadOnlyDataFolderStillListsAndRefusesStateChangesClearly) {
  if (!tarnwick::test::HasPermissionBits()) GTEST_SKIP() << tarnwick::test::kNoPermissionBitsReason;
  TempDir dir;
  { auto store = OpenStore(dir.Path()); }
  WriteBelow(dir.Path(), "Box.mbx", ArticleMessage("a", "<a>", "1") + ArticleMessage("b", "<b>", "2"));
  ASSERT_TRUE(tarnwick::test::SetPermissions(dir.Path(), 0555));
  const std::string folder = dir.Path();
  EXPECT_EXIT(
      {
        if (!tarnwick::test::GiveUpSuperUser()) std::_Exit(2);
        std::string errorText;
        auto store = MailStore::Open(folder, errorText);
        if (!store) std::_Exit(3);
        int32_t box = store->FindMailbox("Box");
        std::vector<MessageInfo> messages;
        if (!store->ListMessages(box, messages).ok || messages.size() != 2) std::_Exit(4);
        StoreStatus status = store->SetMessageState(box, messages[0].id, kStateRead);
        std::vector<MessageInfo> after;
        (void)store->ListMessages(box, after);
        std::fprintf(stderr, "refused=%d state=%d reason=%s\n", status.ok ? 0 : 1, after[0].state,
                     status.errorText.c_str());
        std::_Exit(0);
      },
      ::testing::ExitedWithCode(0), "refused=1 state=0 reason=.*Box.toc cannot be written");
  ASSERT_TRUE(tarnwick::test::SetPermissions(dir.Path(), 0755));
}

TEST(MailboxReading, SummariesAreCutAtACharacterBoundary) {
  TempDir dir;
  std::string subject = "x";
  for (int i = 0; i < 60; ++i) subject += "\xc3\xa9";  // the cut at 98 bytes falls inside a character
  WriteBelow(dir.Path(), "Box.mbx", ArticleMessage(subject, "<a>", "1"));
  auto store = OpenStore(dir.Path());
  std::vector<std::string> subjects = Subjects(*store, store->FindMailbox("Box"));
  ASSERT_EQ(subjects.size(), 1u);
  EXPECT_EQ(subjects[0], subject.substr(0, 97));
}

}  // namespace
}  // namespace tarnwick::host
