#include "mailbox/toc_reader.h"

#include "support/permissions.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace tarnwick::mailbox {
namespace {

using tarnwick::test::TempDir;
using tarnwick::test::WriteFileBytes;

constexpr size_t kHeader = 104;
constexpr size_t kEntry = 218;

// A table with the given declared count and one entry per state.
std::string Toc(int declared, const std::vector<int16_t>& states) {
  std::string bytes(kHeader + states.size() * kEntry, '\x5a');
  bytes[102] = static_cast<char>(declared & 0xFF);
  bytes[103] = static_cast<char>((declared >> 8) & 0xFF);
  for (size_t i = 0; i < states.size(); ++i) {
    auto state = static_cast<uint16_t>(states[i]);
    bytes[kHeader + i * kEntry + 12] = static_cast<char>(state & 0xFF);
    bytes[kHeader + i * kEntry + 13] = static_cast<char>(state >> 8);
  }
  return bytes;
}

TEST(TocReader, CountsEntriesAndUnreadOnes) {
  TempDir dir;
  WriteFileBytes(dir.File("News.toc"), Toc(3, {0, 1, 0}));
  EXPECT_EQ(TocMessageCount(dir.File("News.toc")), 3);
  EXPECT_EQ(TocUnreadCount(dir.File("News.toc")), 2);
}

TEST(TocReader, CountIsLittleEndianSixteenBitsAtOffset102) {
  TempDir dir;
  std::vector<int16_t> states(300, 1);
  states[0] = 0;
  states[299] = 0;
  std::string bytes = Toc(0, states);
  bytes[102] = '\x2c';
  bytes[103] = '\x01';
  WriteFileBytes(dir.File("Big.toc"), bytes);
  EXPECT_EQ(TocMessageCount(dir.File("Big.toc")), 300);
  EXPECT_EQ(TocUnreadCount(dir.File("Big.toc")), 2);
}

TEST(TocReader, OnlyStateZeroIsUnreadAndStatesAreSigned) {
  TempDir dir;
  WriteFileBytes(dir.File("S.toc"), Toc(4, {-1, 0, 256, -256}));
  EXPECT_EQ(TocUnreadCount(dir.File("S.toc")), 1);
}

TEST(TocReader, MissingFileGivesMinusOneForBoth) {
  TempDir dir;
  EXPECT_EQ(TocMessageCount(dir.File("None.toc")), -1);
  EXPECT_EQ(TocUnreadCount(dir.File("None.toc")), -1);
}

TEST(TocReader, TableShorterThanItsHeaderCannotBeRead) {
  TempDir dir;
  WriteFileBytes(dir.File("Short.toc"), std::string(103, '\0'));
  EXPECT_EQ(TocMessageCount(dir.File("Short.toc")), -1);
  EXPECT_EQ(TocUnreadCount(dir.File("Short.toc")), -1);
  WriteFileBytes(dir.File("Empty.toc"), "");
  EXPECT_EQ(TocMessageCount(dir.File("Empty.toc")), -1);
  EXPECT_EQ(TocUnreadCount(dir.File("Empty.toc")), -1);
}

TEST(TocReader, TableShorterThanItsEntriesCountsTheWholeEntriesItHolds) {
  TempDir dir;
  std::string bytes = Toc(5, {0, 0, 1});
  bytes += std::string(kEntry - 1, '\0');  // a fourth entry cut short, which would read as unread
  WriteFileBytes(dir.File("Cut.toc"), bytes);
  EXPECT_EQ(TocMessageCount(dir.File("Cut.toc")), 3);
  EXPECT_EQ(TocUnreadCount(dir.File("Cut.toc")), 2);
  WriteFileBytes(dir.File("Header.toc"), Toc(65535, {}));
  EXPECT_EQ(TocMessageCount(dir.File("Header.toc")), 0);
  EXPECT_EQ(TocUnreadCount(dir.File("Header.toc")), 0);
}

// The message count opens the table for updating, the unread count only for reading: a table that
// may be read but not written gives -1 and a real unread count. The check runs in a child process
// without the super-user's right to write anything.
TEST(TocReader, ReadOnlyTableGivesMinusOneForTheCountAndARealUnreadCount) {
  if (!test::HasPermissionBits()) GTEST_SKIP() << test::kNoPermissionBitsReason;
  TempDir dir;
  ASSERT_TRUE(test::SetPermissions(dir.Path(), 0755));
  WriteFileBytes(dir.File("Locked.toc"), Toc(3, {0, 1, 0}));
  ASSERT_TRUE(test::SetPermissions(dir.File("Locked.toc"), 0444));
  const std::string path = dir.File("Locked.toc");
  EXPECT_EXIT(
      {
        if (!test::GiveUpSuperUser()) std::_Exit(2);
        std::fprintf(stderr, "count=%d unread=%d\n", TocMessageCount(path), TocUnreadCount(path));
        std::_Exit(0);
      },
      ::testing::ExitedWithCode(0), "count=-1 unread=2");
}

}  // namespace
}  // namespace tarnwick::mailbox
