#include "platform/ui_pump.h"

#include <chrono>
#include <thread>

#include <gtest/gtest.h>

namespace tarnwick::platform {
namespace {

// Removes whatever pump a test installed.
class UiPump : public ::testing::Test {
protected:
  void TearDown() override { SetMessagePump({}); }
};

TEST_F(UiPump, DrainingRunsTheInstalledPumpOncePerCall) {
  int runs = 0;
  EXPECT_FALSE(SetMessagePump([&runs] { ++runs; }));
  DrainMessages();
  DrainMessages();
  EXPECT_EQ(runs, 2);
}

TEST_F(UiPump, OtherThreadsNeverRunThePump) {
  int runs = 0;
  SetMessagePump([&runs] { ++runs; });
  std::thread worker([] { DrainMessages(); });
  worker.join();
  EXPECT_EQ(runs, 0);
}

TEST_F(UiPump, RemovingThePumpMakesDrainingDoNothingAndHandsItBack) {
  int runs = 0;
  SetMessagePump([&runs] { ++runs; });
  MessagePump removed = SetMessagePump({});
  DrainMessages();
  EXPECT_EQ(runs, 0);
  ASSERT_TRUE(removed);
  removed();
  EXPECT_EQ(runs, 1);
}

TEST_F(UiPump, APumpMayDrainAgainFromAnEventHandler) {
  int depth = 0;
  int runs = 0;
  SetMessagePump([&] {
    ++runs;
    if (++depth < 3) DrainMessages();
    --depth;
  });
  DrainMessages();
  EXPECT_EQ(runs, 3);
}

TEST_F(UiPump, LongWorkDrainsOncePerIntervalAndPacingDrainsThroughoutItsTime) {
  using Clock = std::chrono::steady_clock;
  int runs = 0;
  SetMessagePump([&runs] { ++runs; });
  DrainMessages();
  const Clock::time_point start = Clock::now();
  for (int unit = 0; unit < 200000; ++unit) DrainMessagesWhenDue();
  EXPECT_LE(runs - 1, (Clock::now() - start) / kDrainInterval + 1) << "drained more often than due";
  std::this_thread::sleep_for(kDrainInterval);
  const int before = runs;
  DrainMessagesWhenDue();
  EXPECT_EQ(runs, before + 1) << "a drain that is due did not run";

  const Clock::time_point paced = Clock::now();
  PaceFor(100);
  EXPECT_GE(Clock::now() - paced, std::chrono::milliseconds(100));
  EXPECT_GE(runs - before - 1, 5) << "the window would freeze while pacing";
}

}  // namespace
}  // namespace tarnwick::platform
