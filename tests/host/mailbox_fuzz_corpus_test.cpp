// Replays the saved fuzzing corpus of mailbox files and tables of contents through the same checks
// the fuzz target makes (list, read, move out and back, open again), so that every input that once
// found a fault keeps being tried on each build.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "../../fuzz/host_mailbox_checks.h"
#include "support/temp_dir.h"

namespace tarnwick::host {
namespace {

std::filesystem::path CorpusFolder() {
  const char* source = std::getenv("TARNWICK_SOURCE_DIR");
  if (source != nullptr && *source != '\0') return std::filesystem::path(source) / "tests/data/fuzz/host_mailbox";
  return std::filesystem::path(__FILE__).parent_path() / "../data/fuzz/host_mailbox";
}

TEST(MailboxFuzzCorpus, EverySavedInputPassesTheFuzzChecks) {
  const std::filesystem::path folder = CorpusFolder();
  ASSERT_TRUE(std::filesystem::is_directory(folder)) << folder;
  tarnwick::test::TempDir dir;
  int replayed = 0;
  int withTable = 0;
  int withMessages = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    const fuzz::MailboxFuzzInput input =
        fuzz::SplitMailboxFuzzInput(tarnwick::test::ReadFileBytes(entry.path().string()));
    EXPECT_EQ(fuzz::CheckHostMailboxInput(input, dir.Path()), "") << entry.path().filename();
    ++replayed;
    if (input.toc) ++withTable;
    if (input.mailbox.find("From ???@??? ") != std::string::npos) ++withMessages;
  }
  // Mailboxes with and without a table beside them, and with messages to move.
  EXPECT_GE(replayed, 20);
  EXPECT_GE(withTable, 5);
  EXPECT_GE(withMessages, 5);
}

}  // namespace
}  // namespace tarnwick::host
