// Starting and ending the toolkit as the module's application object does, with and without an
// application of the host's own.
#include "ui/toolkit.h"
#include "platform/ui_pump.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>

namespace tarnwick::ui {
namespace {

TEST(Toolkit, WithoutAHostApplicationItStartsOneAndEndsIt) {
  ASSERT_EQ(wxAppConsole::GetInstance(), nullptr);
  StartToolkit();
  EXPECT_NE(wxAppConsole::GetInstance(), nullptr);
  StopToolkit();
  EXPECT_EQ(wxAppConsole::GetInstance(), nullptr);
}

TEST(Toolkit, AHostApplicationIsUsedAndLeftRunning) {
  wxInitializer hostApplication;
  ASSERT_TRUE(hostApplication.IsOk());
  wxAppConsole* hosts = wxAppConsole::GetInstance();
  StartToolkit();
  EXPECT_EQ(wxAppConsole::GetInstance(), hosts);
  StopToolkit();
  EXPECT_EQ(wxAppConsole::GetInstance(), hosts);
}

TEST(Toolkit, StartingInstallsThePumpAndEndingRemovesIt) {
  StartToolkit();
  platform::MessagePump installed = platform::SetMessagePump({});
  EXPECT_TRUE(static_cast<bool>(installed));
  platform::SetMessagePump(installed);
  StopToolkit();
  EXPECT_FALSE(static_cast<bool>(platform::SetMessagePump({})));
}

TEST(Toolkit, StartsAgainAfterEnding) {
  for (int round = 0; round < 3; ++round) {
    StartToolkit();
    ASSERT_NE(wxAppConsole::GetInstance(), nullptr);
    StopToolkit();
    ASSERT_EQ(wxAppConsole::GetInstance(), nullptr);
  }
}

}  // namespace
}  // namespace tarnwick::ui
