// A process killed in the middle of a long series of settings writes leaves a settings file that
// holds, for every key, either the value written last in full or an earlier value in full.
#include "store/settings_store.h"

#include "platform/file_system.h"
#include "platform/ini_file.h"
#include "support/child_process.h"
#include "support/environment.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
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

constexpr char kWriterRole[] = "settings writer";
constexpr char kSettingsPathVariable[] = "TARNWICK_TEST_SETTINGS";

// The child's part: writes round after round until it is killed.
[[noreturn]] void WriteRoundsForever(const std::string& path) {
  for (int round = 1;; ++round) {
    for (int key = 0; key < kKeys; ++key) {
      platform::IniFile(path).Write("Feed", "Key" + std::to_string(key), ValueForRound(round));
    }
  }
}

TEST(SettingsCrash, KilledWriterLeavesEveryValueWholeOrPrevious) {
  if (test::ChildRole() == kWriterRole) WriteRoundsForever(std::getenv(kSettingsPathVariable));
  test::TempDir dir;
  const std::string path = dir.File("tarnwick.ini");
  for (int key = 0; key < kKeys; ++key) {
    platform::IniFile(path).Write("Feed", "Key" + std::to_string(key), ValueForRound(0));
  }

  test::SetEnvironment(kSettingsPathVariable, path);
  test::ChildProcess child(kWriterRole);
  ASSERT_TRUE(child.Running());
  // Killed a while after its first write, wherever it then is.
  const platform::FileInfo before = platform::PathInfo(path);
  for (int waited = 0; waited < 10000 && platform::PathInfo(path) == before; waited += 10) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  ASSERT_EQ(child.Kill(), -1);

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
