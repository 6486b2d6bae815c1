// A program with no host in it: the host's connect function cannot be found, and every operation
// fails the way it does when the mail client's automation cannot be reached.
#include "automation/host_automation.h"
#include "platform/host_connect.h"
#include "platform/message_box.h"

#include <gtest/gtest.h>

namespace tarnwick::automation {
namespace {

TEST(NoHost, ConnectingFailsWithATextThatSaysWhy) {
  platform::AutomationConnectResult automation = platform::ConnectAutomationServer("Eudora.EuApplication.1");
  EXPECT_FALSE(automation.application);
  EXPECT_NE(automation.errorText.find("Eudora.EuApplication.1"), std::string::npos) << automation.errorText;
  EXPECT_NE(automation.errorText.find("host"), std::string::npos) << automation.errorText;
  platform::HostWindowsConnectResult windows = platform::ConnectHostWindows();
  EXPECT_FALSE(windows.windows);
  EXPECT_FALSE(windows.errorText.empty());
}

TEST(NoHost, EveryOperationGivesItsFailureValue) {
  std::vector<std::string> shown;
  platform::MessageBoxHandler previous =
      platform::SetMessageBoxHandler([&](const std::string& text, const std::string&) { shown.push_back(text); });
  std::vector<int> waits;
  HostAutomation automation([&](int milliseconds) { waits.push_back(milliseconds); });

  std::string errorText;
  EXPECT_FALSE(automation.SetStatusText("Tarnwick. For Help, press F1.", &errorText));
  EXPECT_FALSE(errorText.empty());
  EXPECT_EQ(automation.MailboxPathCreating("Pending"), "-1");
  EXPECT_EQ(shown, (std::vector<std::string>{errorText}));
  EXPECT_FALSE(automation.OpenMailboxByName("Pending"));
  EXPECT_EQ(automation.FindMailboxId("/data/In.mbx"), -1);
  EXPECT_FALSE(automation.OpenMailboxByPath("/data/In.mbx"));
  EXPECT_FALSE(automation.CloseMailboxWindow("Pending"));
  EXPECT_FALSE(automation.CloseTopMailboxWindow());
  EXPECT_FALSE(automation.BringHostForward());
  EXPECT_TRUE(automation.MailboxWindowTitles().empty());
  EXPECT_TRUE(waits.empty());
  HostConnectResult connection = automation.Connect();
  EXPECT_FALSE(connection.Connected());
  EXPECT_EQ(connection.errorText, errorText);
  EXPECT_EQ(connection.application.TopLevel().Count(), -1);
  EXPECT_FALSE(connection.application.MailboxByName("In").IsValid());
  platform::SetMessageBoxHandler(previous);
}

}  // namespace
}  // namespace tarnwick::automation
