// One host at a time on a data folder: a second one waits a bounded time for the first, then gives
// up with a message that says why; the lock goes with the process that held it, however it ends.
#include "core/data_folder_lock.h"
#include "cli/command_line.h"
#include "core/host_texts.h"
#include "host_test_support.h"

#include "platform/file_system.h"
#include "platform/process.h"
#include "support/child_process.h"
#include "support/environment.h"
#include "support/permissions.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <thread>
#include <utility>
#include <vector>

namespace tarnwick::host {
namespace {

using namespace std::chrono_literals;
using tarnwick::test::TempDir;
using test::Command;
using test::CommandResult;

using Clock = std::chrono::steady_clock;

constexpr char kHolderRole[] = "lock holder";
constexpr char kHeldFolderVariable[] = "TARNWICK_TEST_HELD_FOLDER";

// The child's part: takes the lock, says how that went in the file "taken" beside it, and holds
// the lock until it is killed.
[[noreturn]] void HoldLockForever(const std::string& folder) {
  DataFolderLock lock(folder);
  tarnwick::test::WriteFileBytes(folder + "/taken", lock.Take(0ms) == LockOutcome::kTaken ? "y" : "n");
  for (;;) std::this_thread::sleep_for(1h);
}

// The holder is killed without a chance to clean up: the system lets go of its lock.
TEST(DataFolderLock, IsReleasedWhenTheHoldingProcessIsKilled) {
  if (tarnwick::test::ChildRole() == kHolderRole) HoldLockForever(std::getenv(kHeldFolderVariable));
  TempDir dir;
  tarnwick::test::SetEnvironment(kHeldFolderVariable, dir.Path());
  tarnwick::test::ChildProcess child(kHolderRole);
  ASSERT_TRUE(child.Running());
  const auto deadline = Clock::now() + 30s;
  while (!platform::PathInfo(dir.File("taken")).exists && Clock::now() < deadline) std::this_thread::sleep_for(10ms);
  std::this_thread::sleep_for(10ms);  // the one byte written
  EXPECT_EQ(tarnwick::test::ReadFileBytes(dir.File("taken")), "y");

  DataFolderLock lock(dir.Path());
  EXPECT_EQ(lock.Take(100ms), LockOutcome::kBusy);
  EXPECT_EQ(lock.HolderProcessId(), child.Id());
  ASSERT_EQ(child.Kill(), -1);
  EXPECT_EQ(lock.Take(5s), LockOutcome::kTaken);
  EXPECT_EQ(lock.HolderProcessId(), platform::CurrentProcessId());
}

TEST(DataFolderLock, MissingFolderIsAClearError) {
  TempDir dir;
  DataFolderLock lock(dir.File("absent"));
  EXPECT_EQ(lock.Take(0ms), LockOutcome::kFailed);
  EXPECT_NE(lock.ErrorText().find("absent does not exist"), std::string::npos) << lock.ErrorText();
}

// A folder this user may not write to: an existing lock file is still locked through a read-only
// descriptor, and without one there is nothing to lock, so the host goes on (it can only read).
// Checked in a child process without the super-user's right to write anywhere.
TEST(DataFolderLock, ReadOnlyFolderIsLockedThroughAnExistingLockFileOrNotAtAll) {
  if (!tarnwick::test::HasPermissionBits()) GTEST_SKIP() << tarnwick::test::kNoPermissionBitsReason;
  TempDir withFile;
  TempDir withoutFile;
  DataFolderLock held(withFile.Path());
  ASSERT_EQ(held.Take(0ms), LockOutcome::kTaken);
  ASSERT_TRUE(tarnwick::test::SetPermissions(withFile.Path(), 0555));
  ASSERT_TRUE(tarnwick::test::SetPermissions(withFile.File(kDataFolderLockFileName), 0444));
  ASSERT_TRUE(tarnwick::test::SetPermissions(withoutFile.Path(), 0555));
  EXPECT_EXIT(
      {
        if (!tarnwick::test::GiveUpSuperUser()) std::_Exit(2);
        DataFolderLock busy(withFile.Path());
        DataFolderLock unguarded(withoutFile.Path());
        int outcomes = static_cast<int>(busy.Take(0ms)) * 10 + static_cast<int>(unguarded.Take(0ms));
        bool created = platform::PathInfo(withoutFile.Path() + "/" + kDataFolderLockFileName).exists;
        std::fprintf(stderr, "outcomes=%d created=%d\n", outcomes, created ? 1 : 0);
        std::_Exit(0);
      },
      ::testing::ExitedWithCode(0), "outcomes=10 created=0");
  ASSERT_TRUE(tarnwick::test::SetPermissions(withFile.Path(), 0755));
  ASSERT_TRUE(tarnwick::test::SetPermissions(withoutFile.Path(), 0755));
}

// What a check started by a timer meets while another host runs: it waits, then gives up saying
// whom it waited for and touching nothing, or runs once the other host is done.
TEST(CommandLineLock, VerbWaitsForTheOtherHostThenGivesUpTouchingNothingOrRuns) {
  TempDir dir;
  auto held = std::make_unique<DataFolderLock>(dir.Path());
  ASSERT_EQ(held->Take(0ms), LockOutcome::kTaken);
  auto started = Clock::now();
  CommandResult refused = Command({"--lock-wait", "1", "--data-folder", dir.Path(), "create-mailbox", "Late"});
  EXPECT_GE(Clock::now() - started, 1s);
  EXPECT_EQ(refused.code, kExitBusy);
  const std::string lead = "tarnwick-host: the data folder " + dir.Path();
  const std::string holder = " (process " + std::to_string(platform::CurrentProcessId()) + ")";
  EXPECT_EQ(refused.err, lead + " is in use by another tarnwick-host" + holder +
                             "; waiting up to 1 seconds for it to finish\n" + lead +
                             " is still in use by another tarnwick-host" + holder +
                             " after 1 seconds; giving up, nothing was done\n");
  EXPECT_FALSE(std::filesystem::exists(dir.File("In.mbx"))) << "the store was opened without the lock";

  std::thread releaser([&] {
    std::this_thread::sleep_for(300ms);
    held.reset();
  });
  CommandResult run = Command({"--lock-wait", "60", "--data-folder", dir.Path(), "create-mailbox", "Late"});
  releaser.join();
  EXPECT_EQ(run.code, kExitSuccess) << run.err;
  EXPECT_EQ(run.out, "Late.mbx\t5\n");

  // A wait of 0 neither waits nor announces a wait.
  held = std::make_unique<DataFolderLock>(dir.Path());
  ASSERT_EQ(held->Take(0ms), LockOutcome::kTaken);
  CommandResult atOnce = Command({"--lock-wait", "0", "--data-folder", dir.Path(), "mailboxes"});
  EXPECT_EQ(atOnce.code, kExitBusy);
  EXPECT_EQ(atOnce.err.find("waiting"), std::string::npos) << atOnce.err;
}

// Someone who opens the windows on a data folder in use reads no standard error: the wait and
// the giving up are shown to them; a verb shows nothing.
TEST(CommandLineLock, WindowsOnAFolderInUseShowTheWaitBeforeWaiting) {
  TempDir dir;
  DataFolderLock held(dir.Path());
  ASSERT_EQ(held.Take(0ms), LockOutcome::kTaken);
  std::vector<std::pair<std::string, Clock::time_point>> shown;
  const GuiNotice notice = [&](const std::string& text) { shown.emplace_back(text, Clock::now()); };
  const GuiRunner neverRun = [](HostCore&, const std::string&, std::ostream&) { return kExitFailure; };
  std::ostringstream out, err;
  const Clock::time_point started = Clock::now();
  EXPECT_EQ(RunCommandLine({"--lock-wait", "1", "--data-folder", dir.Path()}, out, err, neverRun, notice), kExitBusy);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_NE(shown[0].first.find("is in use by another tarnwick-host"), std::string::npos);
  EXPECT_LT(shown[0].second - started, 500ms);
  EXPECT_NE(shown[1].first.find("giving up, nothing was done"), std::string::npos);

  shown.clear();
  EXPECT_EQ(RunCommandLine({"--lock-wait", "0", "--data-folder", dir.Path(), "mailboxes"}, out, err, neverRun, notice),
            kExitBusy);
  EXPECT_TRUE(shown.empty());
}

TEST(CommandLineLock, WaitMustBeAWholeNumberOfSecondsUpToADay) {
  TempDir dir;
  for (const char* wrong : {"", "x", "-1", "1.5", "86401", "999999999999"}) {
    CommandResult run = Command({"--lock-wait", wrong, "--data-folder", dir.Path(), "mailboxes"});
    EXPECT_EQ(run.code, kExitUsage) << wrong;
    EXPECT_NE(run.err.find("--lock-wait takes a whole number of seconds"), std::string::npos) << run.err;
  }
  EXPECT_EQ(Command({"--lock-wait", "86400", "--data-folder", dir.Path(), "mailboxes"}).code, kExitSuccess);
  EXPECT_NE(Command({"--help"}).out.find("--lock-wait SECONDS  how long to wait"), std::string::npos);
}

}  // namespace
}  // namespace tarnwick::host
