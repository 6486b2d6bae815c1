// The platform's message boxes and keyboard state answered by the toolkit, with real windows and
// real keys.
#include "ui/platform_backends.h"

#include "gui_support/close_request.h"
#include "gui_support/gui_test_support.h"
#include "platform/keyboard_state.h"
#include "platform/message_box.h"

#include <gtest/gtest.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace tarnwick::ui {
namespace {

using namespace std::chrono_literals;

// Closes the message boxes with this caption, as the user does with their close box, and counts them.
class MessageBoxCloser : public wxTimer {
public:
  explicit MessageBoxCloser(std::string caption) : caption_(std::move(caption)) { Start(50); }
  void Notify() override { closed += test::RequestCloseByTitle(caption_); }
  int closed = 0;

private:
  std::string caption_;
};

class PlatformBackends : public ::testing::Test {
protected:
  void SetUp() override {
    previousBoxes_ = platform::SetMessageBoxHandler({});
    InstallPlatformBackends();
  }
  void TearDown() override {
    RemovePlatformBackends();
    platform::SetMessageBoxHandler(previousBoxes_);
  }

private:
  platform::MessageBoxHandler previousBoxes_;
};

TEST_F(PlatformBackends, AMessageBoxIsADialogThatWaitsForTheUser) {
  MessageBoxCloser closer("Box test");
  platform::ShowMessageBox("The feed could not be downloaded.", "Box test");
  EXPECT_GE(closer.closed, 1);  // it returned only once its window was closed
}

TEST_F(PlatformBackends, AMessageBoxFromAnotherThreadIsShownOnTheUiThreadWithoutHoldingTheCaller) {
  MessageBoxCloser closer("Box from a worker");
  std::atomic<bool> returned{false};
  std::thread worker([&returned] {
    platform::ShowMessageBox("Downloaded in the background.", "Box from a worker");
    returned = true;
  });
  worker.join();
  EXPECT_TRUE(returned);
  EXPECT_EQ(closer.closed, 0);  // nothing shown until the UI thread handles its events
  EXPECT_TRUE(test::RunEventsUntil([&closer] { return closer.closed > 0; }, 5s));
}

TEST_F(PlatformBackends, TheKeyboardIsReadFromTheDisplay) {
  wxUIActionSimulator input;
  EXPECT_FALSE(platform::IsKeyHeld(platform::Key::kShift));
  input.KeyDown(WXK_SHIFT);
  test::RunEventsFor(100ms);
  EXPECT_TRUE(platform::IsKeyHeld(platform::Key::kShift));
  EXPECT_FALSE(platform::IsKeyHeld(platform::Key::kControl));
  bool heldOnWorker = true;
  std::thread([&heldOnWorker] { heldOnWorker = platform::IsKeyHeld(platform::Key::kShift); }).join();
  EXPECT_FALSE(heldOnWorker);  // only the UI thread reads the display
  input.KeyUp(WXK_SHIFT);
  input.KeyDown(WXK_CONTROL);
  test::RunEventsFor(100ms);
  EXPECT_FALSE(platform::IsKeyHeld(platform::Key::kShift));
  EXPECT_TRUE(platform::IsKeyHeld(platform::Key::kControl));
  input.KeyUp(WXK_CONTROL);
  test::RunEventsFor(50ms);
}

}  // namespace
}  // namespace tarnwick::ui
