#include "store/file_utilities.h"

#include "platform/message_box.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace tarnwick::store {
namespace {

using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

TEST(FileExists, ShortPathsNeverExist) {
  EXPECT_FALSE(FileExists("/"));
  EXPECT_FALSE(FolderExists("/"));
  EXPECT_FALSE(FolderExists("/tm"));
  EXPECT_TRUE(FolderExists("/tmp"));
  EXPECT_TRUE(FileExists("/tmp"));
}

TEST(FileExists, TellsFilesFromFolders) {
  TempDir dir;
  WriteFileBytes(dir.File("a.txt"), "x");
  EXPECT_TRUE(FileExists(dir.File("a.txt")));
  EXPECT_FALSE(FolderExists(dir.File("a.txt")));
  EXPECT_TRUE(FolderExists(dir.Path()));
  EXPECT_FALSE(FileExists(dir.File("b.txt")));
}

TEST(SafeFileName, DropsTheElevenUnsafeCharactersOnly) {
  EXPECT_EQ(SafeFileName("News: Today's Top 10!"), "News Todays Top 10");
  EXPECT_EQ(SafeFileName("a\\b/c:d*e?f!g\"h'i<j>k|l"), "abcdefghijkl");
  EXPECT_EQ(SafeFileName("v1.2 - caf\xc3\xa9"), "v1.2 - caf\xc3\xa9");
  EXPECT_EQ(SafeFileName(std::string("a\0b", 3)), "ab");
}

TEST(SafeFileName, EmptyResultBecomesFileAndLongOnesAreCut) {
  EXPECT_EQ(SafeFileName("???"), "file");
  EXPECT_EQ(SafeFileName(""), "file");
  std::string alias = std::string(100, '?') + std::string(300, 'a');
  EXPECT_EQ(SafeFileName(alias), std::string(255, 'a'));
}

TEST(SafeFileName, CutsBetweenCharactersAndLeavesRoomForASuffix) {
  const std::string e = "\xc3\xa9";             // two bytes
  const std::string euro = "\xe2\x82\xac";      // three bytes
  const std::string face = "\xf0\x9f\x98\x80";  // four bytes
  EXPECT_EQ(SafeFileName(std::string(253, 'a') + e + "b"), std::string(253, 'a') + e);
  EXPECT_EQ(SafeFileName(std::string(254, 'a') + e), std::string(254, 'a'));
  EXPECT_EQ(SafeFileName(std::string(253, 'a') + euro), std::string(253, 'a'));
  EXPECT_EQ(SafeFileName(std::string(252, 'a') + face), std::string(252, 'a'));
  EXPECT_EQ(SafeFileName(std::string(251, 'a') + face + "b"), std::string(251, 'a') + face);
  // Bytes that are not UTF-8 are characters of their own.
  EXPECT_EQ(SafeFileName(std::string(300, '\xe9')), std::string(255, '\xe9'));
  EXPECT_EQ(SafeFileName(std::string(300, '\xa9')), std::string(255, '\xa9'));

  EXPECT_EQ(SafeFileName(std::string(300, 'a'), 4), std::string(251, 'a'));
  std::string accents;
  for (int i = 0; i < 200; ++i) accents += e;
  EXPECT_EQ(SafeFileName(accents, 4), accents.substr(0, 250));
  EXPECT_EQ(SafeFileName("?", 4), "file");
}

TEST(FilePaths, CacheAndMailboxPathsUseTheSafeName) {
  EXPECT_EQ(FeedCachePath("/data", "a/b"), "/data/Feeds/ab.rss");
  EXPECT_EQ(MailboxFilePath("/data", " Tech News ", false), "/data/Tech News.mbx");
  EXPECT_EQ(MailboxFilePath("/data", "Pending", true), "/data/Pending.toc");
  const std::string longName(300, 'n');
  EXPECT_EQ(FeedCachePath("/data", longName), "/data/Feeds/" + std::string(251, 'n') + ".rss");
  EXPECT_EQ(MailboxFilePath("/data", longName, false), "/data/" + std::string(251, 'n') + ".mbx");
  EXPECT_EQ(MailboxFilePath("/data", longName, true), "/data/" + std::string(251, 'n') + ".toc");
}

TEST(HostExecutablePath, NamesTheRunningProgram) {
  std::string path = HostExecutablePath();
  EXPECT_TRUE(FileExists(path)) << path;
  EXPECT_NE(path.find("store_tests"), std::string::npos) << path;
}

TEST(NumberedFilePath, DigitsAccumulate) {
  TempDir dir;
  std::string folder = dir.File("Forwarded Articles");
  std::string first = NumberedFilePath(folder, "news", "nws", true, false);
  EXPECT_EQ(first, folder + "/news.nws");
  EXPECT_TRUE(FileExists(first));
  EXPECT_EQ(NumberedFilePath(folder, "news", "nws", true, false), folder + "/news1.nws");
  EXPECT_EQ(NumberedFilePath(folder, "news", "nws", true, true), folder + "/news12.nws");
  EXPECT_FALSE(FileExists(folder + "/news12.nws"));
  EXPECT_EQ(NumberedFilePath(folder, "news", "nws", false, true), folder + "/news.nws");
}

TEST(NumberedFilePath, LongTitlesGiveNamesThatFitWithTheirDigitsAndExtension) {
  TempDir dir;
  const std::string folder = dir.File("Saved");
  const std::string title(300, 't');
  EXPECT_EQ(NumberedFilePath(folder, title, "nws", true, false), folder + "/" + std::string(251, 't') + ".nws");
  EXPECT_EQ(NumberedFilePath(folder, title, "nws", true, false), folder + "/" + std::string(250, 't') + "1.nws");
  EXPECT_EQ(NumberedFilePath(folder, title, "nws", true, false), folder + "/" + std::string(249, 't') + "12.nws");
  EXPECT_TRUE(FileExists(folder + "/" + std::string(249, 't') + "12.nws"));

  std::string accents;
  for (int i = 0; i < 200; ++i) accents += "\xc3\xa9";
  EXPECT_EQ(NumberedFilePath(folder, accents, "eml", true, false), folder + "/" + accents.substr(0, 250) + ".eml");
  EXPECT_EQ(NumberedFilePath(folder, accents, "eml", true, false), folder + "/" + accents.substr(0, 250) + "1.eml");
  EXPECT_EQ(NumberedFilePath(folder, "x", std::string(254, 'e'), false, true), "");
}

TEST(NumberedFilePath, MakesOneFolderLevelOnly) {
  TempDir dir;
  EXPECT_EQ(NumberedFilePath(dir.File("a/b"), "x", "txt", false, false), "");
  EXPECT_EQ(NumberedFilePath(dir.File("a"), "x?", "txt", false, false), dir.File("a/x.txt"));
}

TEST(AppendLine, CreatesTheFileAndAddsOneLineFeed) {
  TempDir dir;
  std::string path = dir.File("out.txt");
  EXPECT_TRUE(AppendLine(path, ""));
  EXPECT_TRUE(FileExists(path));
  EXPECT_EQ(ReadFileBytes(path), "");
  EXPECT_TRUE(AppendLine(path, "one"));
  EXPECT_TRUE(AppendLine(path, "two"));
  EXPECT_EQ(ReadFileBytes(path), "one\ntwo\n");
  EXPECT_FALSE(AppendLine(dir.File("missing/out.txt"), "x"));
}

TEST(TruncateFile, CutsOrCreates) {
  TempDir dir;
  WriteFileBytes(dir.File("a"), "content");
  EXPECT_TRUE(TruncateFile(dir.File("a")));
  EXPECT_EQ(ReadFileBytes(dir.File("a")), "");
  EXPECT_TRUE(TruncateFile(dir.File("b")));
  EXPECT_TRUE(FileExists(dir.File("b")));
  EXPECT_FALSE(TruncateFile(dir.File("missing/c")));
}

TEST(CreateIfMissing, LeavesExistingContent) {
  TempDir dir;
  WriteFileBytes(dir.File("a"), "keep");
  EXPECT_TRUE(CreateIfMissing(dir.File("a")));
  EXPECT_EQ(ReadFileBytes(dir.File("a")), "keep");
  EXPECT_TRUE(CreateIfMissing(dir.File("b")));
  EXPECT_TRUE(FileExists(dir.File("b")));
}

TEST(ReadWholeFile, StopsAtZeroByteAndReportsMissingFiles) {
  TempDir dir;
  WriteFileBytes(dir.File("a"), std::string("abc\0def", 7));
  EXPECT_EQ(ReadWholeFile(dir.File("a")), "abc");

  std::vector<std::string> shown;
  auto previous = platform::SetMessageBoxHandler(
      [&](const std::string& text, const std::string&) { shown.push_back(text); });
  EXPECT_EQ(ReadWholeFile(dir.File("missing")), "");
  platform::SetMessageBoxHandler(previous);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_NE(shown[0].find("missing"), std::string::npos);
}

}  // namespace
}  // namespace tarnwick::store
