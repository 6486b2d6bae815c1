// The host's answers to "which message ids are in this mailbox" without reading every message each
// time: the index of Message-Id values and the change notices that tell when the files were touched.
#include "core/message_id_index.h"
#include "core/change_watch.h"
#include "core/mail_store.h"
#include "host_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace tarnwick::host {
namespace {

using tarnwick::test::TempDir;
using tarnwick::test::WriteFileBytes;
using test::ArticleMessage;
using test::OpenStore;

std::vector<std::string> MessageIds(MailStore& store, int32_t box) {
  std::vector<MessageInfo> messages;
  EXPECT_TRUE(store.ListMessages(box, messages).ok);
  std::vector<std::string> ids;
  for (const MessageInfo& message : messages) {
    std::string value;
    StoreStatus status = store.MessageIdValue(box, message.id, value);
    EXPECT_TRUE(status.ok) << status.errorText;
    ids.push_back(value);
  }
  return ids;
}

void AppendBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::app) << bytes;
}

TEST(MessageIdIndex, AnswersFollowEveryChangeMadeByTheHostOrAnotherProgram) {
  TempDir dir;
  WriteFileBytes(dir.File("Box.mbx"), ArticleMessage("a", "<a@x>", "1") + ArticleMessage("b", "<b@x>", "2"));
  auto store = OpenStore(dir.Path());
  const int32_t box = store->FindMailbox("Box");
  EXPECT_EQ(MessageIds(*store, box), (std::vector<std::string>{"<a@x>", "<b@x>"}));

  // Appended by a plug-in straight into the file, and asked about at once.
  AppendBytes(dir.File("Box.mbx"), ArticleMessage("c", "<c@x>", "3"));
  EXPECT_EQ(MessageIds(*store, box), (std::vector<std::string>{"<a@x>", "<b@x>", "<c@x>"}));

  // The file replaced by one whose messages have the same sizes but other ids.
  WriteFileBytes(dir.File("Box.mbx"), ArticleMessage("a", "<A@x>", "1") + ArticleMessage("b", "<B@x>", "2"));
  EXPECT_EQ(MessageIds(*store, box), (std::vector<std::string>{"<A@x>", "<B@x>"}));

  // The host's own appends and moves.
  uint32_t added = 0;
  ASSERT_TRUE(store->AddMessage(box, ArticleMessage("d", "<d@x>", "4"), kStateUnread, &added).ok);
  const int32_t trash = store->FindMailbox("Trash");
  std::vector<MessageInfo> messages;
  ASSERT_TRUE(store->ListMessages(box, messages).ok);
  ASSERT_TRUE(store->MoveMessage(box, messages[0].id, trash, nullptr).ok);
  EXPECT_EQ(MessageIds(*store, box), (std::vector<std::string>{"<B@x>", "<d@x>"}));
  EXPECT_EQ(MessageIds(*store, trash), (std::vector<std::string>{"<A@x>"}));

  // A table deleted by a plug-in is written again on the next question.
  ASSERT_EQ(unlink(dir.File("Box.toc").c_str()), 0);
  EXPECT_EQ(MessageIds(*store, box), (std::vector<std::string>{"<B@x>", "<d@x>"}));
  EXPECT_EQ(access(dir.File("Box.toc").c_str(), F_OK), 0);
}

TEST(MessageIdIndex, KnownMessagesAreAnsweredWithoutTheFileAndChangedOnesAreNot) {
  TempDir dir;
  const std::string first = ArticleMessage("a", "<a@x>", "1");
  const std::string second = ArticleMessage("b", "<b@x>", "22");
  WriteFileBytes(dir.File("Box.mbx"), first + second);
  std::vector<TocEntry> entries(2);
  entries[0] = {0, static_cast<uint32_t>(first.size()), 0, 0, 7, ContinueHash(kHashStart, first), {}};
  entries[1] = {first.size(), static_cast<uint32_t>(second.size()), 0, 0, 9, ContinueHash(kHashStart, second), {}};

  MessageIdIndex index;
  EXPECT_EQ(index.Find(entries[0]), nullptr);
  ASSERT_TRUE(index.Fill(dir.File("Box.mbx"), entries).ok);
  ASSERT_EQ(unlink(dir.File("Box.mbx").c_str()), 0);
  // Everything known: nothing is read, so the missing file does not matter.
  ASSERT_TRUE(index.Fill(dir.File("Box.mbx"), entries).ok);
  ASSERT_NE(index.Find(entries[1]), nullptr);
  EXPECT_EQ(*index.Find(entries[1]), "<b@x>");

  // The same id with other bytes is another message.
  TocEntry changed = entries[1];
  changed.hash ^= 1;
  EXPECT_EQ(index.Find(changed), nullptr);
  EXPECT_FALSE(index.Fill(dir.File("Box.mbx"), {changed}).ok);
  index.Forget(7);
  EXPECT_EQ(index.Find(entries[0]), nullptr);
}

TEST(ChangeWatch, StampMovesWithChangesToTheFilesItNamesOnly) {
  if (!platform::ChangeNotices().Available()) GTEST_SKIP() << "this system gives no notices that come with the change";
  TempDir dir;
  WriteFileBytes(dir.File("Box.mbx"), "x");
  WriteFileBytes(dir.File("Other.mbx"), "y");
  ChangeWatch watch;
  ASSERT_TRUE(watch.Watch(dir.File("Box.mbx")));
  const ChangeStamp start = watch.Stamp(dir.File("Box.mbx"), dir.File("Box.toc"));
  EXPECT_EQ(watch.Stamp(dir.File("Box.mbx"), dir.File("Box.toc")), start);

  AppendBytes(dir.File("Other.mbx"), "z");
  EXPECT_EQ(watch.Stamp(dir.File("Box.mbx"), dir.File("Box.toc")), start);
  AppendBytes(dir.File("Box.mbx"), "z");
  const ChangeStamp appended = watch.Stamp(dir.File("Box.mbx"), dir.File("Box.toc"));
  EXPECT_NE(appended, start);
  WriteFileBytes(dir.File("Box.toc"), "t");
  EXPECT_NE(watch.Stamp(dir.File("Box.mbx"), dir.File("Box.toc")), appended);

  // A file whose folder is not followed never looks unchanged.
  TempDir elsewhere;
  const std::string loose = elsewhere.File("Loose.mbx");
  EXPECT_NE(watch.Stamp(loose, loose), watch.Stamp(loose, loose));
}

}  // namespace
}  // namespace tarnwick::host
