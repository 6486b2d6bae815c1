// The host's mailboxes read through the automation interface, and the tree a picker shows of them.
#include "mailbox/mailbox_tree.h"

#include "core/host_core.h"
#include "core/host_registry.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tarnwick::mailbox {
namespace {

using tarnwick::test::TempDir;
using tarnwick::test::WriteFileBytes;

std::vector<std::string> Names(const std::vector<MailboxTreeNode>& nodes) {
  std::vector<std::string> names;
  for (const MailboxTreeNode& node : nodes) names.push_back(node.entry.name);
  return names;
}

const MailboxTreeNode* Find(const std::vector<MailboxTreeNode>& nodes, const std::string& name) {
  for (const MailboxTreeNode& node : nodes) {
    if (node.entry.name == name) return &node;
  }
  return nullptr;
}

class HostMailboxesTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::string errorText;
    core_ = host::HostCore::Open(dir_.Path(), options_, errorText);
    ASSERT_TRUE(core_) << errorText;
    host::PublishHost(core_);
  }
  void TearDown() override { host::WithdrawHost(core_.get()); }

  int32_t Create(int32_t parent, const std::string& name, bool isMailbox) {
    int32_t id = 0;
    EXPECT_TRUE(core_->Store().Create(parent, name, isMailbox, &id, nullptr).ok) << name;
    return id;
  }
  void AddMessages(int32_t mailbox, int count) {
    for (int i = 0; i < count; ++i) {
      const std::string message =
          "From ???@??? Tue Jun 3 04:05:09 2003\r\nSubject: " + std::to_string(i) + "\r\n\r\nx\r\n";
      ASSERT_TRUE(core_->Store().AddMessage(mailbox, message, 0, nullptr).ok);
    }
  }

  TempDir dir_;
  host::HostOptions options_;
  std::shared_ptr<host::HostCore> core_;
  automation::HostAutomation automation_{[](int) {}};
};

TEST_F(HostMailboxesTest, MailboxesAndFoldersBecomeASortedTreeUnderTheDataFolder) {
  int32_t news = Create(0, "News", false);
  int32_t world = Create(news, "World", true);
  int32_t tech = Create(news, "Tech", true);
  AddMessages(tech, 2);

  MailboxListResult list = ReadHostMailboxes(automation_);
  ASSERT_TRUE(list.Read()) << list.errorText;
  MailboxTreeNode root = MailboxTreeRoot(list.entries, dir_.Path());

  EXPECT_EQ(root.entry.kind, kEntryRoot);
  EXPECT_EQ(root.entry.path, dir_.Path());
  EXPECT_EQ(root.entry.name, std::filesystem::path(dir_.Path()).filename().string());
  EXPECT_EQ(Names(root.children), (std::vector<std::string>{"In", "News", "Out", "Trash"}));
  const MailboxTreeNode* newsNode = Find(root.children, "News");
  ASSERT_NE(newsNode, nullptr);
  EXPECT_EQ(newsNode->entry, (MailboxEntry{"News", dir_.File("News.fol"), news, kEntryFolder, 0}));
  EXPECT_EQ(Names(newsNode->children), (std::vector<std::string>{"Tech", "World"}));
  EXPECT_EQ(newsNode->children[0].entry,
            (MailboxEntry{"Tech", dir_.File("News.fol/Tech.mbx"), tech, kEntryMailbox, 2}));
  EXPECT_EQ(newsNode->children[1].entry.id, world);
  EXPECT_TRUE(newsNode->children[1].children.empty());
  EXPECT_EQ(Find(root.children, "In")->entry.id, 2);
}

TEST_F(HostMailboxesTest, LeftOutMailboxesAndEverythingInLeftOutFoldersAreAbsent) {
  int32_t junk = Create(0, "Junk", true);
  int32_t old = Create(0, "Old", false);
  Create(old, "Older", true);
  int32_t keep = Create(0, "Keep", false);
  int32_t hidden = Create(keep, "Hidden", true);
  Create(keep, "Shown", true);
  ASSERT_TRUE(core_->Store().SetLeftOut(junk, true).ok);
  ASSERT_TRUE(core_->Store().SetLeftOut(old, true).ok);
  ASSERT_TRUE(core_->Store().SetLeftOut(hidden, true).ok);

  MailboxListResult list = ReadHostMailboxes(automation_);
  ASSERT_TRUE(list.Read());
  std::vector<std::string> paths;
  for (const MailboxEntry& entry : list.entries) paths.push_back(entry.path.substr(dir_.Path().size() + 1));
  EXPECT_EQ(paths, (std::vector<std::string>{"In.mbx", "Out.mbx", "Trash.mbx", "Keep.fol", "Keep.fol/Shown.mbx"}))
      << "depth first, a folder before what it holds";

  MailboxTreeNode root = MailboxTreeRoot(list.entries, dir_.Path());
  EXPECT_EQ(Names(root.children), (std::vector<std::string>{"In", "Keep", "Out", "Trash"}));
  EXPECT_EQ(Names(Find(root.children, "Keep")->children), (std::vector<std::string>{"Shown"}));
}

