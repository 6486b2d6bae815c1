// The data folder as a tree of mailboxes and folders: order, ids, creation, the left-out flag.
#include "core/mail_store.h"
#include "host_test_support.h"
#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace tarnwick::host {
namespace {

using tarnwick::test::TempDir;
using test::OpenStore;
using test::WriteBelow;

std::vector<std::string> Paths(MailStore& store) {
  std::vector<std::string> paths;
  for (const MailboxInfo& info : store.AllInTreeOrder()) paths.push_back(info.relativePath);
  return paths;
}

TEST(MailStoreTree, StandardMailboxesComeFirstThenTheRestByNameAtEveryDepth) {
  TempDir dir;
  WriteBelow(dir.Path(), "zeta.mbx", "");
  WriteBelow(dir.Path(), "Alpha.mbx", "");
  WriteBelow(dir.Path(), "News.fol/World.mbx", "");
  WriteBelow(dir.Path(), "News.fol/tech.mbx", "");
  WriteBelow(dir.Path(), "News.fol/Deep.fol/Old.mbx", "");
  WriteBelow(dir.Path(), "notes.txt", "not a mailbox");
  WriteBelow(dir.Path(), "Stray.fol.txt", "");
  ASSERT_TRUE(platform::MakeFolder(dir.File("Plain")));
  auto store = OpenStore(dir.Path());
  EXPECT_EQ(Paths(*store), (std::vector<std::string>{"In.mbx", "Out.mbx", "Trash.mbx", "Alpha.mbx", "News.fol",
                                                     "News.fol/Deep.fol", "News.fol/Deep.fol/Old.mbx",
                                                     "News.fol/tech.mbx", "News.fol/World.mbx", "zeta.mbx"}));
  EXPECT_EQ(store->FindMailbox("In"), kInMailboxId);
  EXPECT_EQ(store->FindMailbox("Out"), kOutMailboxId);
  EXPECT_EQ(store->FindMailbox("Trash"), kTrashMailboxId);
  std::optional<MailboxInfo> old = store->Info(store->FindMailbox("Old"));
  ASSERT_TRUE(old);
  EXPECT_EQ(old->fullPath, dir.Path() + "/News.fol/Deep.fol/Old.mbx");
  EXPECT_EQ(old->depth, 2);
  EXPECT_FALSE(store->Info(old->parentId)->isMailbox);
}

TEST(MailStoreTree, NamesFindTheShallowestMailboxAndExactCaseFirst) {
  TempDir dir;
  WriteBelow(dir.Path(), "News.fol/Pending.mbx", "");
  WriteBelow(dir.Path(), "Pending.mbx", "");
  WriteBelow(dir.Path(), "A.fol/tech.mbx", "");
  WriteBelow(dir.Path(), "B.fol/Tech.mbx", "");
  auto store = OpenStore(dir.Path());
  EXPECT_EQ(store->Info(store->FindMailbox("Pending"))->relativePath, "Pending.mbx");
  EXPECT_EQ(store->Info(store->FindMailbox("Tech"))->relativePath, "B.fol/Tech.mbx");
  EXPECT_EQ(store->Info(store->FindMailbox("TECH"))->relativePath, "A.fol/tech.mbx");
  EXPECT_EQ(store->FindMailbox("News.fol/Pending.mbx"), store->FindMailbox("./News.fol/Pending.mbx"));
  EXPECT_EQ(store->FindMailbox(store->DataFolder() + "/News.fol/Pending.mbx"),
            store->FindMailbox("News.fol/Pending.mbx"));
  EXPECT_EQ(store->FindMailbox("News.fol"), 0) << "a folder is not a mailbox";
  EXPECT_NE(store->FindMailboxOrFolder("News.fol"), 0);
  EXPECT_NE(store->FindMailboxOrFolder("News"), 0);
  EXPECT_EQ(store->FindMailbox("Nothing"), 0);
}

TEST(MailStoreTree, IdsStayWithTheirPathsAcrossRescansAndReturns) {
  TempDir dir;
  WriteBelow(dir.Path(), "B.mbx", "");
  auto store = OpenStore(dir.Path());
  int32_t b = store->FindMailbox("B");
  WriteBelow(dir.Path(), "A.mbx", "");
  ASSERT_TRUE(store->Rescan().ok);
  int32_t a = store->FindMailbox("A");
  EXPECT_EQ(store->FindMailbox("B"), b);
  EXPECT_NE(a, b);
  ASSERT_EQ(std::rename(dir.File("B.mbx").c_str(), dir.File("B.away").c_str()), 0);
  ASSERT_TRUE(store->Rescan().ok);
  EXPECT_EQ(store->FindMailbox("B"), 0);
  EXPECT_FALSE(store->Info(b));
  ASSERT_EQ(std::rename(dir.File("B.away").c_str(), dir.File("B.mbx").c_str()), 0);
  ASSERT_TRUE(store->Rescan().ok);
  EXPECT_EQ(store->FindMailbox("B"), b);
}

// The tree is read again only when something changed; what another program changes is seen all
// the same, in every folder and in the settings, however deep and however new the folder.
TEST(MailStoreTree, ARescanSeesWhatOtherProgramsChangeInFoldersAndSettings) {
  TempDir dir;
  WriteBelow(dir.Path(), "News.fol/Tech.mbx", "");
  auto store = OpenStore(dir.Path());
  ASSERT_TRUE(store->Rescan().ok);
  WriteBelow(dir.Path(), "News.fol/World.mbx", "");
  ASSERT_TRUE(store->Rescan().ok);
  EXPECT_NE(store->FindMailbox("World"), 0) << "a mailbox made inside a folder";
  WriteBelow(dir.Path(), "News.fol/Old.fol/Deep.mbx", "");
  ASSERT_TRUE(store->Rescan().ok);
  EXPECT_NE(store->FindMailbox("Deep"), 0) << "a new folder with its mailbox";
  WriteBelow(dir.Path(), "News.fol/Old.fol/Deeper.mbx", "");
  ASSERT_TRUE(store->Rescan().ok);
  EXPECT_NE(store->FindMailbox("Deeper"), 0) << "a mailbox made in the new folder";
  WriteBelow(dir.Path(), "News.fol/Tech.toc", "");  // not a mailbox: nothing to read again for
  ASSERT_TRUE(store->Rescan().ok);
  const int32_t tech = store->FindMailbox("Tech");
  EXPECT_FALSE(store->Info(tech)->leftOut);
  WriteBelow(dir.Path(), "host.ini", "[LeftOutOfLists]\nNews.fol/Tech.mbx=1\n");
  ASSERT_TRUE(store->Rescan().ok);
  EXPECT_TRUE(store->Info(tech)->leftOut) << "the settings another program wrote";
  ASSERT_EQ(std::remove(dir.File("News.fol/World.mbx").c_str()), 0);
  ASSERT_TRUE(store->Rescan().ok);
  EXPECT_EQ(store->FindMailbox("World"), 0);
}

TEST(MailStoreTree, CreatingMakesMailboxesAndFoldersAndAcceptsExistingOnes) {
  TempDir dir;
  auto store = OpenStore(dir.Path());
  int32_t folder = 0, inside = 0, again = 0;
  bool created = false;
  ASSERT_TRUE(store->Create(0, "Feeds", false, &folder, &created).ok);
  EXPECT_TRUE(created);
  ASSERT_TRUE(store->Create(folder, "Tech News", true, &inside, &created).ok);
  EXPECT_TRUE(created);
  EXPECT_EQ(store->Info(inside)->relativePath, "Feeds.fol/Tech News.mbx");
  ASSERT_TRUE(store->Create(folder, "Tech News", true, &again, &created).ok);
  EXPECT_FALSE(created);
  EXPECT_EQ(again, inside);
  size_t count = 99;
  ASSERT_TRUE(store->Counts(inside, &count, nullptr).ok);
  EXPECT_EQ(count, 0u);

  for (const char* bad : {"", ".", "..", "a/b", "line\nbreak"}) {
    StoreStatus status = store->Create(0, bad, true, nullptr, nullptr);
    EXPECT_FALSE(status.ok) << bad;
    EXPECT_FALSE(status.errorText.empty());
  }
  EXPECT_FALSE(store->Create(inside, "Child", true, nullptr, nullptr).ok) << "a mailbox holds no mailboxes";
}

TEST(MailStoreTree, LeftOutFlagsLiveInTheHostSettingsFile) {
  TempDir dir;
  WriteBelow(dir.Path(), "Junk.mbx", "");
  WriteBelow(dir.Path(), "Old.fol/A.mbx", "");
  {
    auto store = OpenStore(dir.Path());
    ASSERT_TRUE(store->SetLeftOut(store->FindMailbox("Junk"), true).ok);
    ASSERT_TRUE(store->SetLeftOut(store->FindMailboxOrFolder("Old.fol"), true).ok);
    EXPECT_TRUE(store->Info(store->FindMailbox("Junk"))->leftOut);
  }
  auto store = OpenStore(dir.Path());
  EXPECT_TRUE(store->Info(store->FindMailbox("Junk"))->leftOut);
  EXPECT_TRUE(store->Info(store->FindMailboxOrFolder("Old.fol"))->leftOut);
  EXPECT_FALSE(store->Info(store->FindMailbox("A"))->leftOut) << "only the folder itself is marked";
  ASSERT_TRUE(store->SetLeftOut(store->FindMailbox("Junk"), false).ok);
  EXPECT_FALSE(OpenStore(dir.Path())->Info(store->FindMailbox("Junk"))->leftOut);
}

TEST(MailStoreTree, MissingDataFolderIsAClearError) {
  TempDir dir;
  std::string errorText;
  EXPECT_FALSE(MailStore::Open(dir.File("absent"), errorText));
  EXPECT_NE(errorText.find("absent"), std::string::npos);
  EXPECT_NE(errorText.find("does not exist"), std::string::npos);
  tarnwick::test::WriteFileBytes(dir.File("file"), "x");
  EXPECT_FALSE(MailStore::Open(dir.File("file"), errorText));
}

}  // namespace
}  // namespace tarnwick::host
