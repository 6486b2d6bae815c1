#include "platform/ui_pump.h"

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

}  // namespace
}  // namespace tarnwick::platform
