#include "platform/change_notices.h"
#include "platform/file_system.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace tarnwick::platform {
namespace {

// Notices arrive with the call that made the change on some systems and a moment later on others.
std::vector<ChangeNotice> TakeUntil(ChangeNotices& notices, const std::string& name) {
  std::vector<ChangeNotice> all;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (std::chrono::steady_clock::now() < deadline) {
    for (ChangeNotice& notice : notices.Take()) all.push_back(std::move(notice));
    if (std::any_of(all.begin(), all.end(), [&](const ChangeNotice& n) { return n.name == name; })) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return all;
}

TEST(ChangeNotices, NameTheEntriesThatCameAndThoseWritten) {
  test::TempDir dir;
  test::WriteFileBytes(dir.File("In.toc"), "");
  ChangeNotices notices;
  if (!notices.Available()) GTEST_SKIP() << "this system gives no notices that come with the change";
  const int folder = notices.Follow(dir.Path());
  ASSERT_GE(folder, 0);
  EXPECT_TRUE(notices.Take().empty());

  test::WriteFileBytes(dir.File("News.mbx"), "x");
  std::vector<ChangeNotice> seen = TakeUntil(notices, "News.mbx");
  auto created = std::find_if(seen.begin(), seen.end(), [](const ChangeNotice& n) { return n.entryCame; });
  ASSERT_NE(created, seen.end());
  EXPECT_EQ(created->name, "News.mbx");
  EXPECT_EQ(created->folder, folder);

  File toc = File::Open(dir.File("In.toc"), FileAccess::kWrite, FileCreation::kExisting);
  ASSERT_TRUE(toc.WriteAll("entry"));
  toc.Close();
  seen = TakeUntil(notices, "In.toc");
  auto written = std::find_if(seen.begin(), seen.end(), [](const ChangeNotice& n) { return n.name == "In.toc"; });
  ASSERT_NE(written, seen.end());
  EXPECT_FALSE(written->entryCame);
}

TEST(ChangeNotices, AFolderThatCannotBeFollowedIsRefused) {
  test::TempDir dir;
  ChangeNotices notices;
  EXPECT_EQ(notices.Follow(dir.File("missing")), -1);
}

}  // namespace
}  // namespace tarnwick::platform
