#include "platform/file.h"
#include "platform/file_system.h"
#include "platform/folder_listing.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <set>

namespace tarnwick::platform {
namespace {

using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

File OpenExisting(const std::string& path, FileAccess access) {
  return File::Open(path, access, FileCreation::kExisting);
}

TEST(File, KeepsLineEndsAndControlBytesAsWritten) {
  TempDir dir;
  const std::string bytes(
      "From a\r\nline\x1A"
      "after\r\n\0end",
      25);
  File file = File::Open(dir.File("box.mbx"), FileAccess::kWrite, FileCreation::kTruncate);
  ASSERT_TRUE(file.IsOpen());
  ASSERT_TRUE(file.WriteAll(bytes));
  ASSERT_TRUE(file.Close());
  EXPECT_EQ(ReadFileBytes(dir.File("box.mbx")), bytes);

  File reader = OpenExisting(dir.File("box.mbx"), FileAccess::kRead);
  std::string read(64, '\0');
  ASSERT_EQ(reader.Read(read.data(), read.size()), static_cast<int64_t>(bytes.size()));
  EXPECT_EQ(read.substr(0, bytes.size()), bytes);
}

TEST(File, CreateNewRefusesAFileThatIsThere) {
  TempDir dir;
  WriteFileBytes(dir.File("taken"), "kept");
  File file = File::Open(dir.File("taken"), FileAccess::kWrite, FileCreation::kCreateNew);
  EXPECT_FALSE(file.IsOpen());
  EXPECT_EQ(errno, EEXIST);
  EXPECT_EQ(ReadFileBytes(dir.File("taken")), "kept");
}

TEST(File, AppendLandsAtTheEndThatAnotherWriterMade) {
  TempDir dir;
  WriteFileBytes(dir.File("log"), "one\n");
  File appender = OpenExisting(dir.File("log"), FileAccess::kAppend);
  File other = OpenExisting(dir.File("log"), FileAccess::kReadWrite);
  ASSERT_TRUE(other.WriteAt("two\n", 4));
  ASSERT_TRUE(appender.WriteAll("three\n"));
  EXPECT_EQ(appender.Position(), 14);
  EXPECT_EQ(ReadFileBytes(dir.File("log")), "one\ntwo\nthree\n");
}

TEST(File, ReadsAndWritesAtOffsetsAndTruncates) {
  TempDir dir;
  File file = File::Open(dir.File("table"), FileAccess::kReadWrite, FileCreation::kTruncate);
  ASSERT_TRUE(file.WriteAll("0123456789"));
  ASSERT_TRUE(file.WriteAt("ab", 3));
  char two[2] = {};
  EXPECT_EQ(file.ReadAt(two, 2, 8), 2);
  EXPECT_EQ(std::string(two, 2), "89");
  EXPECT_EQ(file.ReadAt(two, 2, 10), 0);
  ASSERT_TRUE(file.Truncate(6));
  EXPECT_EQ(file.SeekToEnd(), 6);
  EXPECT_EQ(file.Info().size, 6u);
  file.Close();
  EXPECT_EQ(ReadFileBytes(dir.File("table")), "012ab5");
}

// The atomic replacements of settings and mailboxes rename over a file that readers hold open,
// and delete files that may still be open.
TEST(File, AnOpenFileCanBeReplacedAndDeleted) {
  TempDir dir;
  WriteFileBytes(dir.File("settings.ini"), "old");
  WriteFileBytes(dir.File("settings.new"), "new");
  WriteFileBytes(dir.File("page.html"), "page");
  File reader = OpenExisting(dir.File("settings.ini"), FileAccess::kRead);
  File writer = OpenExisting(dir.File("page.html"), FileAccess::kReadWrite);
  ASSERT_TRUE(reader.IsOpen() && writer.IsOpen());
  const uint64_t oldIdentity = reader.Info().identity;

  EXPECT_TRUE(RenameReplacing(dir.File("settings.new"), dir.File("settings.ini")));
  EXPECT_TRUE(RemoveFile(dir.File("page.html")));
  EXPECT_EQ(ReadFileBytes(dir.File("settings.ini")), "new");
  EXPECT_FALSE(PathInfo(dir.File("page.html")).exists);
  EXPECT_NE(PathInfo(dir.File("settings.ini")).identity, oldIdentity);
  char old[3] = {};
  EXPECT_EQ(reader.ReadAt(old, 3, 0), 3);
  EXPECT_EQ(std::string(old, 3), "old");
}

TEST(File, ALockedFileIsBusyForAnotherOpener) {
  TempDir dir;
  File holder = File::Open(dir.File("lock"), FileAccess::kReadWrite, FileCreation::kCreate);
  File other = OpenExisting(dir.File("lock"), FileAccess::kReadWrite);
  ASSERT_EQ(holder.TryLock(), LockResult::kLocked);
  EXPECT_EQ(other.TryLock(), LockResult::kBusy);
  holder.Close();
  EXPECT_EQ(other.TryLock(), LockResult::kLocked);
}

TEST(FileSystem, DescribesFilesAndFolders) {
  TempDir dir;
  WriteFileBytes(dir.File("five"), "12345");
  ASSERT_TRUE(MakeFolder(dir.File("sub")));
  EXPECT_FALSE(MakeFolder(dir.File("sub")));
  EXPECT_EQ(errno, EEXIST);

  const FileInfo file = PathInfo(dir.File("five"));
  EXPECT_TRUE(file.exists);
  EXPECT_FALSE(file.isFolder);
  EXPECT_EQ(file.size, 5u);
  EXPECT_GT(file.modifiedSeconds, 1'500'000'000);
  EXPECT_TRUE(IsFolder(dir.File("sub")));
  EXPECT_FALSE(IsFolder(dir.File("five")));
  EXPECT_FALSE(PathInfo(dir.File("none")).exists);
  EXPECT_EQ(AbsolutePath(dir.File("sub/../five")), AbsolutePath(dir.File("five")));
  EXPECT_EQ(AbsolutePath(dir.File("none")), "");
}

TEST(FileSystem, UniqueFilesDoNotCollide) {
  TempDir dir;
  std::set<std::string> paths;
  for (int i = 0; i < 20; ++i) {
    std::string path;
    File file = CreateUniqueFile(dir.File("box.mbx."), path);
    ASSERT_TRUE(file.IsOpen());
    EXPECT_EQ(path.rfind(dir.File("box.mbx."), 0), 0u);
    paths.insert(path);
  }
  EXPECT_EQ(paths.size(), 20u);
  EXPECT_EQ(ListFolder(dir.Path())->size(), 20u);
}

TEST(FolderListing, ListsNamesWithoutTheDotEntries) {
  TempDir dir;
  WriteFileBytes(dir.File("In.mbx"), "");
  ASSERT_TRUE(MakeFolder(dir.File("News.fol")));
  std::vector<std::string> names = ListFolder(dir.Path()).value();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"In.mbx", "News.fol"}));
  EXPECT_FALSE(ListFolder(dir.File("missing")).has_value());
}

TEST(FolderListing, MasksMatchAsFileMasksDo) {
  struct Case {
    const char* mask;
    const char* name;
    bool matches;
  };
  const Case cases[] = {
      {"*.rss", "news.rss", true},
      {"*.rss", "NEWS.RSS", true},
      {"*.rss", "news.rss.part", false},
      {"*", ".hidden", true},
      {"a?c", "abc", true},
      {"a?c", "ac", false},
      {"*a*b", "xxaxxb", true},
      {"*a*b", "xxaxxbx", false},
      {"[a-c]*", "Beta", true},
      {"[!a-c]*", "beta", false},
      {"[!a-c]*", "delta", true},
      {"[x", "[x", true},
      {"\\*", "*", true},
      {"\\*", "a", false},
      {"", "", true},
      {"*.*", "noextension", false},
      {"**", "", true},
      {"feed[0-9].xml", "feed7.xml", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MatchesMask(c.mask, c.name), c.matches) << c.mask << " against " << c.name;
  }
}

}  // namespace
}  // namespace tarnwick::platform
