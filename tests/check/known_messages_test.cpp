// What a check knows of a newsbox's messages between checks: kept while the newsbox's files are
// as Tarnwick left them, asked of the host again as soon as another program changed them.
#include "check_fixture.h"

#include "feed/article.h"
#include "mailbox/known_messages_cache.h"
#include "mailbox/newsbox_stamp.h"
#include "support/temp_dir.h"

namespace tarnwick::check::test {
namespace {

using feed::SkipReason;

std::string Rss(const std::string& items) {
  return "<rss version=\"2.0\"><channel><title>K</title><link>http://example.org/</link>" + items + "</channel></rss>";
}

// An undated item: it is always newer than the last article, so only its identity keeps it out.
std::string Item(const std::string& guid) {
  return "<item><title>Item " + guid + "</title><guid>" + guid + "</guid><link>http://example.org/" + guid +
         "</link></item>";
}

class KnownMessagesTest : public CheckFixture {
protected:
  // What the next process would find kept for the newsbox.
  std::optional<mailbox::KnownMessages> KeptFor(const std::string& newsboxPath) {
    mailbox::KnownMessagesCache cache(plugins + "/Known messages", 1000);
    mailbox::KnownMessages* known = cache.Find(newsboxPath);
    return known == nullptr ? std::nullopt : std::optional<mailbox::KnownMessages>(*known);
  }
  // The message with guid `guid` of the newsbox, as the host numbers it.
  uint32_t MessageWithGuid(const std::string& mailbox, const std::string& guid) {
    std::vector<host::MessageInfo> messages;
    const int32_t id = core->Store().FindMailbox(mailbox);
    EXPECT_TRUE(core->Store().ListMessages(id, messages).ok);
    for (const host::MessageInfo& message : messages) {
      if (message.summary.subject == "Item " + guid) return message.id;
    }
    ADD_FAILURE() << "no message " << guid;
    return 0;
  }
};

TEST_F(KnownMessagesTest, WhatACheckDeliversIsKnownOnTheNextCheckWithoutAskingTheHost) {
  auto feed = AddFeed("kept", Rss(Item("a")), "Kept");
  EXPECT_EQ(Check(feed), 1);
  Serve("kept", Rss(Item("a") + Item("b")));
  EXPECT_EQ(Check(feed), 1);
  // Kept for the next process, with the files' stamp after the delivery: b is among them.
  std::optional<mailbox::KnownMessages> kept = KeptFor(feed.newsboxPath);
  ASSERT_TRUE(kept);
  EXPECT_EQ(kept->stamp, mailbox::StampNewsbox(feed.newsboxPath));
  EXPECT_EQ(kept->ids.size(), 2u);
  EXPECT_EQ(Check(feed), 0);
  EXPECT_EQ(Skipped(SkipReason::kAlreadyDelivered), 2);
  EXPECT_EQ(Messages("Kept").size(), 2u);
}

TEST_F(KnownMessagesTest, KeptIdentifiersStandForTheNewsboxOnlyWhileItsFilesAreUnchanged) {
  auto feed = AddFeed("trust", Rss(Item("a")), "Trust");
  EXPECT_EQ(Check(feed), 1);
  // A kept list that claims an item the newsbox does not hold shows whether it is used at all.
  mailbox::KnownMessagesCache cache(plugins + "/Known messages", 1000);
  mailbox::KnownMessages claimed = *cache.Find(feed.newsboxPath);
  feed::Article notThere;
  notThere.guid = "b";
  claimed.ids.insert(feed::MessageIdOf(notThere, feed.url));
  claimed.stamp = mailbox::StampNewsbox(feed.newsboxPath);
  (void)cache.Store(feed.newsboxPath, claimed, true);
  mailbox::NewsboxWriter freshWriter(
      {dataFolder, plugins, "Version: 1.0", "From ???@??? Mon Dec 7 07:03:15 2026\r\n", false}, hostAutomation, clock,
      &view, &receiver);
  FeedChecker freshChecker({settingsPath, dataFolder + "/In.mbx"}, freshWriter, hostAutomation, clock, view);
  Serve("trust", Rss(Item("a") + Item("b")));
  // Unchanged files: what is kept is taken as it is, the made-up identifier with it.
  EXPECT_EQ(freshChecker.CheckFeed(feed, false, plugins + "/feed.xml"), 0);
  EXPECT_EQ(freshChecker.LastSkips()[static_cast<size_t>(SkipReason::kAlreadyDelivered)], 2);
  // Once the files change (the host rewrote the table of contents), the host is asked again.
  const std::string toc = mailbox::TocPathOf(feed.newsboxPath);
  tarnwick::test::WriteFileBytes(toc, tarnwick::test::ReadFileBytes(toc));
  EXPECT_EQ(freshChecker.CheckFeed(feed, false, plugins + "/feed.xml"), 1);
  EXPECT_EQ(Messages("Trust").size(), 2u);
}

TEST_F(KnownMessagesTest, AMessageDeletedByAnotherProgramBetweenChecksIsSeen) {
  auto feed = AddFeed("deleted", Rss(Item("a") + Item("b")), "Deleted");
  EXPECT_EQ(Check(feed), 2);
  EXPECT_EQ(Check(feed), 0);
  // Another program takes the first message out of the mailbox file, in place.
  const std::string bytes = tarnwick::test::ReadFileBytes(feed.newsboxPath);
  const size_t second = bytes.find("From ???@??? ", 1);
  ASSERT_NE(second, std::string::npos);
  tarnwick::test::WriteFileBytes(feed.newsboxPath, bytes.substr(second));
  EXPECT_EQ(Check(feed), 1);
  EXPECT_EQ(Skipped(SkipReason::kAlreadyDelivered), 1);
  EXPECT_EQ(Messages("Deleted").size(), 2u);
}

TEST_F(KnownMessagesTest, AMessageFiledElsewhereBetweenChecksIsSeen) {
  auto feed = AddFeed("filed", Rss(Item("a") + Item("b")), "Filed");
  const std::string archive = CreateMailbox("Archive");
  EXPECT_EQ(Check(feed), 2);
  // The user files one of them in another mailbox with the host.
  uint32_t newId = 0;
  ASSERT_TRUE(core->Store()
                  .MoveMessage(core->Store().FindMailbox("Filed"), MessageWithGuid("Filed", "a"),
                               core->Store().FindMailbox(archive), &newId)
                  .ok);
  EXPECT_EQ(Check(feed), 1);
  EXPECT_EQ(Messages("Filed").size(), 2u);
  EXPECT_EQ(Messages("Archive").size(), 1u);
}

}  // namespace
}  // namespace tarnwick::check::test
