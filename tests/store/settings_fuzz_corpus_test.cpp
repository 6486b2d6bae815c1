// Replays the saved fuzzing corpus of settings files through the same checks the fuzz target makes
// (the INI engine's reads, writes and deletions, then the settings store on top), so that every
// input that once found a fault keeps being tried on each build.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "../../fuzz/settings_checks.h"
#include "support/temp_dir.h"

namespace tarnwick::store {
namespace {

std::filesystem::path CorpusFolder() {
  const char* source = std::getenv("TARNWICK_SOURCE_DIR");
  if (source != nullptr && *source != '\0') return std::filesystem::path(source) / "tests/data/fuzz/store_settings";
  return std::filesystem::path(__FILE__).parent_path() / "../data/fuzz/store_settings";
}

TEST(SettingsFuzzCorpus, EverySavedInputPassesTheFuzzChecks) {
  const std::filesystem::path folder = CorpusFolder();
  ASSERT_TRUE(std::filesystem::is_directory(folder)) << folder;
  test::TempDir dir;
  int replayed = 0;
  int withOperations = 0;
  int withFeeds = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    const std::string data = test::ReadFileBytes(entry.path().string());
    const fuzz::IniFuzzInput input = fuzz::SplitIniFuzzInput(data);
    EXPECT_EQ(fuzz::CheckSettingsInput(input, dir.File("settings.ini")), "") << entry.path().filename();
    ++replayed;
    if (data.find('\x01') != std::string::npos) ++withOperations;
    test::WriteFileBytes(dir.File("listed.ini"), input.fileText);
    fuzz::RecordingFeedSink sink;
    SettingsStore(dir.File("listed.ini")).LoadFeedList(sink);
    if (!sink.feeds.empty()) ++withFeeds;
  }
  // The corpus drives every part of the checks: plain files, files with operations, and feed lists.
  EXPECT_GE(replayed, 20);
  EXPECT_GE(withOperations, 5);
  EXPECT_GE(withFeeds, 3);
}

TEST(SettingsFuzzCorpus, TheChecksNoticeAValueThatDoesNotReadBack) {
  // A stray CR at the end of a line once vanished in the next rewrite; the check must see such a loss.
  test::TempDir dir;
  const std::string path = dir.File("settings.ini");
  test::WriteFileBytes(path, "[a]\nk=v\r\r\n[b]\nq=r\n");
  const fuzz::SectionSnapshot before = fuzz::TakeSnapshot(platform::IniFile(path), {"a", "b"});
  test::WriteFileBytes(path, "[a]\nk=v\n[b]\nq=x\n");
  EXPECT_NE(fuzz::CheckOthersUnchanged(platform::IniFile(path), before, "b", "a write"), "");
}

}  // namespace
}  // namespace tarnwick::store
