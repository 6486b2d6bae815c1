// Replays the saved fuzzing corpus of tables of contents and header texts through the same checks
// the fuzz target makes, so that every input that once found a fault keeps being tried on each build.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "../../fuzz/toc_checks.h"
#include "support/temp_dir.h"

namespace tarnwick::mailbox {
namespace {

std::filesystem::path CorpusFolder() {
  const char* source = std::getenv("TARNWICK_SOURCE_DIR");
  if (source != nullptr && *source != '\0') return std::filesystem::path(source) / "tests/data/fuzz/mailbox_toc_reader";
  return std::filesystem::path(__FILE__).parent_path() / "../data/fuzz/mailbox_toc_reader";
}

TEST(TocFuzzCorpus, EverySavedInputPassesTheFuzzChecks) {
  const std::filesystem::path folder = CorpusFolder();
  ASSERT_TRUE(std::filesystem::is_directory(folder)) << folder;
  test::TempDir dir;
  const std::string path = dir.File("Fuzz.toc");
  int replayed = 0;
  int tooShort = 0;
  int withMessages = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    EXPECT_EQ(fuzz::CheckTocReaderInput(test::ReadFileBytes(entry.path().string()), path), "")
        << entry.path().filename();
    ++replayed;
    const int count = TocMessageCount(path);
    if (count < 0) ++tooShort;
    if (count > 0) ++withMessages;
  }
  // Tables with messages and inputs too short to be a table are both among them.
  EXPECT_GE(replayed, 20);
  EXPECT_GE(tooShort, 3);
  EXPECT_GE(withMessages, 3);
}

TEST(TocFuzzCorpus, AnAbsentTableCountsAsMinusOne) {
  test::TempDir dir;
  EXPECT_EQ(TocMessageCount(dir.File("absent.toc")), -1);
  EXPECT_EQ(TocUnreadCount(dir.File("absent.toc")), -1);
}

}  // namespace
}  // namespace tarnwick::mailbox
