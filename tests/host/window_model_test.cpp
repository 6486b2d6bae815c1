#include "core/window_model.h"

#include <gtest/gtest.h>

namespace tarnwick::host {
namespace {

TEST(WindowModel, OpeningRaisesAndClosingTakesTheTopmostWithThatTitle) {
  auto model = std::make_shared<WindowModel>();
  model->OpenMailboxWindow(5, "Tech");
  model->OpenMailboxWindow(6, "Tech");  // another mailbox of the same name
  model->OpenMailboxWindow(2, "In");
  model->OpenMailboxWindow(5, "Tech");  // raised, not duplicated
  platform::HostWindowsPointer windows = MakeHostWindows(model);
  EXPECT_EQ(windows->MailboxWindowTitles(), (std::vector<std::string>{"Tech", "In", "Tech"}));
  ASSERT_TRUE(windows->CloseMailboxWindow("Tech"));
  std::vector<MailboxWindow> open = model->MailboxWindows();
  ASSERT_EQ(open.size(), 2u);
  EXPECT_EQ(open[0].mailboxId, 2);
  EXPECT_EQ(open[1].mailboxId, 6) << "the topmost Tech went first";
  EXPECT_FALSE(windows->CloseMailboxWindow("tech")) << "titles compare exactly";
  EXPECT_FALSE(windows->CloseMailboxWindow(""));
}

TEST(WindowModel, AUserClosesTheWindowOfOneMailboxWhateverItsTitle) {
  auto model = std::make_shared<WindowModel>();
  model->OpenMailboxWindow(5, "Tech");
  model->OpenMailboxWindow(6, "Tech");
  int changes = 0;
  model->SetChangeListener([&] { ++changes; });
  EXPECT_TRUE(model->CloseMailboxWindowOf(5)) << "not the topmost of that title";
  ASSERT_EQ(model->MailboxWindows().size(), 1u);
  EXPECT_EQ(model->MailboxWindows()[0].mailboxId, 6);
  EXPECT_FALSE(model->CloseMailboxWindowOf(5));
  EXPECT_EQ(changes, 1);
}

TEST(WindowModel, WithoutMainWindowNothingIsShownOrClosed) {
  auto model = std::make_shared<WindowModel>();
  platform::HostWindowsPointer windows = MakeHostWindows(model);
  int changes = 0;
  model->SetChangeListener([&] { ++changes; });
  EXPECT_TRUE(windows->SetStatusText("Ready"));
  EXPECT_EQ(model->StatusText(), "Ready");
  EXPECT_TRUE(windows->BringMainWindowForward());
  EXPECT_EQ(model->TimesBroughtForward(), 1);
  model->OpenMailboxWindow(2, "In");
  EXPECT_EQ(changes, 3);

  model->SetMainWindowPresent(false);
  EXPECT_FALSE(windows->HasMainWindow());
  EXPECT_FALSE(windows->SetStatusText("x"));
  EXPECT_FALSE(windows->BringMainWindowForward());
  EXPECT_TRUE(windows->MailboxWindowTitles().empty());

  model.reset();
  EXPECT_FALSE(windows->HasMainWindow()) << "the view outlives the model safely";
  EXPECT_FALSE(windows->CloseMailboxWindow("In"));
}

}  // namespace
}  // namespace tarnwick::host
