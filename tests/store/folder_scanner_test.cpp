#include "store/folder_scanner.h"
#include "platform/file_system.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace tarnwick::store {
namespace {

using test::TempDir;
using test::WriteFileBytes;

std::vector<std::string> Paths(const FolderScanner& scanner, const std::string& prefix) {
  std::vector<std::string> paths;
  for (const FileEntry& entry : scanner.Entries()) paths.push_back(entry.path.substr(prefix.size()));
  return paths;
}

TEST(FolderScanner, MissingFolderYieldsNothing) {
  FolderScanner scanner;
  EXPECT_EQ(scanner.Scan("/nonexistent/folder/", "*.rss", true, kScanUnsorted, false), 0);
  EXPECT_EQ(scanner.Count(), 0u);
}

TEST(FolderScanner, SubFolderEntriesComeFirst) {
  TempDir dir;
  std::string feeds = dir.File("Feeds");
  platform::MakeFolder(feeds);
  platform::MakeFolder(feeds + "/old");
  WriteFileBytes(feeds + "/news.rss", "top");
  WriteFileBytes(feeds + "/notes.txt", "other");
  WriteFileBytes(feeds + "/old/news.rss", "nested");
  WriteFileBytes(feeds + "/UPPER.RSS", "case");

  FolderScanner scanner;
  EXPECT_EQ(scanner.Scan(feeds + "/", "*.rss", true, kScanUnsorted, false), 3);
  auto paths = Paths(scanner, feeds + "/");
  ASSERT_EQ(paths.size(), 3u);
  EXPECT_EQ(paths[0], "old/news.rss");
  EXPECT_EQ(scanner[0].size, 6u);
  EXPECT_NE(scanner[0].attributes & kAttributeNormal, 0u);
}

TEST(FolderScanner, OnlySubFoldersWithoutRecursionYieldNothing) {
  TempDir dir;
  platform::MakeFolder(dir.File("a"));
  WriteFileBytes(dir.File("a/x.rss"), "");
  FolderScanner scanner;
  EXPECT_EQ(scanner.Scan(dir.Path(), "*.rss", false, kScanUnsorted, false), 0);
  EXPECT_EQ(scanner.Scan(dir.Path(), "*.rss", false, kScanUnsorted, true), 1);
  EXPECT_NE(scanner[0].attributes & kAttributeDirectory, 0u);
}

TEST(FolderScanner, LinkedFoldersAreNotEntered) {
  TempDir dir;
  platform::MakeFolder(dir.File("a"));
  WriteFileBytes(dir.File("a/x.rss"), "");
  if (!test::MakeSymbolicLink(dir.Path(), dir.File("a/loop"))) GTEST_SKIP() << test::kNoSymbolicLinksReason;
  FolderScanner scanner;
  EXPECT_EQ(scanner.Scan(dir.Path(), "*.rss", true, kScanUnsorted, false), 1);
}

TEST(FolderScanner, SortModesPlaceNewEntries) {
  FolderScanner ascending;
  for (uint64_t size : {5, 1, 5, 3}) ascending.Add({"/p" + std::to_string(size), 0, size}, kScanSizeAscending);
  std::vector<uint64_t> sizes;
  for (const auto& entry : ascending.Entries()) sizes.push_back(entry.size);
  EXPECT_EQ(sizes, (std::vector<uint64_t>{1, 3, 5, 5}));

  FolderScanner descending;
  for (const char* path : {"/b", "/a", "/c", "/B"}) descending.Add({path}, kScanPathDescending);
  EXPECT_EQ(Paths(descending, ""), (std::vector<std::string>{"/c", "/b", "/a", "/B"}));

  FolderScanner byPath;
  for (const char* path : {"/b", "/a", "/c", "/B"}) byPath.Add({path}, kScanPathAscending);
  EXPECT_EQ(Paths(byPath, ""), (std::vector<std::string>{"/B", "/a", "/b", "/c"}));

  FolderScanner appended;
  EXPECT_EQ(appended.Add({"/z"}, kScanUnsorted), 0u);
  EXPECT_EQ(appended.Add({"/a"}, 7), 1u);
}

TEST(FolderScanner, StopFlagEndsTheScanAndCounterCounts) {
  TempDir dir;
  for (int i = 0; i < 20; ++i) WriteFileBytes(dir.File(std::to_string(i) + ".rss"), "");
  std::atomic<int> stop{1};
  std::atomic<int> found{0};
  FolderScanner scanner;
  EXPECT_EQ(scanner.Scan(dir.Path(), "*.rss", true, kScanUnsorted, false, &stop, &found), 0);
  stop = 0;
  EXPECT_EQ(scanner.Scan(dir.Path(), "*.rss", true, kScanUnsorted, false, &stop, &found), 20);
  EXPECT_EQ(found.load(), 20);
}

}  // namespace
}  // namespace tarnwick::store