TEST_F(HostMailboxesTest, PreselectionGoesDownThreeFoldersToTheNewsbox) {
  int32_t a = Create(0, "Archive", false);
  Create(a, "Old", true);
  int32_t b = Create(0, "Feeds", false);
  int32_t c = Create(b, "Science", false);
  int32_t d = Create(c, "Space", false);
  Create(d, "Mars", true);
  Create(d, "Moon", true);

  MailboxListResult list = ReadHostMailboxes(automation_);
  ASSERT_TRUE(list.Read());
  MailboxTreeNode root = MailboxTreeRoot(list.entries, dir_.Path());
  const std::string target = dir_.File("Feeds.fol/Science.fol/Space.fol/MOON.mbx");  // the case differs
  WriteFileBytes(target, "");  // a file system that tells case apart holds the newsbox under this name too

  MailboxPreselection preselection = PreselectMailbox(root, target);
  ASSERT_NE(preselection.selected, nullptr);
  EXPECT_EQ(preselection.selected->entry.name, "Moon");
  std::vector<std::string> expanded;
  for (const MailboxTreeNode* node : preselection.expanded) expanded.push_back(node->entry.name);
  EXPECT_EQ(expanded, (std::vector<std::string>{"Archive", "Feeds", "Science", "Space"}))
      << "every folder the walk passes on its way is opened, in the order shown";

  std::filesystem::remove(target);
  preselection = PreselectMailbox(root, target);
  EXPECT_EQ(preselection.selected, nullptr) << "a newsbox file that is gone is not looked for";
  EXPECT_TRUE(preselection.expanded.empty());
  EXPECT_EQ(PreselectMailbox(root, dir_.File("In.mbx")).selected, Find(root.children, "In"));
}

class HostMailboxesWithoutAutomationTest : public HostMailboxesTest {
protected:
  void SetUp() override {
    options_.automationAllowed = false;
    HostMailboxesTest::SetUp();
  }
};

TEST_F(HostMailboxesWithoutAutomationTest, GiveTheHostsErrorAndATreeOfTheRootAlone) {
  MailboxListResult list = ReadHostMailboxes(automation_);
  EXPECT_FALSE(list.Read());
  EXPECT_FALSE(list.errorText.empty());
  EXPECT_TRUE(list.entries.empty());
  MailboxTreeNode root = MailboxTreeRoot(list.entries, dir_.Path());
  EXPECT_TRUE(root.children.empty());
  EXPECT_EQ(root.entry.name, std::filesystem::path(dir_.Path()).filename().string());
}

MailboxEntry Entry(const std::string& name, const std::string& path, int32_t id = 0) {
  return {name, path, id, kEntryMailbox, 0};
}

TEST(BuildMailboxTree, TakesTheFilesDirectlyInTheFolderByTheirExtension) {
  MailboxList entries = {
      Entry("Tech", "/data/News.fol/Tech.mbx"),
      Entry("Top", "/data/Top.MBX", 7),
      Entry("Notes", "/data/Notes.txt"),
      Entry("", "/data/Nameless.mbx"),
      Entry("Pathless", ""),
      Entry("Bare", "Bare.mbx"),
      Entry("News", "/DATA/News.fol"),
      Entry("Deep", "/data/News.fol/Deep.fol/Deep.mbx"),
  };
  entries[6].kind = kEntryMailbox;  // the kind comes from the path, not from what the host said
  entries[1].messageCount = 5;
  std::vector<MailboxTreeNode> tree = BuildMailboxTree(entries, "/data");
  ASSERT_EQ(Names(tree), (std::vector<std::string>{"News", "Top"}));
  EXPECT_EQ(tree[0].entry.kind, kEntryFolder);
  EXPECT_EQ(Names(tree[0].children), (std::vector<std::string>{"Tech"}));
  EXPECT_EQ(tree[1].entry, (MailboxEntry{"Top", "/data/Top.MBX", 7, kEntryMailbox, 5}));
  EXPECT_EQ(Names(BuildMailboxTree(entries, "/data/")), Names(tree)) << "a trailing separator changes nothing";
}

TEST(BuildMailboxTree, SortsEachLevelByNameWithoutRegardToCaseKeepingTheOrderOfEqualNames) {
  MailboxList entries = {
      Entry("delta", "/d/delta.mbx", 1),    Entry("Bravo", "/d/b.mbx", 2),  Entry("alpha", "/d/a.fol", 3),
      Entry("Charlie", "/d/c.mbx", 4),      Entry("BRAVO", "/d/B2.mbx", 5), Entry("zulu", "/d/a.fol/z.mbx", 6),
      Entry("Yankee", "/d/a.fol/y.mbx", 7),
  };
  std::vector<MailboxTreeNode> tree = BuildMailboxTree(entries, "/d");
  EXPECT_EQ(Names(tree), (std::vector<std::string>{"alpha", "Bravo", "BRAVO", "Charlie", "delta"}));
  EXPECT_EQ(tree[1].entry.id, 2);
  EXPECT_EQ(Names(tree[0].children), (std::vector<std::string>{"Yankee", "zulu"}));
}

TEST(BuildMailboxTree, RootIsNamedAfterTheDataFolder) {
  EXPECT_EQ(MailboxTreeRootName("/home/ann/Mail"), "Mail");
  EXPECT_EQ(MailboxTreeRootName("/home/ann/Mail/"), "Mail");
  EXPECT_EQ(MailboxTreeRootName("/"), "Mailboxes");
  EXPECT_EQ(MailboxTreeRootName(""), "Mailboxes");
}

}  // namespace
}  // namespace tarnwick::mailbox
