// A process killed in the middle of a long series of settings writes leaves a settings file that
// holds, for every key, either the value written last in full or an earlier value in full.
#include "store/settings_store.h"

#include "platform/ini_file.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace tarnwick::store {
namespace {

constexpr int kKeys = 8;
constexpr size_t kValueLength = 4000;

// A value that tells whether it was written whole: its round number, padded to a fixed length.
std::string ValueForRound(int round) {
  std::string value = "round-" + std::to_string(round) + "-";
  value.resize(kValueLength, static_cast<char>('a' + round % 26));
  return value;
}

bool IsWholeValue(const std::string& value) {
  if (value.size() != kValueLength || value.rfind("round-", 0) != 0) return false;
  int round = std::atoi(value.c_str() + 6);
  return value == ValueForRound(round);
}

TEST(SettingsCrash, KilledWriterLeavesEveryValueWholeOrPrevious) {
  test::TempDir dir;
  const std::string path = dir.File("tarnwick.ini");
  for (int key = 0; key < kKeys; ++key) {
    platform::IniFile(path).Write("Feed", "Key" + std::to_string(key), ValueForRound(0));
  }

  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    for (int round = 1;; ++round) {
      for (int key = 0; key < kKeys; ++key) {
        platform::IniFile(path).Write("Feed", "Key" + std::to_string(key), ValueForRound(round));
      }
    }
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status));

  // Only whole lines of the two kinds this file ever had.
  std::vector<std::string> lines = platform::IniFile(path).ReadSection("Feed");
  ASSERT_EQ(lines.size(), static_cast<size_t>(kKeys));
  for (int key = 0; key < kKeys; ++key) {
    SettingsStore store(path);
    std::string value = store.ReadText("Feed", "Key" + std::to_string(key), "");
    std::string whole = platform::IniFile(path).Read("Feed", "Key" + std::to_string(key)).value_or("");
    EXPECT_TRUE(IsWholeValue(whole)) << "key " << key << " holds " << whole.substr(0, 40);
    EXPECT_EQ(value, whole.substr(0, SettingsStore::kMaxTextLength));
  }
}

}  // namespace
}  // namespace tarnwick::store
