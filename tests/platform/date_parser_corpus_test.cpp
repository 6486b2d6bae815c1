// Replays the saved fuzzing corpus of date texts through the same checks the fuzz target makes,
// so that every input that once found a fault keeps being tried on each build.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "../../fuzz/date_parser_checks.h"
#include "support/temp_dir.h"

namespace tarnwick::platform {
namespace {

std::filesystem::path CorpusFolder() {
  const char* source = std::getenv("TARNWICK_SOURCE_DIR");
  if (source != nullptr && *source != '\0') return std::filesystem::path(source) / "tests/data/fuzz/dates";
  return std::filesystem::path(__FILE__).parent_path() / "../data/fuzz/dates";
}

TEST(DateParserCorpus, EverySavedInputPassesTheFuzzChecks) {
  const std::filesystem::path folder = CorpusFolder();
  ASSERT_TRUE(std::filesystem::is_directory(folder)) << folder;
  int replayed = 0;
  int parsed = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    const std::string text = test::ReadFileBytes(entry.path().string());
    EXPECT_EQ(fuzz::CheckDateParserInput(text), "") << entry.path().filename();
    ++replayed;
    if (ParseDate(text)) ++parsed;
  }
  // The corpus holds both kinds of input; a parser that rejected or accepted everything would
  // pass the checks above and fail these.
  EXPECT_GE(replayed, 50);
  EXPECT_GT(parsed, replayed / 10);
  EXPECT_LT(parsed, replayed);
}

}  // namespace
}  // namespace tarnwick::platform
