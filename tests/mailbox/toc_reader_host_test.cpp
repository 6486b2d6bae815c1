// Tables of contents written by the host read back with the counts the host keeps.
#include "core/mail_store.h"
#include "mailbox/toc_reader.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace tarnwick::mailbox {
namespace {

std::string Message(const std::string& subject) {
  return "From ???@??? Tue Jun 3 04:05:09 2003\r\nSubject: " + subject + "\r\n\r\n<x-html>x</x-html>\r\n";
}

TEST(TocReaderOnHostTables, CountsFollowEveryChangeTheHostMakes) {
  tarnwick::test::TempDir dir;
  std::string errorText;
  auto store = host::MailStore::Open(dir.Path(), errorText);
  ASSERT_TRUE(store) << errorText;
  int32_t news = 0;
  ASSERT_TRUE(store->Create(0, "News", true, &news, nullptr).ok);
  std::vector<uint32_t> ids(3);
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(store->AddMessage(news, Message(std::to_string(i)), 0, &ids[i]).ok);
  ASSERT_TRUE(store->SetMessageState(news, ids[1], host::kStateRead).ok);
  const std::string toc = dir.File("News.toc");
  EXPECT_EQ(TocMessageCount(toc), 3);
  EXPECT_EQ(TocUnreadCount(toc), 2);

  ASSERT_TRUE(store->MoveMessage(news, ids[2], host::kInMailboxId, nullptr).ok);
  EXPECT_EQ(TocMessageCount(toc), 2);
  EXPECT_EQ(TocUnreadCount(toc), 1);
  EXPECT_EQ(TocMessageCount(dir.File("In.toc")), 1);
  EXPECT_EQ(TocUnreadCount(dir.File("In.toc")), 1);

  ASSERT_TRUE(store->MoveMessage(news, ids[0], host::kInMailboxId, nullptr).ok);
  EXPECT_EQ(TocMessageCount(toc), 1);
  EXPECT_EQ(TocUnreadCount(toc), 0);
}

}  // namespace
}  // namespace tarnwick::mailbox
